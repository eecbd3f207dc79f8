// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Real files of the later thumbnail formats against what an independent reader (pyembroidery)
// reports for them: its stitches and jumps are our moves, its colour changes or runs of
// needle changes after a stitch our colour changes, and its extents our bounds. It reads TAP
// with clipping off, since otherwise it folds runs of jumps into trims. Its SHV thread table
// gives Star.SHV's first thread as E83E00 where ours has E83F00. STX colours it does not read:
// Star.STX's first thread is only ours.
#include "design/DesignData.h"
#include "thumbnailer/DesignKind.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {
struct RealFile {
    const char* name;
    StitchFormat format;
    int moves;
    int colorChanges;
    int minX, minY, maxX, maxY;
    ColorRef firstThread; // 0 where the format takes DST's or the PEC palette's colours
};

constexpr RealFile kRealFiles[] = {
    {"Star.u01", StitchFormat::U01, 2547, 2, -295, -311, 296, 312, 0},
    {"Hopea.u01", StitchFormat::U01, 4051, 1, -599, -246, 599, 246, 0},
    {"Star.TAP", StitchFormat::Tap, 2546, 1, -295, -311, 296, 312, 0},
    {"Star.SHV", StitchFormat::Shv, 2541, 2, -295, -416, 296, 207, 0x003FE8},
    {"Embroidermodder.SHV", StitchFormat::Shv, 3409, 1, -1111, -259, 1114, 255, 0x7F0000},
    {"Star.10O", StitchFormat::Ext10o, 2546, 1, -295, -311, 296, 312, 0},
    {"Star.DSB", StitchFormat::Dsb, 2447, 1, -295, -312, 299, 312, 0},
    {"Embroidermodder.DSB", StitchFormat::Dsb, 3484, 0, -1111, -259, 1114, 255, 0},
    {"Star.DSZ", StitchFormat::Dsz, 2447, 2, -295, -312, 299, 312, 0},
    {"Embroidermodder.DSZ", StitchFormat::Dsz, 3484, 1, -1111, -259, 1114, 255, 0},
    {"Star.ksm", StitchFormat::Ksm, 2541, 1, -295, -311, 296, 312, 0},
    {"Star.STX", StitchFormat::Stx, 2516, 1, -296, -462, 295, 161, 0x0000FF},
    {"Star.phb", StitchFormat::Phb, 2540, 1, -296, -462, 295, 161, 0},
};
} // namespace

TEST(MoreFormats, RealFilesAgreeWithAnIndependentReader) {
    for (const RealFile& f : kRealFiles) {
        DesignData d;
        decodeDesign(d, f.format, readBytes(std::string(NADELIX_TEST_DATA) + "/" + f.name));
        int moves = 0;
        int changes = 0;
        for (std::size_t i = 2; d.m_StitchCmd[i] != CMD_END; ++i) {
            moves += d.m_StitchCmd[i] == CMD_STITCH;
            changes += d.m_StitchCmd[i] == CMD_COLOR_CHANGE;
        }
        EXPECT_EQ(moves, f.moves) << f.name;
        EXPECT_EQ(changes, f.colorChanges) << f.name;
        EXPECT_EQ(d.m_nColors, changes + 1) << f.name;
        EXPECT_EQ((std::array{d.m_nMinX, d.m_nMinY, d.m_nMaxX, d.m_nMaxY}),
                  (std::array<std::int16_t, 4>{
                      static_cast<std::int16_t>(f.minX), static_cast<std::int16_t>(f.minY),
                      static_cast<std::int16_t>(f.maxX), static_cast<std::int16_t>(f.maxY)}))
            << f.name;
        if (f.firstThread != 0) {
            EXPECT_TRUE(d.m_bThreadColors) << f.name;
            ASSERT_EQ(d.m_ThreadColors.size(), static_cast<std::size_t>(d.m_nColors)) << f.name;
            EXPECT_EQ(d.m_ThreadColors[0], f.firstThread) << f.name;
        }
    }
}

TEST(MoreFormats, TypedByTheirSignatureOrByNameWhereTheyOpenWithDstsHeader) {
    const auto dsb = readBytes(std::string(NADELIX_TEST_DATA) + "/Star.DSB");
    EXPECT_EQ(thumbnailer::kindOf("cake.DSB", dsb.data(), dsb.size()), StitchFormat::Dsb);
    EXPECT_EQ(thumbnailer::kindOf("cake.dsz", dsb.data(), dsb.size()), StitchFormat::Dsz);
    EXPECT_EQ(thumbnailer::kindOf("cake.pes", dsb.data(), dsb.size()), StitchFormat::Dst);
    const auto phb = readBytes(std::string(NADELIX_TEST_DATA) + "/Star.phb");
    EXPECT_EQ(thumbnailer::kindOf("cake.pes", phb.data(), phb.size()), StitchFormat::Phb);
}
