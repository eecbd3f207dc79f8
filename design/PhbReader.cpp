// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Brother PHB files: the PEC thread indices after a header, then a chain of offsets to PEC
// stitch data.
#include "Readers.h"

namespace {
constexpr int kColorCount = 0x71; // 16-bit, the indices follow
constexpr int kChainBase = 0x52;
constexpr int kChainAt = 0x54;

std::int64_t littleEndian(ByteSpan bytes, std::int64_t p, int n) {
    std::int64_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = v << 8 | byteAt(bytes, p + i);
    return v;
}
} // namespace

void readPhb(ByteSpan bytes, DesignSink& out) {
    const auto threads = littleEndian(bytes, kColorCount, 2);
    for (int i = 0; i < threads && i < kColorListSize; ++i)
        out.colorList[static_cast<std::size_t>(i)] = byteAt(bytes, kColorCount + 2 + i);

    // Each offset counts from where the one before led; past the last, 14 bytes, a colour
    // list of its own and 21 more bytes.
    std::int64_t p = kChainBase + littleEndian(bytes, kChainAt, 4);
    p += littleEndian(bytes, p, 4) + 2;
    p += littleEndian(bytes, p, 4) + 14;
    p += 1 + byteAt(bytes, p) + 0x15;
    readBrotherStitches(bytes, p, out);
}

void readBrotherStitches(ByteSpan bytes, std::int64_t start, DesignSink& out) {
    out.bounds = Bounds{};
    out.put(0, 0, 0, CMD_FIRST);
    out.put(1, 0, 0, CMD_STITCH);
    out.colors = 1;
    const int k = decodePecStitches(bytes, start, 2, out).k;
    // A file without stitches has no extent rather than the bounds' start values.
    if (out.bounds.maxX < out.bounds.minX)
        out.bounds = Bounds{0, 0, 0, 0};
    out.end(k);
}
