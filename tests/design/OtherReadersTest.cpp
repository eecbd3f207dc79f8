// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// PEC, DST, PCS and SEW readers: the record kinds, signs, cut-short records and end rules.
#include "ModelFixture.h"

#include <climits>

namespace {

std::vector<Entry> read(CountingModel& m, void (DesignModel::*reader)(int),
                        const std::vector<std::uint8_t>& file) {
    (m.*reader)(putFile(m, file));
    return entriesOf(m);
}

const Entry kFirst{0, 0, CMD_FIRST};
const Entry kSecond{0, 0, CMD_STITCH};

} // namespace

// --- PEC ---------------------------------------------------------------------------------

TEST(PecReader, ColourTableAndStitchData) {
    CountingModel m;
    Bytes file;
    file.at(56, {2, 5, 12, 33}).at(540, {0x0A, 0x14, 0xFE, 0xB0, 0x01, 0x76, 0x6C, 0xFF, 0x00});
    const auto e = read(m, &DesignModel::ReadPEC, file);
    const std::vector<Entry> want = {
        kFirst,   kSecond, {10, 20, CMD_STITCH}, {10, 20, CMD_COLOR_CHANGE}, {0, 0, CMD_STITCH},
        kEndEntry};
    EXPECT_EQ(e, want);
    EXPECT_EQ(m.m_ColorList[0], 5);
    EXPECT_EQ(m.m_ColorList[1], 12);
    EXPECT_EQ(m.m_ColorList[2], 33);
    EXPECT_EQ(m.m_nMinX, 0);
    EXPECT_EQ(m.m_nMaxX, 10);
    EXPECT_EQ(m.m_nMaxY, 20);
    EXPECT_EQ(m.m_nWidth, 10);
    EXPECT_EQ(m.m_nHeight, 20);
    EXPECT_EQ(m.m_nColors, 2);
    EXPECT_EQ(m.repaints, 1);
}

TEST(PecReader, TheByteAt540AloneIsOneRecordUnlessItEndsTheData) {
    const struct {
        std::uint8_t b;
        std::vector<Entry> want;
    } rows[] = {
        {0x05, {kFirst, kSecond, {5, 0, CMD_STITCH}, kEndEntry}},
        {0x92, {kFirst, kSecond, {512, 0, CMD_STITCH}, kEndEntry}}, // long field, 0 after it
        {0xFF, {kFirst, kSecond, kEndEntry}},                       // FF 00: the end record
    };
    for (const auto& row : rows) {
        CountingModel m;
        EXPECT_EQ(read(m, &DesignModel::ReadPEC, Bytes().at(540, {row.b})), row.want) << int(row.b);
    }
}

TEST(PecReader, LongRunsOfShortRecordsAddUpAsOneRecordAtATime) {
    // Short records are decoded several at once: a run of them with every sign and size,
    // broken by long records at different places in a group, must add up record by record.
    Bytes file;
    std::size_t at = 540;
    std::vector<Entry> want = {kFirst, kSecond};
    int x = 0, y = 0, minX = INT_MAX, maxX = INT_MIN, minY = INT_MAX, maxY = INT_MIN;
    for (int i = 0; i < 45; ++i) {
        const bool longX = i == 5 || i == 14 || i == 31;
        const int dx = longX ? (i * 97) % 4096 - 2048 : (i * 37) % 128 - 64;
        const int dy = (i * 53) % 128 - 64;
        if (longX)
            file.at(at, {0x80 | ((dx >> 8) & 0x0F), dx & 0xFF}), at += 2;
        else
            file.at(at++, {dx & 0x7F});
        file.at(at++, {dy & 0x7F});
        x += dx, y += dy;
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
        want.push_back({x, y, CMD_STITCH});
    }
    file.at(at, {0xFF, 0x00});
    want.push_back(kEndEntry);
    CountingModel m;
    EXPECT_EQ(read(m, &DesignModel::ReadPEC, file), want);
    EXPECT_EQ((std::vector{int{m.m_nMinX}, int{m.m_nMaxX}, int{m.m_nMinY}, int{m.m_nMaxY}}),
              (std::vector{minX, maxX, minY, maxY}));
}

