// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Singer XXX files: a 256-byte header, then records of two signed bytes (x, then y upwards,
// in tenths of a millimetre). A first byte 0x7D or 0x7E starts a long jump of two signed
// 16-bit words; 0x7F starts a control code with two more bytes: 0x01 jumps by them, 0x03
// trims and moves by them, 0x08 and 0x0A to 0x17 change the colour, 0x18 and 0x7F end the
// design. Two bytes past the last end record follows one thread per block, 0x00RRGGBB.
#include "ByteMoves.h"
#include "Readers.h"

namespace {
constexpr int kStitches = 0x100;
constexpr std::uint8_t kLongJump = 0x7D;
constexpr std::uint8_t kLongJumpToo = 0x7E;
constexpr std::uint8_t kControl = 0x7F;
constexpr std::uint8_t kJump = 0x01;
constexpr std::uint8_t kTrim = 0x03;
constexpr std::uint8_t kColorChange = 0x08;
constexpr std::uint8_t kEnd = 0x18;
constexpr std::uint8_t kLastEnd = 0x7F;

bool changesColor(std::uint8_t code) {
    return code == kColorChange || (code >= 0x0A && code <= 0x17);
}

// The threads that follow the end, one per block.
void takeThreads(ByteSpan bytes, std::int64_t p, DesignSink& out) {
    for (int block = 0; block < out.colors; ++block, p += 4)
        out.threadColors.push_back(ColorRef{byteAt(bytes, p + 1)} | byteAt(bytes, p + 2) << 8 |
                                   ColorRef{byteAt(bytes, p + 3)} << 16);
}
} // namespace

void readXxx(ByteSpan bytes, DesignSink& out) {
    const int length = static_cast<int>(bytes.size());
    // Every record takes two bytes and gives at most one entry: room for all, written
    // unchecked.
    ByteMoves m(out, static_cast<std::size_t>(length / 2 + 2));
    const std::uint8_t* data = bytes.data();
    auto moveBy = [&](int dx, int dy) { m.moveBy(dx, dy); };
    std::uint8_t ended = 0; // the end code met, if any

    std::int64_t p = kStitches;
    auto record = [&]<bool checked>() -> bool {
        auto at = [&](std::int64_t q) { return recordByte<checked>(data, length, q); };
        auto signed16 = [&](std::int64_t q) {
            return static_cast<std::int16_t>(at(q) | at(q + 1) << 8);
        };
        const std::uint8_t b0 = at(p);
        if (b0 == kLongJump || b0 == kLongJumpToo) {
            const int dx = signed16(p + 1);
            const int dy = signed16(p + 3);
            p += 5;
            moveBy(dx, dy);
            return true;
        }
        const std::uint8_t b1 = at(p + 1);
        if (b0 != kControl) [[likely]] {
            p += 2;
            moveBy(static_cast<std::int8_t>(b0), static_cast<std::int8_t>(b1));
            return true;
        }
        const auto dx = static_cast<std::int8_t>(at(p + 2));
        const auto dy = static_cast<std::int8_t>(at(p + 3));
        p += 4;
        if (b1 == kJump || (b1 == kTrim && (dx != 0 || dy != 0))) {
            moveBy(dx, dy);
        } else if (changesColor(b1)) {
            m.changeColour();
        } else if (b1 == kEnd || b1 == kLastEnd) {
            ended = b1;
            return false;
        }
        return true;
    };
    forEachRecord(p, length, 5, record);
    // Some writers end with 0x18 and then 0x7F; the threads follow the last end record.
    if (ended == kEnd && byteAt(bytes, p) == kControl && byteAt(bytes, p + 1) == kLastEnd)
        p += 4;

    m.finish(out);
    takeThreads(bytes, p + 2, out);
}
