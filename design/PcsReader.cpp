// Pfaff PCS files: a 16-colour table of the file's own and a counted list of nine-byte
// records with absolute coordinates in 1/6 mm with an 8-bit fraction.
#include "DesignModel.h"

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

void DesignModel::ReadPCS(int length) {
    length = usableLength(length);

    sizeEntries(length);
    putEntry(0, 0, 0, CMD_FIRST);
    resetBounds();

    auto read32 = [&](std::int64_t p) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(byteAt(p, length)) |
                                         static_cast<std::uint32_t>(byteAt(p + 1, length)) << 8 |
                                         static_cast<std::uint32_t>(byteAt(p + 2, length)) << 16 |
                                         static_cast<std::uint32_t>(byteAt(p + 3, length)) << 24);
    };

    for (int i = 0; i < 16; ++i) {
        const int o = kColorTable + 4 * i;
        m_PcsColors[static_cast<std::size_t>(i)] =
            static_cast<ColorRef>(byteAt(o, length)) |
            static_cast<ColorRef>(byteAt(o + 1, length)) << 8 |
            static_cast<ColorRef>(byteAt(o + 2, length)) << 16;
    }
    std::uint16_t stitchesLeft = static_cast<std::uint16_t>(byteAt(kStitchCount, length) |
                                                            byteAt(kStitchCount + 1, length) << 8);

    int k = 1;
    std::int32_t lastX = 0;
    std::int32_t lastY = 0;
    std::int32_t x0 = 0;
    std::int32_t y0 = 0;
    bool firstSeen = false;
    int colorChanges = 0;

    if (length > kRecords) {
        for (std::int64_t p = kRecords; p < length; p += kRecordSize) {
            if (stitchesLeft == 0)
                break;
            if (byteAt(p + 8, length) == kColorChangeType) {
                putEntry(k++, static_cast<std::int16_t>(lastX), static_cast<std::int16_t>(lastY),
                         CMD_COLOR_CHANGE);
                if (colorChanges < kColorListSize)
                    m_ColorList[static_cast<std::size_t>(colorChanges)] = byteAt(p, length);
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
            // The bounds compare the full values and keep their low 16 bits.
            if (m_nMaxX < x)
                m_nMaxX = static_cast<std::int16_t>(x);
            if (m_nMinX > x)
                m_nMinX = static_cast<std::int16_t>(x);
            if (m_nMaxY < y)
                m_nMaxY = static_cast<std::int16_t>(y);
            if (m_nMinY > y)
                m_nMinY = static_cast<std::int16_t>(y);
            putEntry(k++, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), CMD_STITCH);
            lastX = x;
            lastY = y;
            --stitchesLeft;
        }
    }

    finishDesign(k);
    setDisplayFlags(0, 1);
    RequestRepaint();
}