TEST(PecReader, FilesWithoutStitchDataGiveAnEmptyDesign) {
    for (std::size_t length : {0u, 100u, 540u}) {
        CountingModel m;
        const auto e = read(m, &DesignModel::ReadPEC, Bytes().size(length));
        EXPECT_EQ(e, (std::vector<Entry>{kFirst, kSecond, kEndEntry}));
        EXPECT_EQ(m.m_nWidth, -2000);
        EXPECT_EQ(m.m_nHeight, -2000);
    }
}

TEST(PecReader, AColourCountAbove63FillsTheListAndNoMore) {
    CountingModel m;
    Bytes file;
    file.at(56, {255});
    for (int i = 0; i < 256; ++i)
        file.at(static_cast<std::size_t>(57 + i), {i ^ 0x55});
    read(m, &DesignModel::ReadPEC, file.size(600));
    EXPECT_EQ(m.m_ColorList[0], 0x55);
    EXPECT_EQ(m.m_ColorList[63], 63 ^ 0x55);
}

// --- DST ---------------------------------------------------------------------------------

namespace {
Bytes dst(std::initializer_list<int> records) {
    return Bytes().at(512, records);
}
} // namespace

TEST(DstReader, EveryDisplacementBitHasItsWeight) {
    const struct {
        std::uint8_t b0, b1, b2;
        int x, y; // in the model: the file's y negated
    } rows[] = {
        {0x01, 0, 0, 1, 0},       {0x02, 0, 0, -1, 0},          {0x04, 0, 0, 9, 0},
        {0x08, 0, 0, -9, 0},      {0x10, 0, 0, 0, 9},           {0x20, 0, 0, 0, -9},
        {0x40, 0, 0, 0, 1},       {0x80, 0, 0, 0, -1},          {0, 0x01, 0, 3, 0},
        {0, 0x02, 0, -3, 0},      {0, 0x04, 0, 27, 0},          {0, 0x08, 0, -27, 0},
        {0, 0x10, 0, 0, 27},      {0, 0x20, 0, 0, -27},         {0, 0x40, 0, 0, 3},
        {0, 0x80, 0, 0, -3},      {0, 0, 0x04, 81, 0},          {0, 0, 0x08, -81, 0},
        {0, 0, 0x10, 0, 81},      {0, 0, 0x20, 0, -81},         {0x81, 0, 0, 1, -1},
        {0x03, 0, 0, 0, 0},       {0, 0, 0x83, 0, 0}, // jump bit: a stitch
        {0xFF, 0xFF, 0x3F, 0, 0}, {0x55, 0x55, 0x14, 121, 121},
    };
    for (const auto& row : rows) {
        CountingModel m;
        const auto e = read(m, &DesignModel::ReadDST, dst({row.b0, row.b1, row.b2}));
        ASSERT_EQ(e.size(), 4u);
        EXPECT_EQ(e[2], (Entry{row.x, row.y, CMD_STITCH}))
            << std::hex << int(row.b0) << " " << int(row.b1) << " " << int(row.b2);
    }
}

TEST(DstReader, ColourChangesEndAndColourList) {
    CountingModel m;
    m.m_ColorList.fill(99);
    // stitch, colour change with bits that must not move, stitch, colour change, end, stitch
    const auto e =
        read(m, &DesignModel::ReadDST,
             dst({0x01, 0, 0, 0x07, 0, 0xC3, 0x01, 0, 0, 0, 0, 0xC0, 0, 0, 0xF3, 0x01, 0, 0}));
    const std::vector<Entry> want = {kFirst,
                                     kSecond,
                                     {1, 0, CMD_STITCH},
                                     {1, 0, CMD_COLOR_CHANGE},
                                     {2, 0, CMD_STITCH},
                                     {2, 0, CMD_COLOR_CHANGE},
                                     kEndEntry};
    EXPECT_EQ(e, want);
    EXPECT_EQ(m.m_nColors, 3);
    EXPECT_EQ(m.m_ColorList[0], 2);
    EXPECT_EQ(m.m_ColorList[1], 3);
    EXPECT_EQ(m.m_ColorList[2], 4);
    EXPECT_EQ(m.m_ColorList[3], 99);
}

