// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The stitch data HUS and VIP files share: the stitch count at 4 and the offsets of three
// compressed streams at 20, 24 and 28 (little-endian), one byte per stitch in each: the
// command, then x and y as signed moves in tenths of a millimetre, y upwards.
#include "EntryBounds.h"
#include "HusDecompression.h"
#include "Readers.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

constexpr std::int64_t kStitchCount = 4;
constexpr std::int64_t kStreamOffsets = 20;
// The most stitches a byte of the file may give. Real files give one or two: only the command
// stream shrinks much. The header's count alone could ask for billions.
constexpr std::uint64_t kStitchesPerByte = 16;
// Scratch space larger than this goes back to the heap after a decode; smaller stays for the next.
constexpr std::size_t kKeptScratch = std::size_t{1} << 20;

constexpr std::uint8_t kStitch = 0x80;
constexpr std::uint8_t kJump = 0x81;
constexpr std::uint8_t kColorChange = 0x84;
constexpr std::uint8_t kTrim = 0x88;
constexpr std::uint8_t kEnd = 0x90;
constexpr unsigned kOtherCommands = 1u << (kColorChange - kStitch) | 1u << (kTrim - kStitch);

std::int32_t plus(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

// How many of the bytes are the value, eight at a time.
std::size_t countOf(std::span<const std::uint8_t> bytes, std::uint8_t value) {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7F, kOnes = 0x0101010101010101;
    std::size_t count = 0, i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        word ^= kOnes * value; // the value's bytes become 0
        // The high bit of each byte that is 0, then one such bit per byte summed.
        const std::uint64_t zero = ~(((word & kLow7) + kLow7) | word | kLow7);
        count += static_cast<std::size_t>(((zero >> 7) * kOnes) >> 56);
    }
    for (; i < bytes.size(); ++i)
        count += bytes[i] == value;
    return count;
}

std::uint32_t le32(ByteSpan bytes, std::int64_t p) {
    return static_cast<std::uint32_t>(byteAt(bytes, p) | byteAt(bytes, p + 1) << 8 |
                                      byteAt(bytes, p + 2) << 16) |
           static_cast<std::uint32_t>(byteAt(bytes, p + 3)) << 24;
}

} // namespace

void readHusStitches(ByteSpan bytes, DesignSink& out) {
    out.put(0, 0, 0, CMD_FIRST);
    const std::uint64_t length = bytes.size();
    const auto limit = static_cast<std::size_t>(
        std::min<std::uint64_t>(le32(bytes, kStitchCount), kStitchesPerByte * length));
    std::array<std::uint64_t, 4> at{};
    for (std::size_t i = 0; i < 3; ++i)
        at[i] = std::min<std::uint64_t>(le32(bytes, kStreamOffsets + 4 * std::int64_t(i)), length);
    at[3] = length;
    auto stream = [&](std::size_t i) {
        return bytes.subspan(at[i], std::max(at[i], at[i + 1]) - at[i]);
    };

    // Kept per thread between decodes: small files would otherwise spend much of their time
    // allocating it. Every byte read from it below was written by the expansion first.
    thread_local std::vector<std::uint8_t> scratch;
    if (scratch.size() < 3 * limit)
        scratch.resize(3 * limit);
    std::uint8_t* const data = scratch.data();
    const std::span<std::uint8_t> commands(data, limit), xs(data + limit, limit),
        ys(data + 2 * limit, limit);
    const auto written = expandHusStreams({stream(0), stream(1), stream(2)}, {commands, xs, ys});
    auto n = std::min({written[0], written[1], written[2]});
    if (const void* end = n > 0 ? std::memchr(commands.data(), kEnd, n) : nullptr)
        n = static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - commands.data());

    // A colour change that moves too gives two entries.
    const EntryArrays e = out.reserve(n + countOf(commands.first(n), kColorChange) + 2);
    std::ptrdiff_t k = 1;
    std::int32_t x = 0, y = 0;
    int colors = 1;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t command = commands[i];
        const std::int32_t dx = static_cast<std::int8_t>(xs[i]);
        const std::int32_t dy = -static_cast<std::int8_t>(ys[i]);
        x = plus(x, dx), y = plus(y, dy);
        const auto px = static_cast<std::int16_t>(x), py = static_cast<std::int16_t>(y);
        // The command less kStitch: 0 and 1 are stitch and jump, the others take a bit each.
        const unsigned code = command - unsigned{kStitch};
        if (code <= kJump - kStitch) [[likely]] {
            e.put(k++, px, py, CMD_STITCH);
            continue;
        }
        if (code > kTrim - kStitch || (kOtherCommands >> code & 1) == 0)
            break;
        if (dx != 0 || dy != 0)
            e.put(k++, px, py, CMD_STITCH);
        if (command == kColorChange)
            e.put(k++, px, py, CMD_COLOR_CHANGE), ++colors;
    }
    if (scratch.capacity() > kKeptScratch)
        std::vector<std::uint8_t>().swap(scratch);
    // Colour changes before the first move leave the bounds alone.
    std::ptrdiff_t firstMove = 1;
    while (firstMove < k && e.cmd[firstMove] != CMD_STITCH)
        ++firstMove;
    out.colors = colors;
    out.bounds = firstMove < k ? widenedByEntries(Bounds{}, e, firstMove, k) : Bounds{0, 0, 0, 0};
    out.end(static_cast<int>(k));
}
