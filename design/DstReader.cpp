// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Tajima DST files: a 512-byte header, then records of three bytes whose bits are
// balanced-ternary displacements.
#include "EntryBounds.h"
#include "Readers.h"

#include <array>

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

// The displacement of every value of a byte, summed once so decoding is three look-ups.
constexpr std::array<Move, 256> tableFor(const std::array<Move, 8>& bits) {
    std::array<Move, 256> table{};
    for (int v = 0; v < 256; ++v)
        for (int b = 0; b < 8; ++b)
            if (v & (1 << b)) {
                table[static_cast<std::size_t>(v)].dx += bits[static_cast<std::size_t>(b)].dx;
                table[static_cast<std::size_t>(v)].dy += bits[static_cast<std::size_t>(b)].dy;
            }
    return table;
}

constexpr auto kMoves0 = tableFor(kByte0);
constexpr auto kMoves1 = tableFor(kByte1);
constexpr auto kMoves2 = tableFor(kByte2);

} // namespace

void readDst(ByteSpan bytes, DesignSink& out) {
    const int length = static_cast<int>(bytes.size());
    out.put(0, 0, 0, CMD_FIRST);
    out.put(1, 0, 0, CMD_STITCH);
    // The model keeps the low 16 bits of the 32-bit position, and only those ever show: a
    // 16-bit position that wraps gives the same entries and bounds.
    std::int16_t x = 0;
    std::int16_t y = 0;

    std::ptrdiff_t k = 2; // an index as wide as a pointer needs no widening per entry
    // Every record but a last one cut short takes three bytes: room for all entries, written
    // unchecked, with the colour count in a local.
    const EntryArrays e = out.reserve(
        length > kRecords ? static_cast<std::size_t>(k + (length - kRecords + 2) / 3 + 1) : 0);
    const std::uint8_t* data = bytes.data();
    int colors = 1;
    // The bounds take in the stitches only; colour changes after the first stitch repeat a
    // stitch's position, so those from the first stitch on may be taken in with them.
    std::ptrdiff_t firstStitch = k;

    // One record from p; with checked false its three bytes lie before the length.
    std::int64_t p = kRecords;
    auto record = [&]<bool checked>() -> bool {
        auto at = [&](std::int64_t q) -> std::uint8_t {
            if constexpr (checked)
                return q < length ? data[q] : 0;
            else
                return data[q];
        };
        const std::uint8_t b0 = at(p);
        const std::uint8_t b1 = at(p + 1);
        const std::uint8_t b2 = at(p + 2);
        p += 3;
        // Both the end and a colour change have the two high bits of the third byte set.
        if ((b2 & 0xC0) == 0xC0) [[unlikely]] {
            if (b2 == 0xF3)
                return false;
            if (firstStitch == k)
                ++firstStitch;
            e.put(k++, x, y, CMD_COLOR_CHANGE);
            ++colors;
            return true;
        }
        // The move summed apart from the position, so that each record adds to it only once.
        const int dx = kMoves0[b0].dx + kMoves1[b1].dx + kMoves2[b2].dx;
        const int dy = kMoves0[b0].dy + kMoves1[b1].dy + kMoves2[b2].dy;
        x = static_cast<std::int16_t>(x + dx);
        y = static_cast<std::int16_t>(y - dy);
        e.put(k++, x, y, CMD_STITCH);
        return true;
    };
    forEachRecord(p, length, 3, record);

    out.bounds = widenedByEntries(Bounds{}, e, firstStitch, k);
    out.colors = colors;
    out.end(static_cast<int>(k));
    for (int block = 0; block < out.colors && block < kColorListSize; ++block)
        out.colorList[static_cast<std::size_t>(block)] = static_cast<std::uint8_t>(block + 2);
}
