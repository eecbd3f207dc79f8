// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Every real design file of the test data through its reader, checked for what must hold
// of any decoded design.
#include "ModelFixture.h"

#include "TempDir.h"

#include <cstdio>
#include <filesystem>
#include <map>

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
// Decodes a design file through the load dispatch; false for files without stitches.
bool decodeByType(CountingModel& m, const fs::path& path) {
    const int length = putFile(m, readBytes(path.string()));
    return m.DispatchByName(path.filename().string(), length) && m.m_bShowDesign &&
           m.m_bStitchGraphics;
}

// Decodes every design file of a directory; returns how many it decoded.
int decodeAll(const char* directory) {
    int decoded = 0;
    for (const auto& item : fs::directory_iterator(directory)) {
        const std::string name = item.path().filename().string();
        CountingModel m;
        if (!decodeByType(m, item.path()))
            continue;
        ++decoded;
        checkInvariants(m, name, true);
        if (typeOf(item.path()) != ".PCS") {
            EXPECT_EQ(m.m_nColors, 1 + colorChangesOf(m)) << name;
        }
    }
    return decoded;
}

// FNV-1a over everything a reader hands to the model: the entries up to the end entry, the
// colour tables, the bounds and extents and the colour count.
class Digest {
public:
    template <typename T> void add(const T& value) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
        for (std::size_t i = 0; i < sizeof(T); ++i)
            m_hash = (m_hash ^ bytes[i]) * 0x100000001B3ull;
    }
    std::uint64_t value() const { return m_hash; }

private:
    std::uint64_t m_hash = 0xCBF29CE484222325ull;
};

std::uint64_t digestOf(const DesignModel& m) {
    Digest d;
    for (const Entry& e : entriesOf(m)) {
        d.add(static_cast<std::int16_t>(e.x));
        d.add(static_cast<std::int16_t>(e.y));
        d.add(static_cast<std::uint8_t>(e.cmd));
    }
    d.add(m.m_ColorList);
    d.add(m.m_PcsColors);
    for (const int v : {int{m.m_nMinX}, int{m.m_nMaxX}, int{m.m_nMinY}, int{m.m_nMaxY}, m.m_nWidth,
                        m.m_nHeight, m.m_nColors})
        d.add(v);
    return d.value();
}
} // namespace

TEST(SampleFiles, EveryDecodedSampleKeepsTheModelsInvariants) {
    EXPECT_EQ(decodeAll(NADELIX_TEST_DATA), 14);
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

TEST(SampleFiles, EveryRealFileDecodesExactlyAsRecorded) {
    // Recorded once from the readers; a change to a reader that alters any of them alters
    // what users see of a real design.
    const std::map<std::string, std::uint64_t> recorded = {
        {"BLUME.PEC", 0xCB138A6C7B3E978Dull},
        {"BLUME.SEW", 0xA5718B67999560D7ull},
        {"Embroidermodder.DST", 0x037D07F79DD17881ull},
        {"Embroidermodder.PEC", 0xF4C9170D867D575Full},
        {"Embroidermodder.PES", 0x97507F91206C0137ull},
        {"HERZ.PES", 0xB1BAFB8EE54A8C90ull},
        {"Hopea.DST", 0x21F7FE0D76086DC0ull},
        {"Hopea.pec", 0x751C9B5EF3873D32ull},
        {"Hopea.pes", 0x751C9B5EF3873D32ull},
        {"KREIS.PES", 0xFA4CFFE5A4C6F731ull},
        {"STERN.DST", 0x58990572820A2AC5ull},
        {"Star.DST", 0xF747630F261548C0ull},
        {"Star.PCS", 0x250E3A8A44413DBCull},
        {"Star.SEW", 0x134A9CC2242A7A76ull},
        {"Star.pes", 0xDE60136012FA497Dull},
        {"WELLE.PCS", 0x3D864450A6119B96ull},
        {"flowers.pes", 0xA0CE1FA0DA7EA02Aull},
        {"read_sample.pec", 0x1565F7BA229817B8ull},
        {"reorder.pes", 0x245F05A41E44395Dull},
        {"shamrockin.dst", 0xD0BCA89D1D72C09Aull},
    };
    for (const char* directory : {NADELIX_TEST_DATA, NADELIX_EXAMPLES}) {
        for (const auto& item : fs::directory_iterator(directory)) {
            CountingModel m;
            if (!decodeByType(m, item.path()))
                continue;
            const std::string name = item.path().filename().string();
            char line[64];
            std::snprintf(line, sizeof line, "0x%016llXull",
                          static_cast<unsigned long long>(digestOf(m)));
            const auto it = recorded.find(name);
            EXPECT_TRUE(it != recorded.end() && it->second == digestOf(m))
                << "{\"" << name << "\", " << line << "},";
        }
    }
}
