// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The readers as plain functions: fed a file's bytes and a sink over arrays of their own,
// they give what the model shows, and make all the room they write into.
#include "ModelFixture.h"

#include "TempDir.h"
#include "design/Readers.h"

namespace {

struct Case {
    const char* file;
    void (*read)(ByteSpan, DesignSink&);
    void (DesignModel::*member)(int);
};

} // namespace

TEST(ReaderSink, ReadersFillArraysThatStartEmptyExactlyAsTheModelShows) {
    const Case cases[] = {
        {"/HERZ.PES", readPes, &DesignModel::ReadPES},
        {"/BLUME.PEC", readPec, &DesignModel::ReadPEC},
        {"/STERN.DST", readDst, &DesignModel::ReadDST},
        {"/WELLE.PCS", readPcs, &DesignModel::ReadPCS},
        {"/BLUME.SEW", readSew, &DesignModel::ReadSEW},
    };
    for (const Case& c : cases) {
        const auto bytes = readBytes(std::string(NADELIX_EXAMPLES) + c.file);
        CountingModel model;
        (model.*c.member)(putFile(model, bytes));

        // No sizing beforehand: a reader that wrote past its room would fail here under the
        // sanitizers, and the arrays would come out too short.
        std::vector<std::int16_t> x, y;
        std::vector<std::uint8_t> cmd;
        ColorList colorList{};
        PcsColors pcsColors{};
        DesignSink sink(x, y, cmd, colorList, pcsColors, model.m_nColors);
        c.read(ByteSpan(bytes), sink);

        ASSERT_EQ(x.size(), cmd.size()) << c.file;
        ASSERT_EQ(y.size(), cmd.size()) << c.file;
        const auto shown = entriesOf(model);
        ASSERT_LE(shown.size(), cmd.size()) << c.file;
        for (std::size_t i = 0; i < shown.size(); ++i)
            ASSERT_EQ((Entry{x[i], y[i], cmd[i]}), shown[i]) << c.file << " @" << i;
        EXPECT_EQ(colorList, model.m_ColorList) << c.file;
        EXPECT_EQ(pcsColors, model.m_PcsColors) << c.file;
        EXPECT_EQ(sink.colors, model.m_nColors) << c.file;
        EXPECT_EQ(sink.bounds.minX, model.m_nMinX) << c.file;
        EXPECT_EQ(sink.bounds.maxY, model.m_nMaxY) << c.file;
        EXPECT_EQ(sink.width, model.m_nWidth) << c.file;
        EXPECT_EQ(sink.height, model.m_nHeight) << c.file;
    }
}

TEST(ReaderSink, BoundsCompareTheFullValueAndKeepItsLow16Bits) {
    Bounds b;
    b.include(70000, -70000); // low 16 bits: 4464 and -4464
    EXPECT_EQ(b.maxX, 4464);
    EXPECT_EQ(b.minY, -4464);
    // 5000 is below the full value that raised the bound, but above what the bound keeps.
    b.include(5000, 0);
    EXPECT_EQ(b.maxX, 5000);
    EXPECT_EQ(b.minX, 1000); // start value: no point below it
    EXPECT_EQ(b.maxY, 0);
}
