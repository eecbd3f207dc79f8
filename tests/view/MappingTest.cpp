// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "view/StitchDrawing.h"

#include <gtest/gtest.h>

#include <climits>

// Where design units land: exactly, a point halfway between two pixels away from zero, and
// huge scales cut rather than wrapped. Rows: room inside the margins, design width, units, pixel.
TEST(DesignMapping, RoundsExactlyWithHalfwayAwayFromZero) {
    const int cases[][4] = {
        {940, 1000, 1075, 1011}, // 1010.5
        {940, 1000, -1075, -1011},
        {940, 1000, 25, 24},
        {1, 2, 65535, 32768},
        {1, 2, -65535, -32768},
        {1, INT_MAX, (1 << 30) - 1, 0}, // a hair below and above a half at the finest scale
        {1, INT_MAX, 1 << 30, 1},
        {1, INT_MAX, INT_MIN, -1},
        {1 << 30, 1, 1, 1 << 28},
        {1 << 30, 1, INT_MIN, -(1 << 28)},
        {1 << 30, 1, 0, 0},
    };
    for (const auto& [room, width, units, pixel] : cases) {
        const auto mapping = DesignMapping::fit({0, 0}, {room + 20, INT_MAX / 2}, width, 1);
        ASSERT_TRUE(mapping);
        EXPECT_EQ(mapping->map(units, 0).x - 10, pixel) << room << "/" << width << " " << units;
    }
}
