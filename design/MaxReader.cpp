// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Pfaff MAX files: a header with the stitch count at 0xD5, then a record of eight bytes per
// stitch: x and y as absolute signed 24-bit little-endian values, each followed by a byte.
// Their unit is 1.235 tenths of a millimetre. Positions count from the first stitch, as PCS
// does, so that the design starts at the origin.
#include "EntryBounds.h"
#include "Readers.h"

#include <algorithm>

namespace {
constexpr int kStitchCount = 0xD5;
constexpr int kStitches = 0xD9;
constexpr int kRecord = 8;

std::int64_t signed24(ByteSpan bytes, std::int64_t p) {
    const std::int64_t v =
        byteAt(bytes, p) | byteAt(bytes, p + 1) << 8 | byteAt(bytes, p + 2) << 16;
    return v >= 0x800000 ? v - 0x1000000 : v;
}

// Tenths of a millimetre, cut towards zero.
std::int64_t tenthsMm(std::int64_t v) {
    return v * 1235 / 1000;
}
} // namespace

void readMax(ByteSpan bytes, DesignSink& out) {
    const std::int64_t length = static_cast<std::int64_t>(bytes.size());
    const std::int64_t count = static_cast<std::int64_t>(byteAt(bytes, kStitchCount)) |
                               byteAt(bytes, kStitchCount + 1) << 8 |
                               byteAt(bytes, kStitchCount + 2) << 16 |
                               static_cast<std::int64_t>(byteAt(bytes, kStitchCount + 3)) << 24;
    // Only whole records count: a stitch without its y is none.
    const std::int64_t stitches =
        std::min(count, std::max<std::int64_t>(0, length - kStitches) / kRecord);

    // Entry 1 at the origin, as in every reader, is where the first stitch lies.
    out.put(0, 0, 0, CMD_FIRST);
    out.put(1, 0, 0, CMD_STITCH);
    const std::ptrdiff_t first = 2;
    const EntryArrays e = out.reserve(static_cast<std::size_t>(first + stitches + 1));
    const std::int64_t x0 = tenthsMm(signed24(bytes, kStitches));
    const std::int64_t y0 = tenthsMm(signed24(bytes, kStitches + 4));
    for (std::int64_t i = 0; i < stitches; ++i) {
        const std::int64_t p = kStitches + kRecord * i;
        e.put(first + i, static_cast<std::int16_t>(tenthsMm(signed24(bytes, p)) - x0),
              static_cast<std::int16_t>(tenthsMm(signed24(bytes, p + 4)) - y0), CMD_STITCH);
    }
    const std::ptrdiff_t k = first + static_cast<std::ptrdiff_t>(stitches);
    // The bounds start at the first stitch, the origin, which every design takes in.
    out.bounds = widenedByEntries(Bounds{0, 0, 0, 0}, e, first, k);
    out.colors = 1;
    out.end(static_cast<int>(k));
    takeDstColors(out);
}
