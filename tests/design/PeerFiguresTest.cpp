// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Real files of the formats only the thumbnailer draws, against an independent reader's figures.
#include "design/DesignData.h"

#include "TempDir.h"

#include <gtest/gtest.h>

TEST(PeerFigures, RealFilesDecodeToTheIndependentReadersCountsAndExtents) {
    // Moves are the peer's stitches and jumps less the jumps to where the needle is; the
    // last block's thread as 0x00BBGGRR, or none where the format takes DST's colours.
    const struct {
        const char* file;
        StitchFormat format;
        int moves, colorChanges, minX, minY, maxX, maxY;
        ColorRef lastThread;
    } rows[] = {
        {"Hopea.vp3", StitchFormat::Vp3, 4044, 1, -599, -246, 599, 246, 0x2CC5FA},
        {"Cake_3.vp3", StitchFormat::Vp3, 14960, 18, -424, -674, 415, 665, 0xE5E5E5},
        {"220306.vp3", StitchFormat::Vp3, 16617, 8, -588, -428, 589, 428, 0x101C37},
        {"Hopea.exp", StitchFormat::Exp, 4052, 1, -599, -246, 599, 246, 0},
        {"Cake_3.exp", StitchFormat::Exp, 15072, 18, -419, -669, 420, 670, 0},
        {"Bean.exp", StitchFormat::Exp, 322, 1, -250, -250, 250, 250, 0},
    };
    for (const auto& r : rows) {
        DesignData d;
        decodeDesign(d, r.format, readBytes(std::string(NADELIX_TEST_DATA) + "/" + r.file));
        int moves = 0, changes = 0;
        for (std::size_t i = 0; d.m_StitchCmd[i] != CMD_END; ++i) {
            moves += d.m_StitchCmd[i] == CMD_STITCH;
            changes += d.m_StitchCmd[i] == CMD_COLOR_CHANGE;
        }
        EXPECT_EQ(
            (std::array{moves, changes, d.m_nColors - 1, int{d.m_nMinX}, int{d.m_nMinY},
                        int{d.m_nMaxX}, int{d.m_nMaxY}}),
            (std::array{r.moves, r.colorChanges, r.colorChanges, r.minX, r.minY, r.maxX, r.maxY}))
            << r.file;
        if (r.format == StitchFormat::Exp) {
            EXPECT_EQ(d.m_ColorList[std::size_t(r.colorChanges)], r.colorChanges + 2) << r.file;
        } else {
            ASSERT_EQ(d.m_ThreadColors.size(), std::size_t(d.m_nColors)) << r.file;
            EXPECT_EQ(d.m_ThreadColors.back(), r.lastThread) << r.file;
        }
    }
}
