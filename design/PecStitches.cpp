// The PEC stitch data shared by PES and PEC files: records of two to four bytes, each a move
// of an x and a y field, a colour change or the end.
#include "DesignModel.h"

DesignModel::PecResult DesignModel::DecodePecStitches(int start, int length, int k) {
    length = usableLength(length);
    std::int64_t p = start;
    std::int16_t x = 0;
    std::int16_t y = 0;
    if (p >= length)
        return {k, x, y};

    // Every record takes at least two bytes (only a last one cut short by the end may take
    // one), so this is room for every entry the data can give.
    reserveEntries(static_cast<std::size_t>(k) + static_cast<std::size_t>(length - p) / 2 + 2);
    std::int16_t* ex = m_StitchX.data();
    std::int16_t* ey = m_StitchY.data();
    std::uint8_t* ec = m_StitchCmd.data();
    const std::uint8_t* data = m_FileData.data();
    // Bounds and colour count in locals while the loop runs.
    PointBounds bounds = this->bounds();
    int colors = m_nColors;

    // One record from p; false at the end record. With checked false the caller has made
    // sure that the four bytes a record can take lie before the length; otherwise bytes at
    // or past the length read as 0.
    auto record = [&]<bool checked>() -> bool {
        auto at = [&](std::int64_t q) -> int {
            if constexpr (checked)
                return q < length ? data[q] : 0;
            else
                return data[q];
        };
        // A short field is one byte of 7 bits (0x40..0x7F negative); a long field has the
        // high bit set and holds a signed 12-bit value in the low four bits and the next byte.
        // A branch, not a select: when it is predicted, the next field's load need not wait
        // for this one's byte, which more than pays for the mispredictions on mixed data.
        auto field = [&]() -> int {
            const int b = at(p);
            if (b < 0x80) {
                p += 1;
                return b < 0x40 ? b : b - 128;
            }
            const int high = (b & 0x0F) >= 8 ? (b & 0x0F) - 16 : (b & 0x0F);
            const int value = high * 256 + at(p + 1);
            p += 2;
            return value;
        };

        const int b0 = at(p);
        const int b1 = at(p + 1);
        if (b0 == 0xFF && b1 == 0x00)
            return false;
        if (b0 == 0xFE && b1 == 0xB0) {
            ex[k] = x, ey[k] = y, ec[k] = CMD_COLOR_CHANGE;
            ++k;
            ++colors;
            p += 3;
            return true;
        }
        x = static_cast<std::int16_t>(x + field());
        bounds.includeX(x);
        y = static_cast<std::int16_t>(y + field());
        bounds.includeY(y);
        ex[k] = x, ey[k] = y, ec[k] = CMD_STITCH;
        ++k;
        return true;
    };

    forEachRecord(p, length, 4, record);

    setBounds(bounds);
    m_nColors = colors;
    return {k, x, y};
}
