// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Janome SEW files: thread indices into the SEW palette in the header, then a stream of
// signed byte moves from offset 7544 with 0x80 as the escape to control codes.
#include "Readers.h"

namespace {
constexpr int kColorCount = 0;
constexpr int kColors = 2;
constexpr int kStream = 7544;
constexpr std::uint8_t kEscape = 0x80;

// A displacement byte: 0x80 counts as +128, above it negative.
int displacement(std::uint8_t v) {
    return v <= 128 ? v : v - 256;
}
} // namespace

void readSew(ByteSpan bytes, DesignSink& out) {
    const int length = static_cast<int>(bytes.size());
    const int n = byteAt(bytes, kColorCount);
    for (int i = 0; i < n && i < kColorListSize; ++i)
        out.colorList[static_cast<std::size_t>(i)] = byteAt(bytes, kColors + 2 * i);

    out.put(0, 0, 0, CMD_FIRST);
    out.put(1, 0, 0, CMD_STITCH);
    out.bounds = Bounds{};
    out.colors = 1;
    std::ptrdiff_t k = 2; // an index as wide as a pointer needs no widening per entry
    if (length <= kStream) {
        out.end(static_cast<int>(k));
        return;
    }

    // Every record takes at least two bytes: room for all entries, written unchecked.
    const EntryArrays e = out.reserve(static_cast<std::size_t>(k) +
                                      static_cast<std::size_t>(length - kStream) / 2 + 1);
    const std::uint8_t* data = bytes.data();
    Bounds bounds;
    std::int32_t x = 0;
    std::int32_t y = 0;

    // One record from p; with checked false all four bytes from p lie before the length.
    std::int64_t p = kStream;
    auto record = [&]<bool checked>() -> bool {
        auto get = [&](std::int64_t q) -> std::uint8_t {
            return recordByte<checked>(data, length, q);
        };
        // A stitch or jump: 32-bit position with wrap-around, entries and bounds in 16 bits.
        auto moveTo = [&](std::uint8_t dx, std::uint8_t dy, std::uint8_t cmd) {
            x = static_cast<std::int32_t>(static_cast<std::uint32_t>(x) +
                                          static_cast<std::uint32_t>(displacement(dx)));
            y = static_cast<std::int32_t>(static_cast<std::uint32_t>(y) -
                                          static_cast<std::uint32_t>(displacement(dy)));
            const auto px = static_cast<std::int16_t>(x);
            const auto py = static_cast<std::int16_t>(y);
            bounds.include(px, py);
            e.put(k++, px, py, cmd);
        };
        const std::uint8_t b0 = get(p);
        const std::uint8_t c = get(p + 1);
        if (b0 != kEscape) {
            moveTo(b0, c, CMD_STITCH);
            p += 2;
        } else if (c == 0x01 || c == 0x05) {
            e.put(k++, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                  CMD_COLOR_CHANGE);
            ++out.colors; // rare enough to count in the sink itself
            p += 2;
        } else if (c == 0x02 || c == 0x04) {
            moveTo(get(p + 2), get(p + 3), CMD_JUMP);
            p += 4;
        } else if (c == 0x10) {
            return false;
        } else {
            p += 4;
        }
        return true;
    };
    forEachRecord(p, length, 4, record);

    out.bounds = bounds;
    out.end(static_cast<int>(k));
}
