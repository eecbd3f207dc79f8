// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Data Stitch STX files: a header whose 32-bit offsets name a palette of 16 colours (three
// 6-bit components each), a list of palette indices by colour block (16-bit big-endian) and
// the stitch data, which is EXP's: signed byte moves, y upwards, and 0x80 escaping to a
// control byte followed by two more bytes.
#include "Readers.h"

#include <algorithm>

namespace {
constexpr int kPaletteAt = 0x0C;
constexpr int kBlocksAt = 0x10;
constexpr int kStitchesAt = 0x14;
constexpr std::uint8_t kEscape = 0x80;

std::int64_t littleEndian32(ByteSpan bytes, std::int64_t p) {
    return static_cast<std::int64_t>(byteAt(bytes, p)) | byteAt(bytes, p + 1) << 8 |
           byteAt(bytes, p + 2) << 16 | static_cast<std::int64_t>(byteAt(bytes, p + 3)) << 24;
}

// A 6-bit component spread over eight bits.
std::uint32_t widened(std::uint8_t v) {
    const std::uint32_t c = v & 0x3F;
    return c << 2 | c >> 4;
}
} // namespace

void readStx(ByteSpan bytes, DesignSink& out) {
    const std::int64_t length = static_cast<std::int64_t>(bytes.size());
    const std::int64_t palette = littleEndian32(bytes, kPaletteAt);
    const std::int64_t blocks = littleEndian32(bytes, kBlocksAt);
    auto threadOf = [&](int block) -> ColorRef {
        const std::int64_t at = blocks + 2 * std::int64_t{block};
        const int index = (byteAt(bytes, at) << 8 | byteAt(bytes, at + 1)) & 0x0F;
        const std::int64_t rgb = palette + 3 * index;
        return widened(byteAt(bytes, rgb)) | widened(byteAt(bytes, rgb + 1)) << 8 |
               widened(byteAt(bytes, rgb + 2)) << 16;
    };

    out.put(0, 0, 0, CMD_FIRST);
    out.put(1, 0, 0, CMD_STITCH);
    std::ptrdiff_t k = 2;
    std::int64_t p = std::max<std::int64_t>(0, littleEndian32(bytes, kStitchesAt));
    // A record of two bytes or more gives at most a colour change and a move.
    const EntryArrays e =
        out.reserve(static_cast<std::size_t>(k + std::max<std::int64_t>(0, length - p) + 1));
    Bounds bounds;
    std::int16_t x = 0;
    std::int16_t y = 0;
    out.threadColors.push_back(threadOf(0));
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
        if (b0 != kEscape) {
            moveBy(b0, b1);
            continue;
        }
        if (p + 1 >= length)
            break;
        const std::uint8_t dx = bytes[static_cast<std::size_t>(p)];
        const std::uint8_t dy = bytes[static_cast<std::size_t>(p + 1)];
        p += 2;
        if (b1 == 0x01) { // colour change, then a move if any
            e.put(k++, x, y, CMD_COLOR_CHANGE);
            out.threadColors.push_back(threadOf(static_cast<int>(out.threadColors.size())));
            if (dx != 0 || dy != 0)
                moveBy(dx, dy);
        } else if (b1 == 0x02 || b1 == 0x04) { // stitch, jump
            moveBy(dx, dy);
        } else if (b1 != kEscape) { // 0x80 trims; any other code ends the data
            break;
        }
    }

    out.bounds = bounds.maxX < bounds.minX ? Bounds{0, 0, 0, 0} : bounds;
    out.colors = static_cast<int>(out.threadColors.size());
    out.end(static_cast<int>(k));
}
