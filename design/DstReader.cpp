// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Tajima DST files: a 512-byte header, then records of three bytes whose bits are
// balanced-ternary displacements.
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
    const auto length = static_cast<std::int64_t>(bytes.size());
    out.put(0, 0, 0, CMD_FIRST);
    out.put(1, 0, 0, CMD_STITCH);
    std::int32_t x = 0;
    std::int32_t y = 0;
    out.colors = 1;

    int k = 2;
    // Every record but a last one cut short takes three bytes: room for all entries, written
    // unchecked, with the bounds and the colour count in locals.
    const EntryArrays e = out.reserve(
        length > kRecords ? static_cast<std::size_t>(k + (length - kRecords + 2) / 3 + 1) : 0);
    Bounds bounds;
    int colors = out.colors;
    for (std::int64_t p = kRecords; p < length; p += 3) {
        const std::uint8_t b0 = byteAt(bytes, p);
        const std::uint8_t b1 = byteAt(bytes, p + 1);
        const std::uint8_t b2 = byteAt(bytes, p + 2);
        if (b2 == 0xF3)
            break;
        if ((b2 & 0xC0) == 0xC0) {
            e.put(k++, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                  CMD_COLOR_CHANGE);
            ++colors;
            continue;
        }
        // 32-bit position with wrap-around; the model keeps its low 16 bits.
        x = static_cast<std::int32_t>(
            static_cast<std::uint32_t>(x) +
            static_cast<std::uint32_t>(kMoves0[b0].dx + kMoves1[b1].dx + kMoves2[b2].dx));
        y = static_cast<std::int32_t>(
            static_cast<std::uint32_t>(y) -
            static_cast<std::uint32_t>(kMoves0[b0].dy + kMoves1[b1].dy + kMoves2[b2].dy));
        const auto ex = static_cast<std::int16_t>(x);
        const auto ey = static_cast<std::int16_t>(y);
        bounds.include(ex, ey);
        e.put(k++, ex, ey, CMD_STITCH);
    }
    out.bounds = bounds;
    out.colors = colors;

    out.end(k);
    for (int block = 0; block < out.colors && block < kColorListSize; ++block)
        out.colorList[static_cast<std::size_t>(block)] = static_cast<std::uint8_t>(block + 2);
}