TEST(DstReader, BoundsTakeInTheStitchesOnlyWhereverTheyLie) {
    // The bounds are taken from the written entries afterwards, several at a time: colour
    // changes before the first stitch (at the origin) stay out, and an extreme counts whether
    // it lies in a full group of entries or in the few after the last one.
    for (int leadingChanges : {0, 1, 2, 9}) {
        for (int extremeAt : {0, 5, 12}) {
            std::vector<std::uint8_t> records;
            for (int i = 0; i < leadingChanges; ++i)
                records.insert(records.end(), {0, 0, 0xC3});
            records.insert(records.end(), {0x04, 0x10, 0}); // to (9, 27): away from the origin
            for (int i = 1; i < 13; ++i)                    // +1 x, or -9 x and +81 y once
                records.insert(records.end(),
                               {static_cast<std::uint8_t>(i == extremeAt ? 0x08 : 0x01), 0,
                                static_cast<std::uint8_t>(i == extremeAt ? 0x10 : 0)});
            CountingModel m;
            const auto e = read(m, &DesignModel::ReadDST, Bytes().at(512, records));
            Bounds want;
            for (const Entry& entry : e)
                if (entry.cmd == CMD_STITCH && &entry >= &e[2])
                    want.include(entry.x, entry.y);
            EXPECT_EQ((std::vector{int{m.m_nMinX}, int{m.m_nMaxX}, int{m.m_nMinY}, int{m.m_nMaxY}}),
                      (std::vector{int{want.minX}, int{want.maxX}, int{want.minY}, int{want.maxY}}))
                << leadingChanges << " " << extremeAt;
            EXPECT_GT(m.m_nMinX, 0) << leadingChanges << " " << extremeAt;
        }
    }
}

TEST(DstReader, RecordsCutShortAndShortFiles) {
    CountingModel a;
    EXPECT_EQ(read(a, &DesignModel::ReadDST, dst({0x01, 0x01, 0x00})).size(), 4u); // 515 bytes
    CountingModel b;
    // 514 bytes: the third byte reads as 0, a stitch.
    EXPECT_EQ(read(b, &DesignModel::ReadDST, dst({0x01, 0x01})),
              (std::vector<Entry>{kFirst, kSecond, {4, 0, CMD_STITCH}, kEndEntry}));
    CountingModel c;
    // 513 bytes: 01 then two zeros.
    EXPECT_EQ(read(c, &DesignModel::ReadDST, dst({0x01}))[2], (Entry{1, 0, CMD_STITCH}));
    for (std::size_t length : {0u, 3u, 512u}) {
        CountingModel m;
        EXPECT_EQ(read(m, &DesignModel::ReadDST, Bytes().size(length)),
                  (std::vector<Entry>{kFirst, kSecond, kEndEntry}));
        EXPECT_EQ(m.m_nColors, 1);
        EXPECT_EQ(m.m_nWidth, -2000);
    }
    CountingModel end;
    EXPECT_EQ(read(end, &DesignModel::ReadDST, dst({0, 0, 0xF3})),
              (std::vector<Entry>{kFirst, kSecond, kEndEntry}));
}

TEST(DstReader, PositionsKeepTheirLowSixteenBits) {
    // 300 moves of +121 in x: 36300, stored as 36300 - 65536.
    std::vector<std::uint8_t> records;
    for (int i = 0; i < 300; ++i)
        records.insert(records.end(), {0x05, 0x05, 0x04});
    CountingModel m;
    const auto e = read(m, &DesignModel::ReadDST, Bytes().at(512, records));
    EXPECT_EQ(e[301].x, 36300 - 65536);
    EXPECT_EQ(m.m_nMaxX, 32670); // 270 x 121, the last value below the wrap
}

