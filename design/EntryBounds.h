// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

// The bounds of entries already written, found after decoding in one pass of vector minima and
// maxima rather than four compares per entry inside a reader's loop.

#include "DesignSink.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

// Widens start to take in the entries from to before end, whatever their command.
inline Bounds widenedByEntries(Bounds start, const EntryArrays& e, std::ptrdiff_t from,
                               std::ptrdiff_t end) {
    // Eight lanes of 16 bits: one SSE2 register, and the compiler's generic vectors elsewhere.
    using Lanes = std::int16_t __attribute__((vector_size(16)));
    constexpr std::ptrdiff_t kLanes = sizeof(Lanes) / sizeof(std::int16_t);
    auto load = [](const std::int16_t* p) {
        Lanes v;
        std::memcpy(&v, p, sizeof v);
        return v;
    };
    Lanes minX = Lanes{} + start.minX, maxX = Lanes{} + start.maxX;
    Lanes minY = Lanes{} + start.minY, maxY = Lanes{} + start.maxY;
    std::ptrdiff_t i = from;
    for (; i + kLanes <= end; i += kLanes) {
        const Lanes x = load(e.x + i);
        const Lanes y = load(e.y + i);
        minX = x < minX ? x : minX;
        maxX = x > maxX ? x : maxX;
        minY = y < minY ? y : minY;
        maxY = y > maxY ? y : maxY;
    }
    Bounds b = start;
    for (std::ptrdiff_t j = 0; j < kLanes; ++j) {
        b.minX = std::min<std::int16_t>(b.minX, minX[j]);
        b.maxX = std::max<std::int16_t>(b.maxX, maxX[j]);
        b.minY = std::min<std::int16_t>(b.minY, minY[j]);
        b.maxY = std::max<std::int16_t>(b.maxY, maxY[j]);
    }
    for (; i < end; ++i)
        b.include(e.x[i], e.y[i]);
    return b;
}
