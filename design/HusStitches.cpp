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

    std::vector<std::uint8_t> data(3 * limit);
    const std::span<std::uint8_t> commands(data.data(), limit), xs(data.data() + limit, limit),
        ys(data.data() + 2 * limit, limit);
    const auto written = expandHusStreams({stream(0), stream(1), stream(2)}, {commands, xs, ys});
    auto n = std::min({written[0], written[1], written[2]});
    n = static_cast<std::size_t>(
        std::find(commands.begin(), commands.begin() + std::ptrdiff_t(n), kEnd) - commands.begin());

    // A colour change that moves too gives two entries.
    const auto changes =
        std::count(commands.begin(), commands.begin() + std::ptrdiff_t(n), kColorChange);
    const EntryArrays e = out.reserve(n + static_cast<std::size_t>(changes) + 2);
    std::ptrdiff_t k = 1;
    std::int32_t x = 0, y = 0;
    int colors = 1;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t command = commands[i];
        const std::int32_t dx = static_cast<std::int8_t>(xs[i]);
        const std::int32_t dy = -static_cast<std::int8_t>(ys[i]);
        if (command != kStitch && command != kJump && command != kColorChange && command != kTrim)
            break;
        x = plus(x, dx), y = plus(y, dy);
        const auto px = static_cast<std::int16_t>(x), py = static_cast<std::int16_t>(y);
        if (command == kStitch || command == kJump) [[likely]] {
            e.put(k++, px, py, CMD_STITCH);
            continue;
        }
        if (dx != 0 || dy != 0)
            e.put(k++, px, py, CMD_STITCH);
        if (command == kColorChange)
            e.put(k++, px, py, CMD_COLOR_CHANGE), ++colors;
    }
    // Colour changes before the first move leave the bounds alone.
    std::ptrdiff_t firstMove = 1;
    while (firstMove < k && e.cmd[firstMove] != CMD_STITCH)
        ++firstMove;
    out.colors = colors;
    out.bounds = firstMove < k ? widenedByEntries(Bounds{}, e, firstMove, k) : Bounds{0, 0, 0, 0};
    out.end(static_cast<int>(k));
}
