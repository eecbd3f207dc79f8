// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Husqvarna Viking HUS files: the stitch data VIP files share, and after the header each
// colour block's thread as a 16-bit index into the maker's table of 29 threads.
#include "Readers.h"

#include <array>

namespace {

constexpr std::int64_t kColorCount = 8;
constexpr std::int64_t kThreadIndices = 42;

std::uint32_t le16(ByteSpan bytes, std::int64_t p) {
    return static_cast<std::uint32_t>(byteAt(bytes, p) | byteAt(bytes, p + 1) << 8);
}

constexpr ColorRef fromRgb(std::uint32_t rgb) {
    return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
}

// The maker's threads by index: black, blue, green, red, purple, yellow, grey, light blue,
// light green, orange, pink, brown, white, then dark and light shades of several of them.
constexpr std::array<ColorRef, 29> kThreads = {
    fromRgb(0x000000), fromRgb(0x0000E7), fromRgb(0x00C600), fromRgb(0xFF0000), fromRgb(0x840084),
    fromRgb(0xFFFF00), fromRgb(0x848484), fromRgb(0x8484E7), fromRgb(0x00FF84), fromRgb(0xFF7B31),
    fromRgb(0xFF8CA5), fromRgb(0x845200), fromRgb(0xFFFFFF), fromRgb(0x000084), fromRgb(0x008400),
    fromRgb(0x7B0000), fromRgb(0xFF6384), fromRgb(0x522952), fromRgb(0xFF00FF), fromRgb(0xFFDE00),
    fromRgb(0xFFFF9C), fromRgb(0x525252), fromRgb(0xD6D6D6), fromRgb(0xFF5208), fromRgb(0xFF9C5A),
    fromRgb(0xFF52B5), fromRgb(0xFFC6DE), fromRgb(0x523100), fromRgb(0xB5A584),
};

} // namespace

void readHus(ByteSpan bytes, DesignSink& out) {
    readHusStitches(bytes, out);
    const std::int64_t listed =
        le16(bytes, kColorCount) | std::int64_t{le16(bytes, kColorCount + 2)} << 16;
    // Only the blocks that have stitches take a thread; an index past the table is black.
    for (std::int64_t k = 0; k < out.colors && k < listed; ++k) {
        const std::uint32_t index = le16(bytes, kThreadIndices + 2 * k);
        out.threadColors.push_back(index < kThreads.size() ? kThreads[index] : 0);
    }
}
