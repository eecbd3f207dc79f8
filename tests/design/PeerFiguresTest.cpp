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
    {"Star.JEF", StitchFormat::Jef, 2543, 1, -295, -311, 296, 312, 0xF2FFFF},
    {"Hopea.vp3", StitchFormat::Vp3, 4044, 1, -599, -246, 599, 246, 0x2CC5FA},
    {"Hopea.exp", StitchFormat::Exp, 4052, 1, -599, -246, 599, 246, 0},
    {"Star.EXP", StitchFormat::Exp, 2555, 1, -295, -311, 296, 312, 0},
    {"Embroidermodder.EXP", StitchFormat::Exp, 3484, 0, -1111, -259, 1114, 255, 0},
    // Both open with a jump by nothing: the peer's count leaves it out as a jump to where the
    // needle is, the reader keeps it as a move.
    {"Star.XXX", StitchFormat::Xxx, 2545, 1, -295, -311, 296, 312, 0xF7F3F7},
    {"Embroidermodder.XXX", StitchFormat::Xxx, 3412, 0, -1111, -259, 1114, 255, 0x940818},
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
