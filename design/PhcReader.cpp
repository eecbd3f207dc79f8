// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Brother PHC files: the PEC thread indices after a small header, then sections whose sizes
// lead to PEC stitch data.
#include "Readers.h"

namespace {
constexpr int kColorCount = 0x4D; // 16-bit, the indices follow
constexpr int kSectionsAdd = 0x2B;
constexpr int kSectionsAt = 0x30;

std::int64_t littleEndian(ByteSpan bytes, std::int64_t p, int n) {
    std::int64_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = v << 8 | byteAt(bytes, p + i);
    return v;
}
} // namespace

void readPhc(ByteSpan bytes, DesignSink& out) {
    const auto threads = littleEndian(bytes, kColorCount, 2);
    for (int i = 0; i < threads && i < kColorListSize; ++i)
        out.colorList[static_cast<std::size_t>(i)] = byteAt(bytes, kColorCount + 2 + i);

    // The primary bounds' section, the sectional bounds' one, ten bytes, then a colour list
    // of its own before 29 more bytes.
    std::int64_t p = littleEndian(bytes, kSectionsAt, 2) + byteAt(bytes, kSectionsAdd);
    p += 2 + littleEndian(bytes, p, 2);
    p += 4 + littleEndian(bytes, p, 4) + 10;
    p += 1 + byteAt(bytes, p) + 0x1D;
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
