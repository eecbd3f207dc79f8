// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Husqvarna Viking / Pfaff VP3 files: big-endian. A header of strings and the design's centre,
// then one block per colour: its start, its thread's RGB colour and signed byte moves in
// tenths of a millimetre, with 0x80 as the escape to long moves and trims.
#include "EntryBounds.h"
#include "Readers.h"

namespace {

std::uint32_t be16(ByteSpan bytes, std::int64_t p) {
    return static_cast<std::uint32_t>(byteAt(bytes, p) << 8 | byteAt(bytes, p + 1));
}
std::uint32_t be32(ByteSpan bytes, std::int64_t p) {
    return be16(bytes, p) << 16 | be16(bytes, p + 2);
}
// A signed 32-bit value; the file's positions are in micrometres, y upwards.
std::int64_t signed32(ByteSpan bytes, std::int64_t p) {
    return static_cast<std::int32_t>(be32(bytes, p));
}
// Past a string: its length in two bytes, then its text.
std::int64_t skipString(ByteSpan bytes, std::int64_t p) {
    return p + 2 + be16(bytes, p);
}
// Micrometres to tenths of a millimetre, to the nearest.
std::int32_t tenths(std::int64_t micrometres) {
    return static_cast<std::int32_t>((micrometres + (micrometres < 0 ? -50 : 50)) / 100);
}
ColorRef colorRefOf(std::uint32_t rgb) {
    return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
}

std::int32_t plus(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

struct Centre {
    std::int64_t x;
    std::int64_t y;
};

} // namespace

void readVp3(ByteSpan bytes, DesignSink& out) {
    const std::int64_t length = static_cast<std::int64_t>(bytes.size());
    out.put(0, 0, 0, CMD_FIRST);
    std::int64_t p = skipString(bytes, 6) + 7;
    p = skipString(bytes, p) + 32;
    const Centre centre{signed32(bytes, p), signed32(bytes, p + 4)};
    p = skipString(bytes, p + 8 + 27) + 24;
    p = skipString(bytes, p);
    const std::uint32_t blocks = be16(bytes, p);
    p += 2;

    // A block takes more than seven bytes and gives two entries besides its stitches, each
    // of which takes two bytes of its own: room for all, written unchecked.
    const EntryArrays e = out.reserve(static_cast<std::size_t>(length / 2 + 2 * (length / 7) + 4));
    const std::uint8_t* data = bytes.data();
    std::ptrdiff_t k = 1;
    std::int32_t x = 0;
    std::int32_t y = 0;
    auto moveTo = [&](std::int32_t nx, std::int32_t ny) {
        x = nx, y = ny;
        e.put(k++, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), CMD_STITCH);
    };

    for (std::uint32_t block = 0; block < blocks && p < length; ++block) {
        if (block > 0)
            e.put(k++, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                  CMD_COLOR_CHANGE);
        const std::int64_t blockEnd = p + 7 + be32(bytes, p + 3);
        // The block's start, where the needle goes unless it is there already.
        const std::int32_t startX = tenths(signed32(bytes, p + 7) + centre.x);
        const std::int32_t startY = tenths(-(signed32(bytes, p + 11) + centre.y));
        if (startX != x || startY != y)
            moveTo(startX, startY);

        // The thread: several colours may follow one another along it; the last one shows.
        const int colours = byteAt(bytes, p + 15);
        p += 17 + 6 * std::int64_t{colours};
        out.threadColors.push_back(colours > 0 ? colorRefOf(be32(bytes, p - 6) >> 8) : 0);
        p = skipString(bytes, skipString(bytes, skipString(bytes, p + 2)));
        p += 15 + 3;

        // Stitch records to the block's end, whole two-byte records only.
        const std::int64_t last = std::min(blockEnd, length);
        const auto recordsEnd =
            static_cast<int>(p < last ? p + ((last - p) & ~std::int64_t{1}) : p);
        auto record = [&]<bool checked>() -> bool {
            auto at = [&](std::int64_t q) { return recordByte<checked>(data, recordsEnd, q); };
            const std::uint8_t b0 = at(p);
            const std::uint8_t b1 = at(p + 1);
            p += 2;
            if (b0 != 0x80) {
                moveTo(plus(x, static_cast<std::int8_t>(b0)),
                       plus(y, static_cast<std::int8_t>(b1)));
            } else if (b1 == 0x01) {
                // A long move of two 16-bit values, then two bytes of no meaning.
                const auto dx = static_cast<std::int16_t>(at(p) << 8 | at(p + 1));
                const auto dy = static_cast<std::int16_t>(at(p + 2) << 8 | at(p + 3));
                p += 6;
                moveTo(plus(x, dx), plus(y, dy));
            }
            // 0x80 0x03 is a trim and 0x80 0x02 ends a long move: the needle stays.
            return true;
        };
        forEachRecord(p, recordsEnd, 8, record);
        p = blockEnd;
    }

    out.colors = std::max<int>(1, static_cast<int>(out.threadColors.size()));
    out.bounds = k > 1 ? widenedByEntries(Bounds{}, e, 1, k) : Bounds{0, 0, 0, 0};
    out.end(static_cast<int>(k));
}
