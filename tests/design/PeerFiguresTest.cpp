// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The real files of the formats only the thumbnailer draws, against the figures an
// independent reader gives for them.
#include "design/DesignData.h"

#include "TempDir.h"

#include <gtest/gtest.h>

namespace {
struct PeerFigures {
    const char* file;
    StitchFormat format;
    // Needle moves: the peer's stitches and jumps, and the jumps it reads as trims, less the
    // jumps to where the needle already is.
    int moves;
    // The peer's colour changes and stops (a JEF stop keeps the thread).
    int colorChanges;
    int minX, minY, maxX, maxY;
    // The last block's thread as 0x00BBGGRR; 0 where the format takes DST's colours.
    ColorRef lastThread;
};

constexpr PeerFigures kRecorded[] = {
    {"Hopea.jef", StitchFormat::Jef, 4050, 1, -599, -246, 599, 246, 0x00CBFF},
    {"Bean.jef", StitchFormat::Jef, 322, 1, -250, -250, 250, 250, 0x0000FF},
    {"Bear_Mask_5x7_Hoop.jef", StitchFormat::Jef, 9803, 4, -469, -848, 469, 847, 0x4E70B1},
    {"Cake_Applique_2.jef", StitchFormat::Jef, 10437, 18, -266, -426, 266, 425, 0xE5E5E5},
    {"Hopea.vp3", StitchFormat::Vp3, 4044, 1, -599, -246, 599, 246, 0x2CC5FA},
    {"Cake_3.vp3", StitchFormat::Vp3, 14960, 18, -424, -674, 415, 665, 0xE5E5E5},
    {"220306.vp3", StitchFormat::Vp3, 16617, 8, -588, -428, 589, 428, 0x101C37},
    {"Hopea.exp", StitchFormat::Exp, 4052, 1, -599, -246, 599, 246, 0},
    {"Cake_3.exp", StitchFormat::Exp, 15072, 18, -419, -669, 420, 670, 0},
    {"Bean.exp", StitchFormat::Exp, 322, 1, -250, -250, 250, 250, 0},
    // The peer takes the threads from two bytes past the first end record, one too early
    // where a second one follows.
    {"Cake_3.xxx", StitchFormat::Xxx, 15091, 18, -419, -669, 420, 670, 0xE5E5E5},
    {"rectangle.xxx", StitchFormat::Xxx, 30, 0, -20, -20, 20, 20, 0xFF8C10},
};
} // namespace

TEST(PeerFigures, RealFilesDecodeToTheIndependentReadersCountsAndExtents) {
    for (const PeerFigures& r : kRecorded) {
        DesignData d;
        decodeDesign(d, r.format, readBytes(std::string(NADELIX_TEST_DATA) + "/" + r.file));
        int moves = 0, changes = 0;
        for (std::size_t i = 0; d.m_StitchCmd[i] != CMD_END; ++i) {
            moves += d.m_StitchCmd[i] == CMD_STITCH;
            changes += d.m_StitchCmd[i] == CMD_COLOR_CHANGE;
        }
        EXPECT_EQ(moves, r.moves) << r.file;
        EXPECT_EQ(changes, r.colorChanges) << r.file;
        EXPECT_EQ(d.m_nColors, r.colorChanges + 1) << r.file;
        EXPECT_EQ((std::array{int{d.m_nMinX}, int{d.m_nMinY}, int{d.m_nMaxX}, int{d.m_nMaxY}}),
                  (std::array{r.minX, r.minY, r.maxX, r.maxY}))
            << r.file;
        if (r.lastThread == 0) { // DST's colours: block k takes PEC thread k + 2
            EXPECT_EQ(d.m_ColorList[static_cast<std::size_t>(r.colorChanges)], r.colorChanges + 2)
                << r.file;
            continue;
        }
        ASSERT_EQ(d.m_ThreadColors.size(), static_cast<std::size_t>(d.m_nColors)) << r.file;
        EXPECT_EQ(d.m_ThreadColors.back(), r.lastThread) << r.file;
    }
}
