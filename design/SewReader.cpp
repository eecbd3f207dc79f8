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

    auto moveTo = [&](std::uint8_t dx, std::uint8_t dy, std::uint8_t cmd) {
        x = static_cast<std::int32_t>(static_cast<std::uint32_t>(x) +
                                      static_cast<std::uint32_t>(displacement(dx)));
        y = static_cast<std::int32_t>(static_cast<std::uint32_t>(y) -
                                      static_cast<std::uint32_t>(displacement(dy)));
        const auto ex = static_cast<std::int16_t>(x);
        const auto ey = static_cast<std::int16_t>(y);
        includePoint(ex, ey);
        putEntry(k++, ex, ey, cmd);
    };

    if (length > kStream) {
        std::int64_t p = kStream;
        while (p < length) {
            const std::uint8_t b0 = byteAt(p, length);
            const std::uint8_t c = byteAt(p + 1, length);
            if (b0 != kEscape) {
                moveTo(b0, c, CMD_STITCH);
                p += 2;
            } else if (c == 0x01 || c == 0x05) {
                putEntry(k++, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                         CMD_COLOR_CHANGE);
                ++m_nColors;
                p += 2;
            } else if (c == 0x02 || c == 0x04) {
                moveTo(byteAt(p + 2, length), byteAt(p + 3, length), CMD_JUMP);
                p += 4;
            } else if (c == 0x10) {
                break;
            } else {
                p += 4;
            }
        }
    }

    finishDesign(k);
    setDisplayFlags(1, 0);
    RequestRepaint();
}
