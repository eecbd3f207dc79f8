// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Real files of the later thumbnail formats against what an independent reader (pyembroidery)
// reports for them: its stitches and jumps are our moves, its colour changes or runs of
// needle changes after a stitch our colour changes, and its extents our bounds. It reads TAP
// with clipping off, since otherwise it folds runs of jumps into trims. It stops a third into
// Cake_3.ksm at a needle code it does not know (0x1E): there the colour changes and extents are
// those the other files of that design give. STX colours it does not read; ours match the
// threads it reads from that design's PHC file.
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
    {"Cake_3.u01", StitchFormat::U01, 15037, 18, -419, -669, 420, 670, 0},
    {"Hopea.u01", StitchFormat::U01, 4051, 1, -599, -246, 599, 246, 0},
    {"Cake_3.tap", StitchFormat::Tap, 15123, 18, -419, -669, 420, 670, 0},
    {"rectangle.tap", StitchFormat::Tap, 33, 0, -20, -20, 20, 20, 0},
    {"Cake_3.shv", StitchFormat::Shv, 11626, 19, -313, -537, 311, 462, 0xFFFFFF},
    {"rectangle.shv", StitchFormat::Shv, 31, 1, -20, -20, 20, 20, 0xFF9A33},
    {"Cake_3.10o", StitchFormat::Ext10o, 15072, 18, -419, -669, 420, 670, 0},
    {"rectangle.10o", StitchFormat::Ext10o, 31, 0, -20, -20, 20, 20, 0},
    {"Cake_3.dsb", StitchFormat::Dsb, 15072, 18, -419, -669, 420, 670, 0},
    {"rectangle.dsb", StitchFormat::Dsb, 31, 0, -20, -20, 20, 20, 0},
    {"Cake_3.dsz", StitchFormat::Dsz, 15072, 19, -419, -669, 420, 670, 0},
    {"rectangle.dsz", StitchFormat::Dsz, 31, 1, -20, -20, 20, 20, 0},
    {"Cake_3.ksm", StitchFormat::Ksm, 15029, 18, -419, -669, 420, 670, 0},
    {"rectangle.ksm", StitchFormat::Ksm, 30, 0, -20, -20, 20, 20, 0},
    {"Cake_3.stx", StitchFormat::Stx, 15072, 18, -419, -669, 420, 670, 0xE7E7E7},
    {"rectangle.stx", StitchFormat::Stx, 31, 0, -20, -20, 20, 20, 0xFF8E10},
    {"Cake_3.emd", StitchFormat::Emd, 15148, 18, 0, -1339, 839, 0, 0},
    {"rectangle.emd", StitchFormat::Emd, 33, 0, 0, -40, 40, 0, 0},
    {"Cake_3.phb", StitchFormat::Phb, 14963, 18, -197, -1199, 642, 140, 0},
    {"rectangle.phb", StitchFormat::Phb, 28, 0, 0, 0, 40, 40, 0},
    {"Cake_3.phc", StitchFormat::Phc, 14963, 18, -197, -1199, 642, 140, 0},
    {"rectangle.phc", StitchFormat::Phc, 28, 0, 0, 0, 40, 40, 0},
    {"Cake_3.jpx", StitchFormat::Jpx, 15126, 18, -419, -669, 420, 670, 0xE5E5E5},
    {"rectangle.jpx", StitchFormat::Jpx, 31, 0, -20, -20, 20, 20, 0xAB834F},
    // Its first stitch at the origin, as ours.
    {"Cake_3.max", StitchFormat::Max, 11240, 0, -1056, -564, 123, 174, 0},
    {"rectangle.max", StitchFormat::Max, 29, 0, 0, 0, 50, 50, 0},
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
    const auto dsb = readBytes(std::string(NADELIX_TEST_DATA) + "/Cake_3.dsb");
    EXPECT_EQ(thumbnailer::kindOf("cake.DSB", dsb.data(), dsb.size()), StitchFormat::Dsb);
    EXPECT_EQ(thumbnailer::kindOf("cake.dsz", dsb.data(), dsb.size()), StitchFormat::Dsz);
    EXPECT_EQ(thumbnailer::kindOf("cake.pes", dsb.data(), dsb.size()), StitchFormat::Dst);
    const auto phc = readBytes(std::string(NADELIX_TEST_DATA) + "/rectangle.phc");
    EXPECT_EQ(thumbnailer::kindOf("cake.pes", phc.data(), phc.size()), StitchFormat::Phc);
}
