// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Pfaff PCS files: a 16-colour table of the file's own and a counted list of nine-byte
// records with absolute coordinates in 1/6 mm with an 8-bit fraction.
#include "Readers.h"

namespace {
constexpr int kColorTable = 4;
constexpr int kStitchCount = 68;
constexpr int kRecords = 70;
constexpr int kRecordSize = 9;
constexpr int kColorChangeType = 3;
// Raw x 10 / 1536 is tenths of a millimetre: 256 for the fraction byte, 6 for the 1/6-mm unit.
constexpr std::int32_t kUnitsPerTenthMm = 1536;

std::int32_t wrapSub(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
std::int32_t wrapTimes10(std::int32_t a) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * 10u);
}
} // namespace

void readPcs(ByteSpan bytes, DesignSink& out) {
    const auto length = static_cast<std::int64_t>(bytes.size());
    out.put(0, 0, 0, CMD_FIRST);

    auto read32 = [&](std::int64_t p) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(byteAt(bytes, p)) |
                                         static_cast<std::uint32_t>(byteAt(bytes, p + 1)) << 8 |
                                         static_cast<std::uint32_t>(byteAt(bytes, p + 2)) << 16 |
                                         static_cast<std::uint32_t>(byteAt(bytes, p + 3)) << 24);
    };

    for (int i = 0; i < 16; ++i) {
        const int o = kColorTable + 4 * i;
        out.pcsColors[static_cast<std::size_t>(i)] =
            static_cast<ColorRef>(byteAt(bytes, o)) |
            static_cast<ColorRef>(byteAt(bytes, o + 1)) << 8 |
            static_cast<ColorRef>(byteAt(bytes, o + 2)) << 16;
    }
    auto stitchesLeft = static_cast<std::uint16_t>(byteAt(bytes, kStitchCount) |
                                                   byteAt(bytes, kStitchCount + 1) << 8);

    int k = 1;
    std::int32_t lastX = 0;
    std::int32_t lastY = 0;
    std::int32_t x0 = 0;
    std::int32_t y0 = 0;
    bool firstSeen = false;
    int colorChanges = 0;
    // Every record but a last one cut short takes nine bytes: room for all entries, written
    // unchecked, with the bounds in a local.
    const EntryArrays e = out.reserve(
        length > kRecords
            ? static_cast<std::size_t>(k + (length - kRecords + kRecordSize - 1) / kRecordSize + 1)
            : 0);
    Bounds bounds;

    for (std::int64_t p = kRecords; p < length && stitchesLeft != 0; p += kRecordSize) {
        if (byteAt(bytes, p + 8) == kColorChangeType) {
            e.put(k++, static_cast<std::int16_t>(lastX), static_cast<std::int16_t>(lastY),
                  CMD_COLOR_CHANGE);
            if (colorChanges < kColorListSize)
                out.colorList[static_cast<std::size_t>(colorChanges)] = byteAt(bytes, p);
            ++colorChanges;
            continue;
        }
        const std::int32_t rawX = read32(p);
        const std::int32_t rawY = read32(p + 4);
        if (!firstSeen) {
            x0 = rawX;
            y0 = rawY;
            firstSeen = true;
        }
        const std::int32_t x = wrapTimes10(wrapSub(rawX, x0)) / kUnitsPerTenthMm;
        const std::int32_t y = -(wrapTimes10(wrapSub(rawY, y0)) / kUnitsPerTenthMm);
        bounds.include(x, y);
        e.put(k++, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), CMD_STITCH);
        lastX = x;
        lastY = y;
        --stitchesLeft;
    }
    out.bounds = bounds;

    out.end(k);
}
