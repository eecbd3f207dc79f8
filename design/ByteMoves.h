// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

// What the readers of formats with small signed moves (y upwards) keep while decoding: the
// entries, written unchecked after room is made, the position, the colour count and where
// the bounds start. Colour changes before the first move would take the origin into them.

#include "EntryBounds.h"

#include <cstdint>

struct ByteMoves {
    // Writes entry 0 and makes room for entries up to room.
    ByteMoves(DesignSink& out, std::size_t room)
        : e((out.put(0, 0, 0, CMD_FIRST), out.reserve(room))) {}

    void moveBy(int dx, int dy) {
        // Entries keep the low 16 bits of the position, and only those ever show: a 16-bit
        // position that wraps gives the same entries and bounds.
        x = static_cast<std::uint16_t>(x + dx);
        y = static_cast<std::uint16_t>(y - dy);
        e.put(k++, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), CMD_STITCH);
    }
    void changeColour() {
        if (firstMove == k)
            ++firstMove;
        e.put(k++, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), CMD_COLOR_CHANGE);
        ++colors;
    }
    // The bounds, colour count and end entry into out.
    void finish(DesignSink& out) const {
        out.bounds =
            k > firstMove ? widenedByEntries(Bounds{}, e, firstMove, k) : Bounds{0, 0, 0, 0};
        out.colors = colors;
        out.end(static_cast<int>(k));
    }

    EntryArrays e;
    std::ptrdiff_t k = 1; // an index as wide as a pointer needs no widening per entry
    std::ptrdiff_t firstMove = 1;
    int colors = 1;
    std::uint16_t x = 0;
    std::uint16_t y = 0;
};
