// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "view/Backdrop.h"
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

// On a high-density screen the origin and the points are in device pixels: a ratio a screen
// reports (quarters, dots per inch over 96, and one with no exact binary form) scales both
// exactly. Client 220 x 220 at (3, 4), a design 100 units wide: 2 window pixels per unit.
// Rows: ratio, device origin, where unit 1 and unit 3 land, pen.
TEST(DesignMapping, PixelRatiosScaleOriginAndPointsExactly) {
    const struct {
        double ratio;
        PixelPoint origin;
        int unit1, unit3, pen;
    } cases[] = {
        {1.25, {16, 18}, 3, 8, 3},        // 13 x 1.25 = 16.25, 14 x 1.25 = 17.5; 2.5 and 7.5
        {1.5, {20, 21}, 3, 9, 3},         // 19.5 rounds up
        {120.0 / 96, {16, 18}, 3, 8, 3},  // the same as 1.25
        {168.0 / 96, {23, 25}, 4, 11, 4}, // 1.75: 22.75, 24.5; 3.5 and 10.5
        {1.1, {14, 15}, 2, 7, 2},         // 11/10: 14.3, 15.4; 2.2 and 6.6
        {3.0, {39, 42}, 6, 18, 6},
    };
    for (const auto& c : cases) {
        const auto mapping = DesignMapping::fit({3, 4}, {220, 220}, 100, 100, c.ratio);
        ASSERT_TRUE(mapping);
        EXPECT_EQ(mapping->map(0, 0), c.origin) << c.ratio;
        EXPECT_EQ(mapping->map(1, 0).x - c.origin.x, c.unit1) << c.ratio;
        EXPECT_EQ(mapping->map(0, 3).y - c.origin.y, c.unit3) << c.ratio;
        EXPECT_EQ(mapping->penWidth(), c.pen) << c.ratio;
    }
}

// The background for a design's threads: only blocks that move the needle count, and a
// single thread that shows on white keeps the white. Rows: thread colours (RRGGBB), whether
// each block stitches, the background.
TEST(Backdrop, DarkOnlyWhenEveryStitchedThreadIsHardToSeeOnWhite) {
    struct Case {
        std::vector<std::uint32_t> threads;
        std::vector<bool> stitched;
        std::uint32_t backdrop;
    };
    const Case cases[] = {
        {{0xFFFFFF}, {true}, kDarkBackdrop},
        {{0xE5E5E5, 0xF8F8F8}, {true, true}, kDarkBackdrop},  // near-white below 1.5
        {{0xC0C0C0}, {true}, kWhiteBackdrop},                 // light grey, 1.8 : 1
        {{0x000000, 0xFFFFFF}, {false, true}, kDarkBackdrop}, // an empty black block
        {{0xFFFFFF, 0x1A0A94}, {true, true}, kWhiteBackdrop}, // one dark thread shows
        {{0xFFFFFF}, {false}, kWhiteBackdrop},                // nothing stitched
    };
    for (const auto& c : cases) {
        DesignData d;
        d.m_bThreadColors = 1;
        int k = 0;
        d.m_StitchCmd[k++] = CMD_FIRST;
        for (std::size_t block = 0; block < c.threads.size(); ++block) {
            d.m_ThreadColors.push_back(colorFromRgb(c.threads[block]));
            if (block > 0)
                d.m_StitchCmd[k++] = CMD_COLOR_CHANGE;
            if (c.stitched[block])
                d.m_StitchCmd[k++] = CMD_STITCH;
        }
        d.m_StitchCmd[k] = CMD_END;
        d.m_nColors = static_cast<int>(c.threads.size());
        EXPECT_EQ(backdropFor(d, pecPaletteColors(), sewPaletteColors()), c.backdrop)
            << std::hex << c.threads.front();
        for (std::size_t block = 0; block < c.threads.size(); ++block) {
            if (c.backdrop == kDarkBackdrop && c.stitched[block]) {
                EXPECT_GE(contrastRatio(colorFromRgb(c.threads[block]),
                                        colorFromRgb(kDarkBackdrop & 0xFFFFFF)),
                          3.0);
            }
        }
    }
}
