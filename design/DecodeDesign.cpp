// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "DesignData.h"

#include "Readers.h"

#include <utility>

namespace {
enum class Colours { PecPalette, SewPalette, PcsColors, ThreadColors };

struct FormatReader {
    void (*read)(ByteSpan, DesignSink&);
    Colours colours;
};

FormatReader readerOf(StitchFormat format) {
    switch (format) {
    case StitchFormat::Pec:
        return {readPec, Colours::PecPalette};
    case StitchFormat::Dst:
        return {readDst, Colours::PecPalette};
    case StitchFormat::Pcs:
        return {readPcs, Colours::PcsColors};
    case StitchFormat::Sew:
        return {readSew, Colours::SewPalette};
    case StitchFormat::Jef:
        return {readJef, Colours::ThreadColors};
    case StitchFormat::Vp3:
        return {readVp3, Colours::ThreadColors};
    case StitchFormat::Exp:
        return {readExp, Colours::PecPalette};
    case StitchFormat::Xxx:
        return {readXxx, Colours::ThreadColors};
    case StitchFormat::Hus:
        return {readHus, Colours::ThreadColors};
    case StitchFormat::Vip:
        return {readVip, Colours::ThreadColors};
    case StitchFormat::U01:
        return {readU01, Colours::PecPalette};
    case StitchFormat::Tap:
        return {readTap, Colours::PecPalette};
    case StitchFormat::Shv:
        return {readShv, Colours::ThreadColors};
    case StitchFormat::Ext10o:
        return {read10o, Colours::PecPalette};
    case StitchFormat::Dsb:
        return {readDsb, Colours::PecPalette};
    case StitchFormat::Dsz:
        return {readDsz, Colours::PecPalette};
    case StitchFormat::Ksm:
        return {readKsm, Colours::PecPalette};
    case StitchFormat::Stx:
        return {readStx, Colours::ThreadColors};
    case StitchFormat::Phb:
        return {readPhb, Colours::PecPalette};
    case StitchFormat::Pes:
        break;
    }
    return {readPes, Colours::PecPalette};
}
} // namespace

void decodeDesign(DesignData& d, StitchFormat format, std::span<const std::uint8_t> bytes) {
    const auto [read, colours] = readerOf(format);
    DesignSink sink(d.m_StitchX, d.m_StitchY, d.m_StitchCmd, d.m_ColorList, d.m_PcsColors,
                    d.m_nColors);
    // The thread colours' storage goes back and forth, so that a reused design allocates once.
    sink.threadColors = std::move(d.m_ThreadColors);
    sink.threadColors.clear();
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
    d.m_ThreadColors = std::move(sink.threadColors);
    d.m_bThreadColors = colours == Colours::ThreadColors;
    d.m_bPcsColors = colours == Colours::PcsColors;
    d.m_bSewPalette = colours == Colours::SewPalette;
    d.m_bShowDesign = 1;
    d.m_bStitchGraphics = 1;
}
