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
    // HUS and VIP keep every stitch and jump, to where the needle is as well.
    {"Embroidermodder.HUS", StitchFormat::Hus, 3423, 0, -1111, -259, 1114, 255, 0x840000},
    {"Star.HUS", StitchFormat::Hus, 2555, 1, -295, -311, 296, 312, 0xFFFFFF},
    // The peer has no VIP reader: its HUS reader's figures on the VIP streams, and the threads
    // as stored (Star.HUS names the same white).
    {"Star.VIP", StitchFormat::Vip, 2542, 1, -295, -311, 296, 312, 0xF7F3F7},
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

// A file cut short, as downloads and full sticks leave them, decodes to the whole file's
// first entries: a reader that takes a header field or a record from bytes that are no
// longer there would move the needle elsewhere. Only the last entry may differ, from the
// record the cut went through. The compressed formats lose whole streams and are left to
// the fuzzers.
TEST(PeerFigures, ACutFileDecodesToTheWholeFilesFirstEntries) {
    for (const PeerFigures& r : kRecorded) {
        if (r.format == StitchFormat::Hus || r.format == StitchFormat::Vip)
            continue;
        const auto bytes = readBytes(std::string(NADELIX_TEST_DATA) + "/" + r.file);
        DesignData whole;
        decodeDesign(whole, r.format, bytes);
        for (int eighth = 1; eighth < 8; ++eighth) {
            const std::size_t kept = bytes.size() * static_cast<std::size_t>(eighth) / 8;
            DesignData cut;
            decodeDesign(cut, r.format, {bytes.data(), kept});
            std::size_t n = 0;
            while (cut.m_StitchCmd[n] != CMD_END)
                ++n;
            for (std::size_t i = 0; i + 1 < n; ++i) {
                ASSERT_EQ((std::array{int{cut.m_StitchCmd[i]}, int{cut.m_StitchX[i]},
                                      int{cut.m_StitchY[i]}}),
                          (std::array{int{whole.m_StitchCmd[i]}, int{whole.m_StitchX[i]},
                                      int{whole.m_StitchY[i]}}))
                    << r.file << " cut to " << kept << " bytes, entry " << i;
            }
        }
    }
}
