// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Tajima DST files: a 512-byte header, then records of three bytes whose bits are
// balanced-ternary displacements.
#include "EntryBounds.h"
#include "Readers.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr int kRecords = 512;

struct Move {
    int dx = 0;
    int dy = 0; // in the file's orientation, y upwards
};

// Displacement of each bit of one record byte, for bytes 0, 1 and 2.
constexpr std::array<Move, 8> kByte0 = {
    {{1, 0}, {-1, 0}, {9, 0}, {-9, 0}, {0, -9}, {0, 9}, {0, -1}, {0, 1}}};
constexpr std::array<Move, 8> kByte1 = {
    {{3, 0}, {-3, 0}, {27, 0}, {-27, 0}, {0, -27}, {0, 27}, {0, -3}, {0, 3}}};
constexpr std::array<Move, 8> kByte2 = {
    {{0, 0}, {0, 0}, {81, 0}, {-81, 0}, {0, -81}, {0, 81}, {0, 0}, {0, 0}}};

// The displacement of every value of a byte, summed once so decoding is three look-ups. Each
// is one 64-bit word: x in the low half, y downwards (the model's orientation) in the high
// half, so that three words and the position add up as one.
constexpr std::array<std::uint64_t, 256> tableFor(const std::array<Move, 8>& bits) {
    std::array<std::uint64_t, 256> table{};
    for (int v = 0; v < 256; ++v) {
        Move sum;
        for (int b = 0; b < 8; ++b)
            if (v & (1 << b)) {
                sum.dx += bits[static_cast<std::size_t>(b)].dx;
                sum.dy += bits[static_cast<std::size_t>(b)].dy;
            }
        table[static_cast<std::size_t>(v)] =
            static_cast<std::uint64_t>(sum.dx) + (static_cast<std::uint64_t>(-sum.dy) << 32);
    }
    return table;
}

constexpr auto kMoves0 = tableFor(kByte0);
constexpr auto kMoves1 = tableFor(kByte1);
constexpr auto kMoves2 = tableFor(kByte2);

// The position as one word: x and y each in a half, offset by 2^31 there. A half moved by
// less than 2^31 from its offset neither carries into the other half nor borrows from it; a
// record moves it by at most 121, so the offsets are set back now and then: after every 2^16
// records, often enough that a file of 200 KB meets it.
constexpr std::uint64_t kOffsets = 0x8000000080000000ull;
constexpr std::int64_t kRecordsBetweenOffsets = std::int64_t{1} << 16;

std::uint64_t packedPosition(std::int16_t x, std::int16_t y) {
    return kOffsets + static_cast<std::uint16_t>(x) +
           (std::uint64_t{static_cast<std::uint16_t>(y)} << 32);
}
std::int16_t xOf(std::uint64_t position) {
    return static_cast<std::int16_t>(position);
}
std::int16_t yOf(std::uint64_t position) {
    return static_cast<std::int16_t>(position >> 32);
}

} // namespace

void readDst(ByteSpan bytes, DesignSink& out) {
    readDstRecords(bytes, kRecords, out);
}

void readDstRecords(ByteSpan bytes, int start, DesignSink& out) {
    const int length = static_cast<int>(bytes.size());
    out.put(0, 0, 0, CMD_FIRST);
    out.put(1, 0, 0, CMD_STITCH);
    // The model keeps the low 16 bits of the 32-bit position, and only those ever show: a
    // 16-bit position that wraps gives the same entries and bounds.
    std::uint64_t position = packedPosition(0, 0);

    std::ptrdiff_t k = 2; // an index as wide as a pointer needs no widening per entry
    // Every record but a last one cut short takes three bytes: room for all entries, written
    // unchecked, with the colour count in a local.
    const EntryArrays e = out.reserve(
        length > start ? static_cast<std::size_t>(k + (length - start + 2) / 3 + 1) : 0);
    const std::uint8_t* data = bytes.data();
    int colors = 1;
    // The bounds take in the stitches only; colour changes after the first stitch repeat a
    // stitch's position, so those from the first stitch on may be taken in with them.
    std::ptrdiff_t firstStitch = k;
    bool ended = false;

    // One record from p; with checked false its three bytes lie before the length.
    std::int64_t p = start;
    auto record = [&]<bool checked>() -> bool {
        auto at = [&](std::int64_t q) -> std::uint8_t {
            return recordByte<checked>(data, length, q);
        };
        const std::uint8_t b0 = at(p);
        const std::uint8_t b1 = at(p + 1);
        const std::uint8_t b2 = at(p + 2);
        p += 3;
        // Both the end and a colour change have the two high bits of the third byte set.
        if (b2 >= 0xC0) [[unlikely]] {
            if (b2 == 0xF3) {
                ended = true;
                return false;
            }
            if (firstStitch == k)
                ++firstStitch;
            e.put(k++, xOf(position), yOf(position), CMD_COLOR_CHANGE);
            ++colors;
            return true;
        }
        position += kMoves0[b0] + kMoves1[b1] + kMoves2[b2];
        e.put(k++, xOf(position), yOf(position), CMD_STITCH);
        return true;
    };
    // Whole stretches of records between settings of the offsets: none is cut by a stretch's
    // end, since each starts a whole number of records from the first.
    while (!ended && p < length) {
        const auto stretchEnd =
            static_cast<int>(std::min<std::int64_t>(length, p + 3 * kRecordsBetweenOffsets));
        forEachRecord(p, stretchEnd, 3, record);
        position = packedPosition(xOf(position), yOf(position));
    }

    out.bounds = widenedByEntries(Bounds{}, e, firstStitch, k);
    out.colors = colors;
    out.end(static_cast<int>(k));
    takeDstColors(out);
}

void takeDstColors(DesignSink& out) {
    for (int block = 0; block < out.colors && block < kColorListSize; ++block)
        out.colorList[static_cast<std::size_t>(block)] = static_cast<std::uint8_t>(block + 2);
}
