// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "ModelFixture.h"

namespace {

constexpr int kBlock = 100; // where the tests put the first PEC block

// A single-part PES file whose PEC block at kBlock has the given colours and stitch data.
Bytes pesFile(std::vector<std::uint8_t> colors, std::vector<std::uint8_t> stitches) {
    Bytes b;
    b.at(0, {'#', 'P', 'E', 'S', '0', '0', '0', '1'}).at(8, {kBlock, 0, 0});
    b.at(kBlock, {'L', 'A', ':'});
    b.at(kBlock + 48, {static_cast<int>(colors.size()) - 1}).at(kBlock + 49, colors);
    b.at(kBlock + 532, stitches);
    return b;
}

std::vector<Entry> readPes(CountingModel& m, const std::vector<std::uint8_t>& file) {
    m.ReadPES(putFile(m, file));
    return entriesOf(m);
}

} // namespace

TEST(PesReader, DecodesEveryKindOfRecord) {
    CountingModel m;
    auto e = readPes(m, pesFile({7, 9}, {0x05, 0x03, 0x7F, 0x40, 0xFE, 0xB0, 0x02, 0x91, 0x2C, 0x00,
                                         0xFF, 0x00}));
    const std::vector<Entry> want = {{0, 0, CMD_FIRST},
                                     {0, 0, CMD_STITCH},
                                     {5, 3, CMD_STITCH},
                                     {4, -61, CMD_STITCH},
                                     {4, -61, CMD_COLOR_CHANGE},
                                     {304, -61, CMD_STITCH},
                                     kEndEntry};
    EXPECT_EQ(e, want);
    EXPECT_EQ(m.m_nColors, 2);
    EXPECT_EQ(m.m_nMinX, 4);
    EXPECT_EQ(m.m_nMaxX, 304);
    EXPECT_EQ(m.m_nMinY, -61);
    EXPECT_EQ(m.m_nMaxY, 3);
    EXPECT_EQ(m.m_nWidth, 300);
    EXPECT_EQ(m.m_nHeight, 64);
    EXPECT_EQ(m.m_ColorList[0], 7);
    EXPECT_EQ(m.m_ColorList[1], 9);
    EXPECT_EQ(m.m_bShowDesign, 1);
    EXPECT_EQ(m.m_bStitchGraphics, 1);
    EXPECT_EQ(m.m_bSewPalette, 0);
    EXPECT_EQ(m.m_bPcsColors, 0);
    EXPECT_EQ(m.repaints, 1);
}

TEST(PesReader, LongFieldsSpanTwelveSignedBits) {
    const struct {
        std::uint8_t b, c;
        int dx;
    } rows[] = {
        {0xF8, 0x00, -2048}, {0x87, 0xFF, 2047}, {0x80, 0x05, 5},    {0x8F, 0xFF, -1},
        {0xFF, 0x12, -238},  {0xB1, 0x00, 256},  {0xFE, 0x00, -512},
    };
    for (const auto& row : rows) {
        CountingModel m;
        auto e = readPes(m, pesFile({1}, {row.b, row.c, 0x00, 0xFF, 0x00}));
        ASSERT_EQ(e.size(), 4u);
        EXPECT_EQ(e[2], (Entry{row.dx, 0, CMD_STITCH}))
            << std::hex << int(row.b) << " " << int(row.c);
    }
}

TEST(PesReader, ShortFieldsAndSixteenBitWrapAround) {
    CountingModel m;
    // 0x3F is +63, 0x40 is -64; sixteen long moves of +2047 wrap x past 32767.
    std::vector<std::uint8_t> data = {0x3F, 0x40};
    for (int i = 0; i < 16; ++i)
        data.insert(data.end(), {0x87, 0xFF, 0x00});
    data.insert(data.end(), {0xFF, 0x00});
    auto e = readPes(m, pesFile({1}, data));
    EXPECT_EQ(e[2], (Entry{63, -64, CMD_STITCH}));
    EXPECT_EQ(e[2 + 16].x, static_cast<std::int16_t>(63 + 16 * 2047));
    EXPECT_EQ(m.m_nMaxX, 63 + 15 * 2047); // the largest x before the wrap
}

TEST(PesReader, RecordsCutShortByTheEndReadZeros) {
    CountingModel m;
    // The file ends right after a long x field's first byte: its second byte and y read as 0.
    auto file = pesFile({1}, {0x81});
    auto e = readPes(m, file);
    EXPECT_EQ(e, (std::vector<Entry>{{0, 0, 0}, {0, 0, 1}, {256, 0, CMD_STITCH}, kEndEntry}));

    // Without an end record the data simply runs out.
    CountingModel n;
    e = readPes(n, pesFile({1}, {0x01, 0x02, 0x03, 0x04}));
    EXPECT_EQ(e.size(), 5u);
    EXPECT_EQ(e[3], (Entry{4, 6, CMD_STITCH}));
}