TEST(DstReader, ALongFileKeepsBothCoordinatesOfEveryRecord) {
    // 70,000 records, every third one moving (1, 0), the others (121, -117) in the model: far
    // past every wrap of either coordinate, at no multiple of 65,536 in either.
    const int n = 70000;
    std::vector<std::uint8_t> records;
    for (int i = 0; i < n; ++i)
        records.insert(records.end(), i % 3 == 0
                                          ? std::initializer_list<std::uint8_t>{1, 0, 0}
                                          : std::initializer_list<std::uint8_t>{0x25, 0x25, 0x24});
    CountingModel m;
    const auto e = read(m, &DesignModel::ReadDST, Bytes().at(512, records));
    ASSERT_EQ(e.size(), static_cast<std::size_t>(n + 3));
    int wrong = 0;
    std::int16_t x = 0, y = 0;
    for (int i = 0; i < n; ++i) {
        x = static_cast<std::int16_t>(x + (i % 3 == 0 ? 1 : 121));
        y = static_cast<std::int16_t>(y + (i % 3 == 0 ? 0 : -117));
        wrong += e[static_cast<std::size_t>(i + 2)] != Entry{x, y, CMD_STITCH};
    }
    EXPECT_EQ(wrong, 0);
}

TEST(DstReader, MoreThan64BlocksFillTheListAndNoMore) {
    std::vector<std::uint8_t> records;
    for (int i = 0; i < 100; ++i)
        records.insert(records.end(), {0, 0, 0xC3});
    CountingModel m;
    read(m, &DesignModel::ReadDST, Bytes().at(512, records));
    EXPECT_EQ(m.m_nColors, 101);
    EXPECT_EQ(m.m_ColorList[63], 65);
}

// --- PCS ---------------------------------------------------------------------------------

namespace {
// A PCS file with the given stitch count and records (x, y raw values and type).
struct PcsRecord {
    std::int32_t x, y;
    int type;
};
Bytes pcs(int count, std::initializer_list<PcsRecord> records) {
    Bytes b;
    b.at(68, {count & 0xFF, count >> 8});
    std::size_t at = 70;
    for (const auto& r : records) {
        for (std::int32_t v : {r.x, r.y})
            b.at(at, {v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF, (v >> 24) & 0xFF}), at += 4;
        b.at(at++, {r.type});
    }
    return b;
}
} // namespace

TEST(PcsReader, CoordinatesAreRelativeToTheFirstStitchInTenthsOfAMillimetre) {
    CountingModel m;
    const auto e = read(m, &DesignModel::ReadPCS,
                        pcs(4, {{5000, 7000, 0},
                                {5000 + 3840, 7000 + 1536, 0},
                                {5000 - 100, 7000 - 100, 0},
                                {5000 - 1537, 7000, 0}}));
    const std::vector<Entry> want = {kFirst,
                                     {0, 0, CMD_STITCH},
                                     {25, -10, CMD_STITCH},
                                     {0, 0, CMD_STITCH}, // -1000/1536 is 0
                                     {-10, 0, CMD_STITCH},
                                     kEndEntry};
    EXPECT_EQ(e, want);
    EXPECT_EQ(m.m_bPcsColors, 1);
    EXPECT_EQ(m.m_bSewPalette, 0);
    EXPECT_EQ(m.m_nWidth, 35);
    EXPECT_EQ(m.m_nHeight, 10);
}

TEST(PcsReader, ColourTableAndColourChanges) {
    CountingModel m;
    m.m_nColors = 42;
    Bytes file = pcs(3, {{0, 0, 0}, {5, 0, 3}, {0, 0, 0}, {2, 0, 3}, {0, 0, 0}});
    file.at(4, {0x11, 0x22, 0x33, 0x00, 0xAA, 0xBB, 0xCC, 0xDD});
    const auto e = read(m, &DesignModel::ReadPCS, file);
    EXPECT_EQ(e.size(), 7u);
    EXPECT_EQ(e[2], (Entry{0, 0, CMD_COLOR_CHANGE}));
    EXPECT_EQ(m.m_ColorList[0], 5);
    EXPECT_EQ(m.m_ColorList[1], 2);
    EXPECT_EQ(m.m_PcsColors[0], 0x332211u);
    EXPECT_EQ(m.m_PcsColors[1], 0xCCBBAAu); // the fourth byte is not a colour
    EXPECT_EQ(m.m_PcsColors[2], 0u);
    EXPECT_EQ(m.m_nColors, 42); // left as the previous reader left it
}

