// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// PEC files: one PEC block eight bytes into the file. Its stitch data, records of two to four
// bytes that each are a move of an x and a y field, a colour change or the end, also stands
// in every part of a PES file.
#include "EntryBounds.h"
#include "PecShortRecords.h"
#include "Readers.h"

namespace {
// Where the block starts in a PEC file, and where in a block its parts lie.
constexpr int kBlock = 8;
constexpr int kColorCount = 48; // the number of colours, less one
constexpr int kColors = 49;     // one thread index per colour
constexpr int kStitches = kBlock + 532;
} // namespace

int readPecColors(ByteSpan bytes, std::int64_t block, int first, DesignSink& out) {
    const int n = byteAt(bytes, block + kColorCount) + 1;
    int next = first;
    for (int i = 0; i < n && next < kColorListSize; ++i)
        out.colorList[static_cast<std::size_t>(next++)] = byteAt(bytes, block + kColors + i);
    return next;
}

void readPec(ByteSpan bytes, DesignSink& out) {
    readPecColors(bytes, kBlock, 0, out);

    out.bounds = Bounds{};
    out.put(0, 0, 0, CMD_FIRST);
    out.put(1, 0, 0, CMD_STITCH);
    int k = 2;
    out.colors = 1;
    if (static_cast<int>(bytes.size()) > kStitches)
        k = decodePecStitches(bytes, kStitches, k, out).k;
    out.end(k);
}

PecStitchesEnd decodePecStitches(ByteSpan bytes, std::int64_t start, int k, DesignSink& out) {
    const int length = static_cast<int>(bytes.size());
    std::int64_t p = start;
    std::int16_t x = 0;
    std::int16_t y = 0;
    if (p >= length)
        return {k, x, y};

    // Every record takes at least two bytes (only a last one cut short by the end may take
    // one), so this is room for every entry the data can give.
    const EntryArrays e =
        out.reserve(static_cast<std::size_t>(k) + static_cast<std::size_t>(length - p) / 2 + 2);
    const std::uint8_t* data = bytes.data();
    std::ptrdiff_t n = k; // an index as wide as a pointer needs no widening per entry
    int colors = out.colors;
    // The bounds take in the stitches only; colour changes after the first stitch repeat a
    // stitch's position, so those from the first stitch on may be taken in with them.
    std::ptrdiff_t firstStitch = n;

    // One record from p; false at the end record. With checked false the caller has made
    // sure that the four bytes a record can take lie before the length; otherwise bytes at
    // or past the length read as 0.
    auto record = [&]<bool checked>() -> bool {
        auto at = [&](std::int64_t q) -> int { return recordByte<checked>(data, length, q); };
        // Eight records at once where they are all of short fields and their 16 bytes lie
        // before the length; the reserved room takes the eight entries.
        if constexpr (!checked && kDecodesShortRecordsAtOnce) {
            if (p + 16 <= length) {
                const int count = decodeShortRecords(data + p, x, y, e, n);
                if (count != 0) {
                    n += count;
                    p += 2 * count;
                    return true;
                }
            }
        }
        // A short field is one byte of 7 bits (0x40..0x7F negative).
        auto shortField = [](int b) { return (b ^ 0x40) - 0x40; };
        const int b0 = at(p);
        const int b1 = at(p + 1);
        // Nearly every record of a real design is two short fields: that case decides on
        // both bytes at once.
        if (((b0 | b1) & 0x80) == 0) [[likely]] {
            x = static_cast<std::int16_t>(x + shortField(b0));
            y = static_cast<std::int16_t>(y + shortField(b1));
            e.put(n++, x, y, CMD_STITCH);
            p += 2;
            return true;
        }
        if (b0 == 0xFF && b1 == 0x00)
            return false;
        if (b0 == 0xFE && b1 == 0xB0) {
            if (firstStitch == n)
                ++firstStitch;
            e.put(n++, x, y, CMD_COLOR_CHANGE);
            ++colors;
            p += 3;
            return true;
        }
        // A long field has the high bit set and holds a signed 12-bit value in the low four
        // bits and the next byte.
        auto field = [&]() -> int {
            const int b = at(p);
            if (b < 0x80) {
                p += 1;
                return shortField(b);
            }
            const int high = (b & 0x0F) >= 8 ? (b & 0x0F) - 16 : (b & 0x0F);
            const int value = high * 256 + at(p + 1);
            p += 2;
            return value;
        };
        x = static_cast<std::int16_t>(x + field());
        y = static_cast<std::int16_t>(y + field());
        e.put(n++, x, y, CMD_STITCH);
        return true;
    };

    forEachRecord(p, length, 4, record);

    out.bounds = widenedByEntries(out.bounds, e, firstStitch, n);
    out.colors = colors;
    return {static_cast<int>(n), x, y};
}
