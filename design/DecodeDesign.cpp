// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "DesignData.h"

void decodeDesign(DesignData& d, DesignReader read, std::span<const std::uint8_t> bytes,
                  int sewPalette, int pcsColors) {
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
