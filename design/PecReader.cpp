// PEC files: one PEC block eight bytes into the file.
#include "DesignModel.h"

namespace {
constexpr int kColorCount = 56;
constexpr int kColors = 57;
constexpr int kStitches = 540;
} // namespace

void DesignModel::ReadPEC(int length) {
    length = usableLength(length);

    const int n = byteAt(kColorCount, length) + 1;
    for (int i = 0; i < n && i < kColorListSize; ++i)
        m_ColorList[static_cast<std::size_t>(i)] = byteAt(kColors + i, length);

    sizeEntries(length);
    resetBounds();
    putEntry(0, 0, 0, CMD_FIRST);
    putEntry(1, 0, 0, CMD_STITCH);
    int k = 2;
    m_nColors = 1;
    if (length > kStitches)
        k = DecodePecStitches(kStitches, length, k).k;

    finishDesign(k);
    setDisplayFlags(0, 0);
    RequestRepaint();
}
