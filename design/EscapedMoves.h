// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

// Stitch data of signed byte moves, x then y upwards, with 0x80 escaping to a control byte
// (EXP's layout, which STX uses too): the decoding they share. Each format says
// what its control bytes mean and which of them carry a move in the two bytes after them.

#include "Readers.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

enum class EscapeAction : std::uint8_t { Ignore, Stitch, Jump, ColorChange, End };

struct Escape {
    EscapeAction action;
    bool carriesMove; // two bytes of a move follow the control byte
};

inline constexpr std::uint8_t kMoveEscape = 0x80;

// Decodes the moves from start on into entries from 2 on, with a colour block after every
// colour change. The caller gives the blocks their colours.
template <typename Classify>
void readEscapedMoves(ByteSpan bytes, std::int64_t start, Classify classify, DesignSink& out) {
    const std::int64_t length = static_cast<std::int64_t>(bytes.size());
    out.put(0, 0, 0, CMD_FIRST);
    out.put(1, 0, 0, CMD_STITCH);
    std::ptrdiff_t k = 2;
    std::int64_t p = std::max<std::int64_t>(0, start);
    // A record of two bytes or more gives at most a colour change and a move.
    const EntryArrays e =
        out.reserve(static_cast<std::size_t>(k + std::max<std::int64_t>(0, length - p) + 1));
    Bounds bounds;
    std::int16_t x = 0;
    std::int16_t y = 0;
    int colors = 1;
    auto moveBy = [&](std::uint8_t dx, std::uint8_t dy) {
        x = static_cast<std::int16_t>(x + static_cast<std::int8_t>(dx));
        y = static_cast<std::int16_t>(y - static_cast<std::int8_t>(dy));
        bounds.include(x, y);
        e.put(k++, x, y, CMD_STITCH);
    };

    while (p + 1 < length) {
        const std::uint8_t b0 = bytes[static_cast<std::size_t>(p)];
        const std::uint8_t b1 = bytes[static_cast<std::size_t>(p + 1)];
        p += 2;
        if (b0 != kMoveEscape) {
            moveBy(b0, b1);
            continue;
        }
        const Escape escape = classify(b1);
        std::uint8_t dx = 0;
        std::uint8_t dy = 0;
        if (escape.carriesMove) {
            if (p + 1 >= length)
                break;
            dx = bytes[static_cast<std::size_t>(p)];
            dy = bytes[static_cast<std::size_t>(p + 1)];
            p += 2;
        }
        if (escape.action == EscapeAction::End)
            break;
        if (escape.action == EscapeAction::ColorChange) {
            e.put(k++, x, y, CMD_COLOR_CHANGE);
            ++colors;
        }
        if (escape.action != EscapeAction::Ignore &&
            (dx != 0 || dy != 0 || escape.action != EscapeAction::ColorChange))
            moveBy(dx, dy);
    }

    // A file without moves has no extent rather than the bounds' start values.
    out.bounds = bounds.maxX < bounds.minX ? Bounds{0, 0, 0, 0} : bounds;
    out.colors = colors;
    out.end(static_cast<int>(k));
}
