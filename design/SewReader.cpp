// Janome SEW files: thread indices into the SEW palette in the header, then a stream of
// signed byte moves from offset 7544 with 0x80 as the escape to control codes.
#include "DesignModel.h"

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

void DesignModel::ReadSEW(int length) {
    length = usableLength(length);

    const int n = byteAt(kColorCount, length);
    for (int i = 0; i < n && i < kColorListSize; ++i)
        m_ColorList[static_cast<std::size_t>(i)] = byteAt(kColors + 2 * i, length);

    sizeEntries(length);
    putEntry(0, 0, 0, CMD_FIRST);
    putEntry(1, 0, 0, CMD_STITCH);
    resetBounds();
    m_nColors = 1;
    int k = 2;
    std::int32_t x = 0;
    std::int32_t y = 0;

    if (length > kStream) {
        // Every record takes at least two bytes: room for all entries, written unchecked.
        reserveEntries(static_cast<std::size_t>(k) +
                       static_cast<std::size_t>(length - kStream) / 2 + 1);
        std::int16_t* ex = m_StitchX.data();
        std::int16_t* ey = m_StitchY.data();
        std::uint8_t* ec = m_StitchCmd.data();
        const std::uint8_t* data = m_FileData.data();
        // Four plain locals rather than PointBounds: here the struct measured a quarter slower.
        std::int16_t minX = m_nMinX, maxX = m_nMaxX, minY = m_nMinY, maxY = m_nMaxY;
        auto at = [&](std::int64_t q) -> std::uint8_t { return q < length ? data[q] : 0; };

        // A stitch or jump: 32-bit position with wrap-around, entries and bounds in 16 bits.
        auto moveTo = [&](std::uint8_t dx, std::uint8_t dy, std::uint8_t cmd) {
            x = static_cast<std::int32_t>(static_cast<std::uint32_t>(x) +
                                          static_cast<std::uint32_t>(displacement(dx)));
            y = static_cast<std::int32_t>(static_cast<std::uint32_t>(y) -
                                          static_cast<std::uint32_t>(displacement(dy)));
            const auto px = static_cast<std::int16_t>(x);
            const auto py = static_cast<std::int16_t>(y);
            if (maxX < px)
                maxX = px;
            if (minX > px)
                minX = px;
            if (maxY < py)
                maxY = py;
            if (minY > py)
                minY = py;
            ex[k] = px, ey[k] = py, ec[k] = cmd;
            ++k;
        };

        // One record from p; with checked false all four bytes from p lie before the length.
        std::int64_t p = kStream;
        auto record = [&]<bool checked>() -> bool {
            auto get = [&](std::int64_t q) -> std::uint8_t {
                if constexpr (checked)
                    return at(q);
                else
                    return data[q];
            };
            const std::uint8_t b0 = get(p);
            const std::uint8_t c = get(p + 1);
            if (b0 != kEscape) {
                moveTo(b0, c, CMD_STITCH);
                p += 2;
            } else if (c == 0x01 || c == 0x05) {
                ex[k] = static_cast<std::int16_t>(x), ey[k] = static_cast<std::int16_t>(y);
                ec[k] = CMD_COLOR_CHANGE;
                ++k;
                ++m_nColors;
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
        setBounds({minX, maxX, minY, maxY});
    }

    finishDesign(k);
    setDisplayFlags(1, 0);
    RequestRepaint();
}
