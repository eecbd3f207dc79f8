// The PEC stitch data shared by PES and PEC files: records of two to four bytes, each a move
// of an x and a y field, a colour change or the end.
#include "DesignModel.h"

DesignModel::PecResult DesignModel::DecodePecStitches(int start, int length, int k) {
    length = usableLength(length);
    std::int64_t p = start;
    std::int16_t x = 0;
    std::int16_t y = 0;

    // A short field is one byte of 7 bits (0x40..0x7F negative); a long field has the high
    // bit set and holds a signed 12-bit value in the low four bits and the next byte.
    auto field = [&]() -> int {
        const int b = byteAt(p, length);
        if (b < 0x80) {
            p += 1;
            return b < 0x40 ? b : b - 128;
        }
        int high = b & 0x0F;
        if (high >= 8)
            high -= 16;
        const int value = high * 256 + byteAt(p + 1, length);
        p += 2;
        return value;
    };

    while (p < length) {
        const std::uint8_t b0 = byteAt(p, length);
        const std::uint8_t b1 = byteAt(p + 1, length);
        if (b0 == 0xFF && b1 == 0x00)
            break;
        if (b0 == 0xFE && b1 == 0xB0) {
            putEntry(k++, x, y, CMD_COLOR_CHANGE);
            ++m_nColors;
            p += 3;
            continue;
        }
        x = static_cast<std::int16_t>(x + field());
        if (m_nMaxX < x)
            m_nMaxX = x;
        if (m_nMinX > x)
            m_nMinX = x;
        y = static_cast<std::int16_t>(y + field());
        if (m_nMaxY < y)
            m_nMaxY = y;
        if (m_nMinY > y)
            m_nMinY = y;
        putEntry(k++, x, y, CMD_STITCH);
    }
    return {k, x, y};
}
