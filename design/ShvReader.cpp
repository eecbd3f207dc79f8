// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Husqvarna Viking SHV files: a header with the name and a small picture, a table of colour
// blocks (each its stitch count and thread), then two-byte moves. 0x80 escapes to a control
// byte: 1 opens a long jump with two 16-bit big-endian displacements, 2 and 3 carry none.
// The colour blocks end by counting records, not by a record of their own.
#include "Readers.h"

#include <algorithm>
#include <array>

namespace {
constexpr int kNameLength = 0x56;
constexpr int kBlockEntry = 14;
constexpr std::uint8_t kEscape = 0x80;

// The maker's thread table as 0xRRGGBB, by thread code.
constexpr std::array<std::uint32_t, 43> kThreads = {
    0x000000, 0x0000FF, 0x33CC66, 0xFF0000, 0xFF00FF, 0xFFFF00, 0x7F7F7F, 0x339AFF, 0x00FF00,
    0xFF7F00, 0xFFA0B4, 0x994B00, 0xFFFFFF, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000,
    0x000000, 0xFF7F7F, 0xFF7FFF, 0xFFFF99, 0xC0C0C0, 0x000000, 0x000000, 0xFFA541, 0xFFCCCC,
    0xAF5A0A, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x00007F, 0x007F00, 0x7F0000,
    0x7F007F, 0xC8C800, 0x3C3C3C, 0x000000, 0x000000, 0xE83F00, 0xFF667A};

ColorRef colorRefOf(std::uint32_t rgb) {
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

std::uint32_t bigEndian32(ByteSpan bytes, std::int64_t p) {
    return static_cast<std::uint32_t>(byteAt(bytes, p)) << 24 |
           static_cast<std::uint32_t>(byteAt(bytes, p + 1)) << 16 |
           static_cast<std::uint32_t>(byteAt(bytes, p + 2)) << 8 | byteAt(bytes, p + 3);
}
} // namespace

void readShv(ByteSpan bytes, DesignSink& out) {
    const std::int64_t length = static_cast<std::int64_t>(bytes.size());
    // The picture has its height's half (rounded up) times its width bytes.
    const std::int64_t picture = kNameLength + 1 + byteAt(bytes, kNameLength);
    const int width = byteAt(bytes, picture);
    const int height = byteAt(bytes, picture + 1);
    const std::int64_t blockTable = picture + 2 + (height + 1) / 2 * width + 4;
    const int blocks = byteAt(bytes, blockTable);
    const std::int64_t firstBlock = blockTable + 1 + 18;
    // The moves start two bytes before the block table's end.
    std::int64_t p = firstBlock + kBlockEntry * blocks - 2;

    // Records left in block b: its count, or no limit past the table's end.
    auto recordsOf = [&](int b) -> std::int64_t {
        return b < blocks ? bigEndian32(bytes, firstBlock + kBlockEntry * b) : length;
    };
    auto threadOf = [&](int b) {
        const int code = byteAt(bytes, firstBlock + kBlockEntry * std::min(b, blocks - 1) + 4);
        return colorRefOf(blocks > 0 ? kThreads[static_cast<std::size_t>(code) % kThreads.size()]
                                     : 0x000000);
    };

    out.put(0, 0, 0, CMD_FIRST);
    out.put(1, 0, 0, CMD_STITCH);
    std::ptrdiff_t k = 2;
    // A record of two bytes gives at most a colour change and a move.
    const EntryArrays e =
        out.reserve(static_cast<std::size_t>(k + std::max<std::int64_t>(0, length - p) + 1));
    Bounds bounds;
    std::int16_t x = 0;
    std::int16_t y = 0;
    int block = 0;
    std::int64_t counted = 0;
    std::int64_t limit = recordsOf(0);
    out.threadColors.push_back(threadOf(0));
    auto moveBy = [&](int dx, int dy) {
        x = static_cast<std::int16_t>(x + dx);
        y = static_cast<std::int16_t>(y + dy);
        bounds.include(x, y);
        e.put(k++, x, y, CMD_STITCH);
    };

    while (p >= 0 && p + 1 < length) {
        const std::uint8_t b0 = bytes[static_cast<std::size_t>(p)];
        const std::uint8_t b1 = bytes[static_cast<std::size_t>(p + 1)];
        p += 2;
        if (counted >= limit) {
            e.put(k++, x, y, CMD_COLOR_CHANGE);
            ++block;
            counted = 0;
            limit = recordsOf(block);
            out.threadColors.push_back(threadOf(block));
        }
        if (b0 == kEscape && b1 >= 1 && b1 <= 3) {
            ++counted;
            if (b1 == 1) {
                counted += 2;
                const auto dx =
                    static_cast<std::int16_t>(byteAt(bytes, p) << 8 | byteAt(bytes, p + 1));
                const auto dy =
                    static_cast<std::int16_t>(byteAt(bytes, p + 2) << 8 | byteAt(bytes, p + 3));
                p += 4;
                moveBy(dx, dy);
            }
            continue;
        }
        // Any other escape counts twice, as its writers count it.
        counted += b0 == kEscape ? 2 : 1;
        moveBy(static_cast<std::int8_t>(b0), static_cast<std::int8_t>(b1));
    }

    // A file without moves has no extent rather than the bounds' start values.
    out.bounds = bounds.maxX < bounds.minX ? Bounds{0, 0, 0, 0} : bounds;
    out.colors = block + 1;
    out.end(static_cast<int>(k));
}
