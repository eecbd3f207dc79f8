// PES files: a header that points at one or more embedded PEC blocks. Version 2.5 and 3.0
// files may hold several parts, which are laid out one below the other.
#include "DesignModel.h"

#include <array>
#include <span>

namespace {
constexpr int kPecColorCount = 48;
constexpr int kPecColors = 49;
constexpr int kPecStitches = 532;
constexpr int kPartSearchSkip = 32;
} // namespace

void DesignModel::ReadPES(int length) {
    length = usableLength(length);

    const std::uint8_t v0 = byteAt(6, length);
    const std::uint8_t v1 = byteAt(7, length);
    const bool candidate = (v0 == '2' && v1 == '5') || (v0 == '3' && v1 == '0');

    // At most 255 parts: the first and one per further part the header declares.
    std::array<int, 256> partOffsets;
    std::size_t partCount = 0;
    partOffsets[partCount++] =
        byteAt(8, length) | byteAt(9, length) << 8 | byteAt(10, length) << 16;

    bool multiPart = false;
    const int declaredParts = byteAt(12, length);
    if (candidate && declaredParts > 1) {
        multiPart = true;
        for (int search = 1; search < declaredParts; ++search) {
            bool found = false;
            for (std::int64_t p =
                     static_cast<std::int64_t>(partOffsets[partCount - 1]) + kPartSearchSkip;
                 p < length; ++p) {
                if (byteAt(p, length) == 0x4C && byteAt(p + 1, length) == 0x41 &&
                    byteAt(p + 2, length) == 0x3A) {
                    partOffsets[partCount++] = static_cast<int>(p);
                    found = true;
                    break;
                }
            }
            // A search that fails starts every later one from the same place: they fail too.
            if (!found)
                break;
        }
    }

    // The parts' colour tables one after the other; what does not fit the list is dropped.
    int colorIndex = 0;
    const auto parts = std::span(partOffsets.data(), partCount);
    for (const int o : parts) {
        const int n = byteAt(static_cast<std::int64_t>(o) + kPecColorCount, length) + 1;
        for (int i = 0; i < n && colorIndex < kColorListSize; ++i)
            m_ColorList[static_cast<std::size_t>(colorIndex++)] =
                byteAt(static_cast<std::int64_t>(o) + kPecColors + i, length);
    }

    sizeEntries(length);
    putEntry(0, 0, 0, CMD_FIRST);
    putEntry(1, 0, 0, CMD_STITCH);
    int k = 2;
    m_nColors = 1;
    int partStart = 0;
    std::int16_t verticalOffset = 0;

    for (const int o : parts) {
        resetBounds();
        PecResult decoded{k, 0, 0};
        if (static_cast<std::int64_t>(o) + kPecStitches < length)
            decoded = DecodePecStitches(o + kPecStitches, length, k);
        k = decoded.k;
        if (multiPart) {
            for (int i = partStart; i < k; ++i) {
                const auto e = static_cast<std::size_t>(i);
                if (m_StitchCmd[e] == CMD_FIRST || m_StitchCmd[e] == CMD_STITCH) {
                    m_StitchX[e] = static_cast<std::int16_t>(m_StitchX[e] - m_nMinX);
                    m_StitchY[e] =
                        static_cast<std::int16_t>(m_StitchY[e] - m_nMinY + verticalOffset);
                }
            }
            putEntry(k++, decoded.x, decoded.y, CMD_COLOR_CHANGE);
            ++m_nColors;
            partStart = k;
            verticalOffset = static_cast<std::int16_t>(verticalOffset + (m_nMaxY - m_nMinY));
        }
    }

    finishDesign(k);
    if (multiPart) {
        m_nWidth = 1000;
        m_nMinX = 0;
        m_nMinY = 0;
        m_nHeight = verticalOffset;
    }
    setDisplayFlags(0, 0);
    RequestRepaint();
}
