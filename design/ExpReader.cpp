// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Melco / Bernina EXP files: no header and no colours, only records of two signed bytes (x,
// then y upwards, in tenths of a millimetre). A first byte 0x80 escapes to a control code and
// a further displacement: 0x01 changes the colour, 0x02 and 0x04 move (a stitch, a jump),
// 0x80 trims without moving; any other code ends the design.
#include "ByteMoves.h"
#include "Readers.h"

namespace {
constexpr std::uint8_t kEscape = 0x80;
constexpr std::uint8_t kColorChange = 0x01;
constexpr std::uint8_t kStitch = 0x02;
constexpr std::uint8_t kJump = 0x04;
constexpr std::uint8_t kTrim = 0x80;
} // namespace

void readExp(ByteSpan bytes, DesignSink& out) {
    // Whole records only: a last byte alone is no record.
    const int length = static_cast<int>(bytes.size() & ~std::size_t{1});
    // Every record takes two bytes and gives at most one entry, a colour change that moves
    // four bytes and two: room for all, written unchecked.
    ByteMoves m(out, static_cast<std::size_t>(length / 2 + 2));
    const std::uint8_t* data = bytes.data();
    auto moveBy = [&](std::uint8_t dx, std::uint8_t dy) {
        m.moveBy(static_cast<std::int8_t>(dx), static_cast<std::int8_t>(dy));
    };

    std::int64_t p = 0;
    auto record = [&]<bool checked>() -> bool {
        auto at = [&](std::int64_t q) { return recordByte<checked>(data, length, q); };
        const std::uint8_t b0 = at(p);
        const std::uint8_t b1 = at(p + 1);
        if (b0 != kEscape) [[likely]] {
            p += 2;
            moveBy(b0, b1);
            return true;
        }
        // A control code without its displacement ends the design.
        if (p + 4 > length)
            return false;
        const std::uint8_t dx = at(p + 2);
        const std::uint8_t dy = at(p + 3);
        p += 4;
        switch (b1) {
        case kStitch:
        case kJump:
            moveBy(dx, dy);
            return true;
        case kTrim:
            return true;
        case kColorChange:
            m.changeColour();
            if (dx != 0 || dy != 0)
                moveBy(dx, dy);
            return true;
        default:
            return false;
        }
    };
    forEachRecord(p, length, 4, record);

    m.finish(out);
    takeDstColors(out);
}
