// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

// A decoded design as it is drawn: the entries, the colours, the bounds and the display flags.
// The design model holds it with the current file around it; the thumbnailer holds it alone.

#include "DesignSink.h"

#include <cstdint>
#include <span>
#include <vector>

struct DesignData {
    static constexpr std::size_t kInitialEntries = 50000;
    static constexpr int kColorListSize = ::kColorListSize;

    // Display state and palette selection.
    int m_bSewPalette = 0;
    int m_bShowDesign = 0;
    int m_bStitchGraphics = 0;
    PcsColors m_PcsColors{};
    int m_bPcsColors = 0;
    ColorList m_ColorList{};
    // Colours by block as the file gives them, for the formats only the thumbnailer draws.
    int m_bThreadColors = 0;
    std::vector<ColorRef> m_ThreadColors;

    int m_nColors = 0;
    int m_nHeight = 0;
    int m_nWidth = 0;
    std::int16_t m_nMinY = 0;
    std::int16_t m_nMaxY = 0;
    std::int16_t m_nMinX = 0;
    std::int16_t m_nMaxX = 0;

    std::vector<std::int16_t> m_StitchX = std::vector<std::int16_t>(kInitialEntries);
    std::vector<std::int16_t> m_StitchY = std::vector<std::int16_t>(kInitialEntries);
    std::vector<std::uint8_t> m_StitchCmd = std::vector<std::uint8_t>(kInitialEntries);
};

// The formats whose stitches are drawn: the design window's five, then those only the
// thumbnailer draws.
enum class StitchFormat {
    Pes,
    Pec,
    Dst,
    Pcs,
    Sew,
    Jef,
    Vp3,
    Exp,
    Xxx,
    Hus,
    Vip,
    U01,
    Tap,
    Shv,
    Ext10o,
    Dsb,
    Dsz,
    Ksm,
    Stx,
    Phb
};

// Decodes bytes into design with the format's reader: sizing the entries, decoding, taking over
// the bounds and colour count, and setting the display flags for stitches drawn with the
// format's palette (SEW its own, PCS the file's colours, the PEC palette for PES, PEC, DST and
// the formats without colours, and the file's thread colours for the others).
void decodeDesign(DesignData& design, StitchFormat format, std::span<const std::uint8_t> bytes);
