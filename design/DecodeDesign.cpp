// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "DesignData.h"

#include "Readers.h"

namespace {
struct FormatReader {
    void (*read)(ByteSpan, DesignSink&);
    int sewPalette;
    int pcsColors;
};

FormatReader readerOf(StitchFormat format) {
    switch (format) {
    case StitchFormat::Pec:
        return {readPec, 0, 0};
    case StitchFormat::Dst:
        return {readDst, 0, 0};
    case StitchFormat::Pcs:
        return {readPcs, 0, 1};
    case StitchFormat::Sew:
        return {readSew, 1, 0};
    case StitchFormat::Pes:
        break;
    }
    return {readPes, 0, 0};
}
} // namespace

void decodeDesign(DesignData& d, StitchFormat format, std::span<const std::uint8_t> bytes) {
    const auto [read, sewPalette, pcsColors] = readerOf(format);
    DesignSink sink(d.m_StitchX, d.m_StitchY, d.m_StitchCmd, d.m_ColorList, d.m_PcsColors,
                    d.m_nColors);
    // Room for the entries before decoding, so that ordinary designs never allocate in it.
    sink.reserve(bytes.size() / 2);
    read(bytes, sink);

    d.m_nColors = sink.colors;
    d.m_nMinX = sink.bounds.minX;
    d.m_nMaxX = sink.bounds.maxX;
    d.m_nMinY = sink.bounds.minY;
    d.m_nMaxY = sink.bounds.maxY;
    d.m_nWidth = sink.width;
    d.m_nHeight = sink.height;
    d.m_bPcsColors = pcsColors;
    d.m_bSewPalette = sewPalette;
    d.m_bShowDesign = 1;
    d.m_bStitchGraphics = 1;
}
