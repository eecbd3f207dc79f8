// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Pfaff PCS files: a 16-colour table of the file's own and a counted list of nine-byte
// records with absolute coordinates in 1/6 mm with an 8-bit fraction.
#include "EntryBounds.h"
#include "PcsFourStitches.h"
#include "Readers.h"

#include <algorithm>
#include <bit>
#include <cstring>

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

// Tenths of a millimetre from a raw coordinate and the first stitch's, with wrap-around.
std::int32_t tenthsMm(std::int32_t raw, std::int32_t first) {
    return wrapTimes10(wrapSub(raw, first)) / kUnitsPerTenthMm;
}
} // namespace

void readPcs(ByteSpan bytes, DesignSink& out) {
    const int length = static_cast<int>(bytes.size());
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

    // Coordinates count from the first stitch: the first record before the end that is no
    // colour change (colour changes leave the count of stitches as it is).
    std::int64_t first = kRecords;
    while (first < length && byteAt(bytes, first + 8) == kColorChangeType)
        first += kRecordSize;
    const std::int32_t x0 = read32(first);
    const std::int32_t y0 = read32(first + 4);

    std::ptrdiff_t k = 1; // an index as wide as a pointer needs no widening per entry
    // Every record but a last one cut short takes nine bytes: room for all entries, written
    // unchecked.
    const EntryArrays e = out.reserve(
        length > kRecords
            ? static_cast<std::size_t>(k + (length - kRecords + kRecordSize - 1) / kRecordSize + 1)
            : 0);
    const std::uint8_t* data = bytes.data();
    std::int16_t x = 0;
    std::int16_t y = 0;
    int colorChanges = 0;
    // Colour changes before the first stitch lie outside the bounds, those after it repeat a
    // stitch's position.
    std::ptrdiff_t firstStitch = k;
    // The high 16 bits of every stitch's coordinates plus 0x8000, or-ed: 0 while all of them
    // fit 16 bits.
    std::uint32_t wide = 0;

    PcsFourStitches four(x0, y0);

    // One record from p; with checked false its nine bytes lie before the length.
    std::int64_t p = kRecords;
    auto record = [&]<bool checked>() -> bool {
        auto at = [&](std::int64_t q) -> std::uint32_t {
            return recordByte<checked>(data, length, q);
        };
        auto word = [&](std::int64_t q) {
            if constexpr (!checked && std::endian::native == std::endian::little) {
                std::uint32_t v; // one load: the compiler does not merge the four here
                std::memcpy(&v, data + q, sizeof v);
                return static_cast<std::int32_t>(v);
            } else {
                return static_cast<std::int32_t>(at(q) | at(q + 1) << 8 | at(q + 2) << 16 |
                                                 at(q + 3) << 24);
            }
        };
        // Four stitches at a time, one group after another, while their 36 bytes lie before
        // the length and the count goes on past them.
        if constexpr (!checked && PcsFourStitches::kAvailable) {
            constexpr int kGroup = 4 * kRecordSize;
            const std::int64_t groups =
                std::min<std::int64_t>((length - p) / kGroup, (stitchesLeft - 1) / 4);
            std::int64_t done = 0;
            while (done < groups && data[p + 8] != kColorChangeType &&
                   data[p + 17] != kColorChangeType && data[p + 26] != kColorChangeType &&
                   data[p + 35] != kColorChangeType) {
                four.decode(data + p, e, k, x, y);
                k += 4;
                p += kGroup;
                ++done;
            }
            if (done != 0) {
                stitchesLeft = static_cast<std::uint16_t>(stitchesLeft - 4 * done);
                return true;
            }
        }
        if (at(p + 8) == kColorChangeType) [[unlikely]] {
            if (firstStitch == k)
                ++firstStitch;
            e.put(k++, x, y, CMD_COLOR_CHANGE);
            if (colorChanges < kColorListSize)
                out.colorList[static_cast<std::size_t>(colorChanges)] =
                    static_cast<std::uint8_t>(at(p));
            ++colorChanges;
            p += kRecordSize;
            return true;
        }
        const std::int32_t fullX = tenthsMm(word(p), x0);
        const std::int32_t fullY = -tenthsMm(word(p + 4), y0);
        wide |= (static_cast<std::uint32_t>(fullX) + 0x8000u) |
                (static_cast<std::uint32_t>(fullY) + 0x8000u);
        x = static_cast<std::int16_t>(fullX);
        y = static_cast<std::int16_t>(fullY);
        e.put(k++, x, y, CMD_STITCH);
        p += kRecordSize;
        return --stitchesLeft != 0;
    };
    if (stitchesLeft != 0)
        forEachRecord(p, length, kRecordSize, record);

    if ((wide >> 16) == 0 && four.allFit16()) {
        out.bounds = widenedByEntries(Bounds{}, e, firstStitch, k);
    } else {
        // A coordinate past 16 bits: the bounds compare full values and keep their low 16
        // bits, so they come from the records again. Entry i stems from record i - 1.
        Bounds bounds;
        for (std::ptrdiff_t i = firstStitch; i < k; ++i) {
            const std::int64_t q = kRecords + (i - 1) * kRecordSize;
            if (e.cmd[i] == CMD_STITCH)
                bounds.include(tenthsMm(read32(q), x0), -tenthsMm(read32(q + 4), y0));
        }
        out.bounds = bounds;
    }

    out.end(static_cast<int>(k));
}
