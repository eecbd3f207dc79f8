// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Every real design file of the test data through its reader, checked for what must hold
// of any decoded design.
#include "ModelFixture.h"

#include "TempDir.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string typeOf(const fs::path& p) {
    std::string ext = p.extension().string();
    for (char& c : ext)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return ext;
}

void checkInvariants(const DesignModel& m, const std::string& name, bool firstAtOrigin) {
    ASSERT_EQ(m.m_StitchX.size(), m.m_StitchCmd.size()) << name;
    ASSERT_EQ(m.m_StitchY.size(), m.m_StitchCmd.size()) << name;
    EXPECT_EQ(m.m_StitchCmd[0], CMD_FIRST) << name;
    if (firstAtOrigin) {
        EXPECT_EQ(m.m_StitchX[0], 0) << name;
        EXPECT_EQ(m.m_StitchY[0], 0) << name;
    }
    std::size_t end = 0;
    while (end < m.m_StitchCmd.size() && m.m_StitchCmd[end] != CMD_END)
        ++end;
    ASSERT_LT(end, m.m_StitchCmd.size()) << name << ": no end entry";
    EXPECT_EQ(m.m_StitchX[end], END_MARK) << name;
    EXPECT_GT(end, 10u) << name << ": suspiciously few entries";
    for (std::size_t i = 1; i < end; ++i) {
        const auto cmd = m.m_StitchCmd[i];
        if (cmd == CMD_COLOR_CHANGE ||
            (i == 1 && cmd == CMD_STITCH && m.m_StitchX[1] == 0 && m.m_StitchY[1] == 0))
            continue;
        EXPECT_TRUE(m.m_StitchX[i] >= m.m_nMinX && m.m_StitchX[i] <= m.m_nMaxX)
            << name << " @" << i;
        EXPECT_TRUE(m.m_StitchY[i] >= m.m_nMinY && m.m_StitchY[i] <= m.m_nMaxY)
            << name << " @" << i;
    }
    EXPECT_GT(m.m_nWidth, 0) << name;
    EXPECT_GT(m.m_nHeight, 0) << name;
}

int colorChangesOf(const DesignModel& m) {
    int n = 0;
    for (std::size_t i = 0; m.m_StitchCmd[i] != CMD_END; ++i)
        n += m.m_StitchCmd[i] == CMD_COLOR_CHANGE;
    return n;
}

} // namespace

namespace {
// Decodes every design file of a directory; returns how many it decoded.
int decodeAll(const char* directory) {
    int decoded = 0;
    for (const auto& item : fs::directory_iterator(directory)) {
        const std::string type = typeOf(item.path());
        const std::string name = item.path().filename().string();
        CountingModel m;
        const int length = putFile(m, readBytes(item.path().string()));
        if (type == ".PES")
            m.ReadPES(length);
        else if (type == ".PEC")
            m.ReadPEC(length);
        else if (type == ".DST")
            m.ReadDST(length);
        else if (type == ".PCS")
            m.ReadPCS(length);
        else if (type == ".SEW")
            m.ReadSEW(length);
        else
            continue;
        ++decoded;
        checkInvariants(m, name, true);
        if (type != ".PCS") {
            EXPECT_EQ(m.m_nColors, 1 + colorChangesOf(m)) << name;
        }
    }
    return decoded;
}
} // namespace

TEST(SampleFiles, EveryDecodedSampleKeepsTheModelsInvariants) {
    EXPECT_EQ(decodeAll(NADELIX_TEST_DATA), 27);
}

TEST(SampleFiles, TheExamplesForNewUsersDecode) {
    EXPECT_EQ(decodeAll(NADELIX_EXAMPLES), 6);
}

TEST(SampleFiles, APesFileAndItsPecBlockGiveTheSameDesign) {
    // A real PEC file, and a single-part PES file built around the same block.
    const auto pec = readBytes(std::string(NADELIX_TEST_DATA) + "/Hopea.pec");
    std::vector<std::uint8_t> pes(16, 0);
    pes[0] = '#', pes[1] = 'P', pes[2] = 'E', pes[3] = 'S', pes[8] = 16;
    pes.insert(pes.end(), pec.begin() + 8, pec.end());

    CountingModel a, b;
    a.ReadPEC(putFile(a, pec));
    b.ReadPES(putFile(b, pes));
    EXPECT_EQ(entriesOf(a), entriesOf(b));
    EXPECT_EQ(a.m_ColorList, b.m_ColorList);
    EXPECT_EQ(a.m_nMinX, b.m_nMinX);
    EXPECT_EQ(a.m_nMaxY, b.m_nMaxY);
    EXPECT_EQ(a.m_nWidth, b.m_nWidth);
    EXPECT_EQ(a.m_nHeight, b.m_nHeight);
    EXPECT_EQ(a.m_nColors, b.m_nColors);
}