TEST(PcsReader, TheCountEndsTheLoopAtTheNextRecord) {
    CountingModel m;
    // Count 2: stitch, colour change, stitch, then a stitch that is not read.
    auto e =
        read(m, &DesignModel::ReadPCS, pcs(2, {{0, 0, 0}, {7, 0, 3}, {1536, 0, 0}, {3072, 0, 0}}));
    EXPECT_EQ(e, (std::vector<Entry>{
                     kFirst, {0, 0, 1}, {0, 0, CMD_COLOR_CHANGE}, {10, 0, 1}, kEndEntry}));
    // A colour change before any stitch sits at (0, 0); one after the count is not read.
    CountingModel n;
    n.m_ColorList[1] = 77;
    e = read(n, &DesignModel::ReadPCS, pcs(1, {{9, 0, 3}, {100, 100, 0}, {4, 0, 3}}));
    EXPECT_EQ(e.size(), 4u);
    EXPECT_EQ(n.m_ColorList[0], 9);
    EXPECT_EQ(n.m_ColorList[1], 77);
}

TEST(PcsReader, NoRecordsMeansOnlyTheFirstAndTheEndEntry) {
    for (const Bytes& file : {Bytes().size(0), Bytes().size(70), pcs(0, {{5, 5, 0}, {9, 9, 0}})}) {
        CountingModel m;
        EXPECT_EQ(read(m, &DesignModel::ReadPCS, file), (std::vector<Entry>{kFirst, kEndEntry}));
        EXPECT_EQ(m.m_nWidth, -2000);
    }
}

TEST(PcsReader, DifferencesWrapInThirtyTwoBitsAndBoundsCompareFullValues) {
    CountingModel m;
    // From -2^31 + 10 to 2^31 - 10 the difference wraps to -20; times ten, over 1536: 0.
    const auto e = read(
        m, &DesignModel::ReadPCS,
        pcs(3, {{INT32_MIN + 10, 0, 0}, {INT32_MAX - 9, 0, 0}, {INT32_MIN + 10 + 7000000, 0, 0}}));
    EXPECT_EQ(e[2], (Entry{0, 0, CMD_STITCH}));
    // 7,000,000 x 10 / 1536 = 45572: beyond 16 bits; the bound takes its low 16 bits.
    EXPECT_EQ(e[3].x, static_cast<std::int16_t>(45572));
    EXPECT_EQ(m.m_nMaxX, static_cast<std::int16_t>(45572));
}

TEST(PcsReader, GroupsOfStitchesDecodeAsEachStitchAlone) {
    // Stitches are decoded several at once: raw values around multiples of the unit, on both
    // sides of zero and at the ends of the 32-bit range must each give what one stitch gives,
    // (raw - first) x 10 / 1536 truncated, with wrap-around, y upwards.
    const std::int32_t raws[] = {0,         1535,     -1535,          1536,      -1537,
                                 3071,      -4608,    7000000,        -7000000,  INT32_MAX,
                                 INT32_MIN, 1 << 22,  -(1 << 22) - 7, 214748364, -214748365,
                                 12345678,  -87654321};
    std::vector<PcsRecord> records;
    std::vector<Entry> want = {kFirst};
    for (std::size_t i = 0; i < std::size(raws); ++i) {
        const std::int32_t rx = raws[i], ry = raws[(i * 7 + 3) % std::size(raws)];
        records.push_back({rx, ry, 0});
        const auto tenths = [&](std::int32_t raw, std::int32_t first) {
            const auto d = static_cast<std::uint32_t>(raw) - static_cast<std::uint32_t>(first);
            return static_cast<std::int32_t>(d * 10u) / 1536;
        };
        want.push_back({static_cast<std::int16_t>(tenths(rx, raws[0])),
                        static_cast<std::int16_t>(-tenths(ry, raws[3])), CMD_STITCH});
    }
    want.push_back(kEndEntry);
    Bytes file;
    file.at(68, {static_cast<int>(records.size()), 0});
    for (std::size_t i = 0; i < records.size(); ++i)
        for (int c = 0; c < 2; ++c) {
            const std::int32_t v = c ? records[i].y : records[i].x;
            file.at(70 + 9 * i + 4 * static_cast<std::size_t>(c),
                    {v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF, (v >> 24) & 0xFF});
        }
    file.size(70 + 9 * records.size());
    CountingModel m;
    EXPECT_EQ(read(m, &DesignModel::ReadPCS, file), want);
}