TEST(PesReader, StaleBytesBehindTheLengthAreNeverDecoded) {
    CountingModel m;
    std::vector<std::uint8_t> big(200000, 0x01);
    m.ReadPES(putFile(m, big));
    const auto bufferSize = m.m_FileData.size();
    EXPECT_EQ(bufferSize, 200001u);

    auto small = pesFile({3}, {0x05, 0x05});
    auto e = readPes(m, small);
    EXPECT_EQ(m.m_FileData.size(), bufferSize); // the buffer never shrinks
    EXPECT_EQ(e, (std::vector<Entry>{{0, 0, 0}, {0, 0, 1}, {5, 5, CMD_STITCH}, kEndEntry}));
}

TEST(PesReader, AFileTooShortForItsStitchDataYieldsAnEmptyDesign) {
    for (int length : {0, 12, kBlock + 532}) {
        CountingModel m;
        auto file = pesFile({1}, {}).size(static_cast<std::size_t>(length));
        auto e = readPes(m, file);
        EXPECT_EQ(e, (std::vector<Entry>{{0, 0, 0}, {0, 0, 1}, kEndEntry})) << length;
        EXPECT_EQ(m.m_nWidth, -2000);
        EXPECT_EQ(m.m_nHeight, -2000);
        EXPECT_EQ(m.m_nMinX, 1000);
        EXPECT_EQ(m.m_nColors, 1);
    }
}

TEST(PesReader, OnlyVersions25And30LookForFurtherParts) {
    for (const char* version : {"0001", "0020", "0026", "0100"}) {
        CountingModel m;
        Bytes file = pesFile({1}, {0x01, 0x01, 0xFF, 0x00});
        file.at(4, {version[0], version[1], version[2], version[3]}).at(12, {5});
        auto e = readPes(m, file);
        EXPECT_EQ(e.size(), 4u) << version;
        EXPECT_EQ(m.m_nWidth, 0) << version; // a single part: its own bounds
    }
}

namespace {
// A multi-part file: header version digits, declared part count, and blocks at given offsets.
struct Part {
    int offset;
    std::vector<std::uint8_t> colors;
    std::vector<std::uint8_t> stitches;
};
Bytes multiPart(const char* digits, int declared, const std::vector<Part>& parts) {
    Bytes b;
    b.at(0, {'#', 'P', 'E', 'S', '0', '0', digits[0], digits[1]});
    b.at(8, {parts[0].offset & 0xFF, (parts[0].offset >> 8) & 0xFF, parts[0].offset >> 16});
    b.at(12, {declared});
    for (const Part& p : parts) {
        b.at(static_cast<std::size_t>(p.offset), {'L', 'A', ':'});
        b.at(static_cast<std::size_t>(p.offset) + 48, {static_cast<int>(p.colors.size()) - 1});
        b.at(static_cast<std::size_t>(p.offset) + 49, p.colors);
        b.at(static_cast<std::size_t>(p.offset) + 532, p.stitches);
    }
    return b;
}
} // namespace

TEST(PesReader, PartsAreStackedAtTheLeftEdgeOneBelowTheOther) {
    CountingModel m;
    // Part 1: stitches (10,5) and (30,25): bounds x 10..30, y 5..25, height 20.
    // Part 2: stitches (-5,-5), colour change, (15,-5): bounds x -5..15, y -5..-5, height 0.
    auto file = multiPart("30", 2,
                          {{40, {4, 5}, {10, 5, 20, 20, 0xFF, 0x00}},
                           {700, {6, 7}, {0x7B, 0x7B, 0xFE, 0xB0, 0x00, 20, 0, 0xFF, 0x00}}});
    auto e = readPes(m, file);
    const std::vector<Entry> want = {
        {-10, -5, CMD_FIRST}, // entries 0 and 1 move with the first part
        {-10, -5, CMD_STITCH},      {0, 0, CMD_STITCH},         {20, 20, CMD_STITCH},
        {30, 25, CMD_COLOR_CHANGE}, // unshifted last position of part 1
        {0, 20, CMD_STITCH},        // part 2 shifted by (5, 5) and down by 20
        {-5, -5, CMD_COLOR_CHANGE}, // colour changes inside a part keep their coordinates
        {20, 20, CMD_STITCH},       {15, -5, CMD_COLOR_CHANGE}, kEndEntry,
    };
    EXPECT_EQ(e, want);
    EXPECT_EQ(m.m_nWidth, 1000);
    EXPECT_EQ(m.m_nHeight, 20);
    EXPECT_EQ(m.m_nMinX, 0);
    EXPECT_EQ(m.m_nMinY, 0);
    EXPECT_EQ(m.m_nColors, 4);
    EXPECT_EQ(std::vector<int>(m.m_ColorList.begin(), m.m_ColorList.begin() + 4),
              (std::vector<int>{4, 5, 6, 7}));
}

