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
#include <vector>

namespace {

constexpr std::int64_t kStitchCount = 4;
constexpr std::int64_t kStreamOffsets = 20;
// The most stitches a byte of the file may give. Real files give one or two: only the command
// stream shrinks much. The header's count alone could ask for billions.
constexpr std::uint64_t kStitchesPerByte = 16;

constexpr std::uint8_t kStitch = 0x80;
constexpr std::uint8_t kJump = 0x81;
constexpr std::uint8_t kColorChange = 0x84;
constexpr std::uint8_t kTrim = 0x88;
constexpr std::uint8_t kEnd = 0x90;

std::int32_t plus(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
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

    // The commands up to the end first, then x and y only as far.
    std::vector<std::uint8_t> data(3 * limit);
    const std::span<std::uint8_t> commands(data.data(), limit);
    std::size_t n = expandHusStream(stream(0), commands);
    n = static_cast<std::size_t>(std::find(data.data(), data.data() + n, kEnd) - data.data());
    const std::span<std::uint8_t> xs(data.data() + limit, n), ys(data.data() + 2 * limit, n);
    n = std::min({n, expandHusStream(stream(1), xs), expandHusStream(stream(2), ys)});

    // A colour change that moves too gives two entries.
    const auto changes =
        std::count(commands.begin(), commands.begin() + std::ptrdiff_t(n), kColorChange);
    const EntryArrays e = out.reserve(n + static_cast<std::size_t>(changes) + 2);
    std::ptrdiff_t k = 1;
    std::ptrdiff_t firstMove = 0; // colour changes before it leave the bounds alone
    std::int32_t x = 0, y = 0;
    int colors = 1;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t command = commands[i];
        const std::int32_t dx = static_cast<std::int8_t>(xs[i]);
        const std::int32_t dy = -static_cast<std::int8_t>(ys[i]);
        const bool moves = command == kStitch || command == kJump || dx != 0 || dy != 0;
        if (command != kStitch && command != kJump && command != kColorChange && command != kTrim)
            break;
        if (moves) {
            x = plus(x, dx), y = plus(y, dy);
            if (firstMove == 0)
                firstMove = k;
            e.put(k++, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), CMD_STITCH);
        }
        if (command == kColorChange) {
            e.put(k++, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                  CMD_COLOR_CHANGE);
            ++colors;
        }
    }
    out.colors = colors;
    out.bounds = firstMove > 0 ? widenedByEntries(Bounds{}, e, firstMove, k) : Bounds{0, 0, 0, 0};
    out.end(static_cast<int>(k));
}