// --- SEW ---------------------------------------------------------------------------------

namespace {
Bytes sew(std::initializer_list<int> stream) {
    return Bytes().at(7544, stream);
}
} // namespace

TEST(SewReader, StitchesJumpsColourChangesAndSkippedCodes) {
    const struct {
        std::initializer_list<int> stream;
        std::vector<Entry> tail; // the entries after the two first ones
    } rows[] = {
        {{0x0A, 0xF6}, {{10, 10, CMD_STITCH}}},
        {{0x05, 0x80}, {{5, -128, CMD_STITCH}}},
        {{0x80, 0x01, 0x00, 0x00}, {{0, 0, CMD_COLOR_CHANGE}, {0, 0, CMD_STITCH}}},
        {{0x80, 0x05}, {{0, 0, CMD_COLOR_CHANGE}}},
        {{0x80, 0x02, 0xFF, 0x01}, {{-1, -1, CMD_JUMP}}},
        {{0x80, 0x04, 0x81, 0x7F}, {{-127, -127, CMD_JUMP}}},
        {{0x80, 0x03, 0x12, 0x34, 0x0A, 0x00}, {{10, 0, CMD_STITCH}}},
        {{0x80, 0x00, 0x80, 0x10, 0x01, 0x00}, {{1, 0, CMD_STITCH}}},
        {{0x80, 0x10, 0x01, 0x01}, {}},
        {{0x01}, {{1, 0, CMD_STITCH}}},           // cut short: dy reads as 0
        {{0x80, 0x02, 0x05}, {{5, 0, CMD_JUMP}}}, // cut-short jump
    };
    for (const auto& row : rows) {
        CountingModel m;
        std::vector<Entry> want = {kFirst, kSecond};
        want.insert(want.end(), row.tail.begin(), row.tail.end());
        want.push_back(kEndEntry);
        EXPECT_EQ(read(m, &DesignModel::ReadSEW, sew(row.stream)), want)
            << "first bytes " << std::hex << *row.stream.begin();
    }
}

TEST(SewReader, HeaderColoursPaletteFlagAndBounds) {
    CountingModel m;
    m.m_ColorList[3] = 50;
    Bytes file = sew({0x80, 0x02, 0x10, 0x20, 0x80, 0x01, 0x05, 0x05, 0x80, 0x10});
    file.at(0, {3, 0, 12, 0, 2, 0, 29, 0});
    read(m, &DesignModel::ReadSEW, file);
    EXPECT_EQ(m.m_ColorList[0], 12);
    EXPECT_EQ(m.m_ColorList[1], 2);
    EXPECT_EQ(m.m_ColorList[2], 29);
    EXPECT_EQ(m.m_ColorList[3], 50);
    EXPECT_EQ(m.m_bSewPalette, 1);
    EXPECT_EQ(m.m_bPcsColors, 0);
    EXPECT_EQ(m.m_nColors, 2);
    // The jump counts in the bounds: x 16..21, y -37..-32.
    EXPECT_EQ(m.m_nMinX, 16);
    EXPECT_EQ(m.m_nMaxX, 21);
    EXPECT_EQ(m.m_nMinY, -37);
    EXPECT_EQ(m.m_nMaxY, -32);
}