TEST(PesReader, APartTheSearchDoesNotFindIsLeftOut) {
    CountingModel m;
    // Version 30 declares three parts; only one further block follows 40 bytes on.
    auto file = multiPart("30", 3, {{40, {1}, {4, 4, 0xFF, 0x00}}, {80, {2}, {}}});
    file.size(80 + 532); // the second part's stitch data would start at the very end
    auto e = readPes(m, file);
    // Part 1 (one stitch at (4,4), height 0), then part 2 without entries.
    const std::vector<Entry> want = {{-4, -4, 0},
                                     {-4, -4, 1},
                                     {0, 0, CMD_STITCH},
                                     {4, 4, CMD_COLOR_CHANGE},
                                     {0, 0, CMD_COLOR_CHANGE},
                                     kEndEntry};
    EXPECT_EQ(e, want);
    EXPECT_EQ(m.m_nColors, 3);
    // A part without stitches keeps the start bounds: the offset drops by 2000.
    EXPECT_EQ(m.m_nHeight, -2000);
}

TEST(PesReader, AMultiPartCandidateWithoutFurtherBlocksIsStillLaidOutAsParts) {
    CountingModel m;
    auto file = multiPart("25", 2, {{40, {1}, {10, 10, 0x3F, 0x00, 0xFF, 0x00}}});
    auto e = readPes(m, file);
    EXPECT_EQ(e[2], (Entry{0, 0, CMD_STITCH}));
    EXPECT_EQ(e[3], (Entry{63, 0, CMD_STITCH}));
    EXPECT_EQ(m.m_nWidth, 1000);
    EXPECT_EQ(m.m_nHeight, 0);
}

namespace {
// 255 declared parts, block markers every 64 bytes inside stitch data that has no end record:
// every part would decode the rest of the file again.
Bytes overlappingParts(std::size_t markers) {
    Bytes file;
    file.at(0, {'#', 'P', 'E', 'S', '0', '0', '3', '0', 40, 0, 0, 0, 255});
    std::vector<std::uint8_t> run(64 * markers, 0x01);
    for (std::size_t i = 0; i < run.size(); i += 64)
        run[i] = 'L', run[i + 1] = 'A', run[i + 2] = ':';
    return file.at(40 + 532, run);
}
} // namespace

TEST(PesReader, OverlappingPartsGrowTheEntriesInsteadOfOverrunningThem) {
    CountingModel m;
    // Parts over the same bytes: more entries than length / 2 and than the arrays start with.
    const Bytes file = overlappingParts(1600);
    auto e = readPes(m, file);
    EXPECT_EQ(e.back(), kEndEntry);
    EXPECT_GT(e.size(), std::max<std::size_t>(file.data().size() / 2, 50000));
    EXPECT_EQ(m.m_StitchX.size(), m.m_StitchCmd.size());
    EXPECT_EQ(m.m_StitchY.size(), m.m_StitchCmd.size());
}

TEST(PesReader, PartsDecodingTheSameBytesAgainStopAtWhatTheFileCanHold) {
    CountingModel m;
    const Bytes file = overlappingParts(400);
    auto e = readPes(m, file);
    EXPECT_EQ(e.back(), kEndEntry);
    EXPECT_LE(e.size(), file.data().size());
}

TEST(PesReader, ColourTablesBeyondTheListAreDropped) {
    CountingModel m;
    std::vector<std::uint8_t> colors(200);
    for (int i = 0; i < 200; ++i)
        colors[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i + 1);
    readPes(m, pesFile(colors, {0xFF, 0x00}));
    EXPECT_EQ(m.m_ColorList[0], 1);
    EXPECT_EQ(m.m_ColorList[63], 64);
}

TEST(PesReader, ColourEntriesTheFileDoesNotSupplyKeepEarlierValues) {
    CountingModel m;
    readPes(m, pesFile({1, 2, 3, 4}, {0xFF, 0x00}));
    readPes(m, pesFile({9}, {0xFF, 0x00}));
    EXPECT_EQ(m.m_ColorList[0], 9);
    EXPECT_EQ(m.m_ColorList[1], 2);
    EXPECT_EQ(m.m_ColorList[3], 4);
}
