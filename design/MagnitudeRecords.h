// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

// Stitch data in three-byte records that hold each displacement as a magnitude byte with its
// sign in a control byte (Barudan U01 and DSB, Toyota 10O, ZSK DSZ): the decoding they share.
// Each format says where the bytes lie and what its control bytes mean.

#include "EntryBounds.h"
#include "Readers.h"

#include <cstddef>
#include <cstdint>

// What a record's control byte asks for.
enum class RecordAction : std::uint8_t { Stitch, Jump, Other, ThreadChange, End };

struct RecordLayout {
    int control; // offsets of the three bytes inside a record
    int y;
    int x;
    std::uint8_t xNegative; // control bit that turns x negative
    std::uint8_t yDownward; // control bit that turns y downwards; without it y goes upwards
    bool commandsMove;      // whether records other than stitches and jumps move the needle
    bool stillStitches;     // whether a stitch that moves by nothing is an entry all the same
};

// Decodes the records from start on into entries from 2 on. A thread change starts a new
// colour block once the current one has stitches, so that changes before the first stitch or
// several in a row give no empty blocks.
// The layout and the classifying function are compile-time, so that both fold into the loop.
template <RecordLayout layout, RecordAction (*classify)(std::uint8_t)>
void readMagnitudeRecords(ByteSpan bytes, std::int64_t start, DesignSink& out) {
    // A short record at the end (DSZ's end-of-file byte) is no record.
    const auto size = static_cast<std::int64_t>(bytes.size());
    const int length = static_cast<int>(size > start ? start + (size - start) / 3 * 3 : size);
    out.put(0, 0, 0, CMD_FIRST);
    out.put(1, 0, 0, CMD_STITCH);
    std::ptrdiff_t k = 2;
    // A record gives at most a colour change and a move: room for all, written unchecked.
    const std::int64_t records = length > start ? (length - start + 2) / 3 : 0;
    const EntryArrays e = out.reserve(static_cast<std::size_t>(k + 2 * records + 1));
    const std::uint8_t* data = bytes.data();
    // Only the low 16 bits of a position ever show, so it wraps in 16 bits.
    std::int16_t x = 0;
    std::int16_t y = 0;
    int colors = 1;
    bool stitched = false;

    std::int64_t p = start;
    auto record = [&]<bool checked>() -> bool {
        auto at = [&](int offset) -> int { return recordByte<checked>(data, length, p + offset); };
        const std::uint8_t control = static_cast<std::uint8_t>(at(layout.control));
        const int dy = at(layout.y);
        const int dx = at(layout.x);
        p += 3;
        auto moveBy = [&] {
            x = static_cast<std::int16_t>(x + ((control & layout.xNegative) ? -dx : dx));
            y = static_cast<std::int16_t>(y + ((control & layout.yDownward) ? dy : -dy));
            e.put(k++, x, y, CMD_STITCH);
        };
        switch (classify(control)) {
        case RecordAction::Stitch:
            stitched = true;
            if (layout.stillStitches || dx != 0 || dy != 0)
                moveBy();
            return true;
        case RecordAction::Jump:
            moveBy();
            return true;
        case RecordAction::ThreadChange:
            if (stitched) {
                e.put(k++, x, y, CMD_COLOR_CHANGE);
                ++colors;
                stitched = false;
            }
            break;
        case RecordAction::Other:
            break;
        case RecordAction::End:
            return false;
        }
        if (layout.commandsMove && (dx != 0 || dy != 0))
            moveBy();
        return true;
    };
    forEachRecord(p, length, 3, record);

    // Colour changes repeat a stitch's position, so all entries from 2 on make the bounds. A
    // file without moves has no extent rather than the bounds' start values.
    out.bounds = k > 2 ? widenedByEntries(Bounds{}, e, 2, k) : Bounds{0, 0, 0, 0};
    out.colors = colors;
    out.end(static_cast<int>(k));
    takeDstColors(out);
}