TEST(SewReader, FilesWithoutAStreamGiveAnEmptyDesignWithTheirColours) {
    CountingModel m;
    Bytes file;
    file.at(0, {1, 0, 7}).size(7544);
    EXPECT_EQ(read(m, &DesignModel::ReadSEW, file),
              (std::vector<Entry>{kFirst, kSecond, kEndEntry}));
    EXPECT_EQ(m.m_ColorList[0], 7);
    EXPECT_EQ(m.m_nWidth, -2000);
    CountingModel n;
    EXPECT_EQ(read(n, &DesignModel::ReadSEW, Bytes().size(0)),
              (std::vector<Entry>{kFirst, kSecond, kEndEntry}));
}

TEST(SewReader, ThreadIndicesBeyondTheListAreDropped) {
    CountingModel m;
    Bytes file;
    file.at(0, {200});
    for (int i = 0; i < 200; ++i)
        file.at(static_cast<std::size_t>(2 + 2 * i), {i + 1});
    read(m, &DesignModel::ReadSEW, file.size(7544));
    EXPECT_EQ(m.m_ColorList[63], 64);
}

// --- EXP ---------------------------------------------------------------------------------

TEST(ExpReader, ControlCodesMoveTrimChangeColourOrEnd) {
    const struct {
        std::vector<std::uint8_t> file;
        std::vector<Entry> tail; // the entries after the first one
    } rows[] = {
        {{0x0A, 0xFB}, {{10, 5, CMD_STITCH}}},
        {{0x80, 0x80, 0x07, 0x00, 0x01, 0x00}, {{1, 0, CMD_STITCH}}},
        {{0x80, 0x02, 0x01, 0x01, 0x80, 0x04, 0xFE, 0x00},
         {{1, -1, CMD_STITCH}, {-1, -1, CMD_STITCH}}},
        {{0x80, 0x01, 0x03, 0x00}, {{0, 0, CMD_COLOR_CHANGE}, {3, 0, CMD_STITCH}}},
        {{0x80, 0x03, 0x01, 0x01, 0x01, 0x00}, {}},
        {{0x01, 0x00, 0x80, 0x04, 0x05}, {{1, 0, CMD_STITCH}}}, // control cut short
    };
    for (const auto& row : rows) {
        DesignModel m;
        decodeDesign(m, StitchFormat::Exp, row.file);
        std::vector<Entry> want = {kFirst};
        want.insert(want.end(), row.tail.begin(), row.tail.end());
        want.push_back(kEndEntry);
        EXPECT_EQ(entriesOf(m), want) << "first bytes " << std::hex << int{row.file[0]};
    }
}

// The bounds take in the moves only: a colour change before the first move must not pull the
// origin into them (the picture would gain an empty margin), nor give a design without moves
// an extent. Rows: file, min x, max x, min y, max y.
TEST(ExpReader, BoundsTakeInTheMovesOnly) {
    const struct {
        std::vector<std::uint8_t> file;
        int minX, maxX, minY, maxY;
    } rows[] = {
        {{0x80, 0x01, 0x00, 0x00, 0x0A, 0x00, 0x05, 0x00}, 10, 15, 0, 0},
        {{0x0A, 0x00, 0x80, 0x01, 0x00, 0x00, 0x00, 0xF6}, 10, 10, 0, 10},
        {{0x80, 0x01, 0x00, 0x00}, 0, 0, 0, 0},
    };
    for (const auto& r : rows) {
        DesignModel m;
        decodeDesign(m, StitchFormat::Exp, r.file);
        EXPECT_EQ((std::array{int{m.m_nMinX}, int{m.m_nMaxX}, int{m.m_nMinY}, int{m.m_nMaxY}}),
                  (std::array{r.minX, r.maxX, r.minY, r.maxY}))
            << std::hex << int{r.file[0]};
    }
}
