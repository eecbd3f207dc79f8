// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// HUS and VIP files: real files as an independent reader decodes them, and the expansion of
// their compressed streams bounded whatever a file says.
#include "design/DesignData.h"
#include "design/HusDecompression.h"

#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

// Bits, most significant first, into bytes.
std::vector<std::uint8_t> packBits(std::initializer_list<std::pair<std::uint32_t, int>> fields) {
    std::vector<std::uint8_t> out;
    int used = 8;
    for (const auto& [value, bits] : fields)
        for (int b = bits - 1; b >= 0; --b, ++used) {
            if (used == 8)
                out.push_back(0), used = 0;
            out.back() = static_cast<std::uint8_t>(out.back() | ((value >> b) & 1) << (7 - used));
        }
    return out;
}

// A block of 65535 symbols whose code is the one literal given, taking no bits at all.
std::vector<std::uint8_t> endlessLiteral(std::uint8_t literal) {
    return packBits({{0xFFFF, 16}, {0, 5}, {0, 5}, {0, 9}, {literal, 9}, {0, 5}, {0, 5}});
}

} // namespace

TEST(CompressedFormats, RealFilesAgreeWithTheIndependentReader) {
    // As pystitch reads them (VIP streams through its HUS reader): its stitch count takes in
    // each trim and the end, ours only the needle's moves and the colour changes. Colours
    // 0xRRGGBB of the first and last block: HUS from the maker's table, VIP as stored.
    const struct {
        const char* file;
        int stitches, trims, changes, minX, minY, maxX, maxY;
        std::uint32_t first, last;
    } rows[] = {
        {"Embroidermodder.HUS", 3426, 2, 0, -1111, -259, 1114, 255, 0x000084, 0x000084},
        {"Star.HUS", 2557, 0, 1, -295, -311, 296, 312, 0xFF0000, 0xFFFFFF},
        // Star.HUS's red and white threads, as the VIP file stores them.
        {"Star.VIP", 2544, 0, 1, -295, -311, 296, 312, 0xE3311F, 0xF7F3F7},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        const std::string name = row.file;
        DesignData d;
        decodeDesign(d,
                     name.ends_with("vip") || name.ends_with("VIP") ? StitchFormat::Vip
                                                                    : StitchFormat::Hus,
                     readBytes(std::string(NADELIX_TEST_DATA) + "/" + name));
        int moves = 0, changes = 0;
        for (std::size_t i = 1; d.m_StitchCmd[i] != CMD_END; ++i)
            moves += d.m_StitchCmd[i] == CMD_STITCH,
                changes += d.m_StitchCmd[i] == CMD_COLOR_CHANGE;
        EXPECT_EQ(moves + changes, row.stitches - row.trims - 1);
        EXPECT_EQ(changes, row.changes);
        EXPECT_EQ(d.m_nColors, row.changes + 1);
        EXPECT_EQ(d.m_nMinX, row.minX);
        EXPECT_EQ(d.m_nMinY, row.minY);
        EXPECT_EQ(d.m_nMaxX, row.maxX);
        EXPECT_EQ(d.m_nMaxY, row.maxY);
        ASSERT_EQ(d.m_ThreadColors.size(), static_cast<std::size_t>(row.changes + 1));
        const auto rgb = [](ColorRef c) { return (c & 0xFF) << 16 | (c & 0xFF00) | c >> 16; };
        EXPECT_EQ(rgb(d.m_ThreadColors.front()), row.first);
        EXPECT_EQ(rgb(d.m_ThreadColors.back()), row.last);
    }
}

TEST(CompressedFormats, OutputStopsAtWhatTheFileCanJustify) {
    // A few bytes that would expand without end: the stream fills the room given, no more.
    std::vector<std::uint8_t> room(100000, 0xEE);
    const auto stream = endlessLiteral('A');
    EXPECT_EQ(expandHusStream(stream, {room.data(), 1000}), 1000u);
    EXPECT_EQ(room[999], 'A');
    EXPECT_EQ(room[1000], 0xEE);

    // A file claiming four billion stitches, each stream such a block: a bounded design.
    std::vector<std::uint8_t> file(48, 0);
    file[4] = file[5] = file[6] = file[7] = 0xFF;
    for (const auto& [at, literal] : {std::pair{20, 0x80}, {24, 1}, {28, 1}}) {
        file[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(file.size());
        const auto block = endlessLiteral(static_cast<std::uint8_t>(literal));
        file.insert(file.end(), block.begin(), block.end());
    }
    DesignData d;
    decodeDesign(d, StitchFormat::Hus, file);
    std::size_t end = 0;
    while (d.m_StitchCmd[end] != CMD_END)
        ++end;
    EXPECT_EQ(end, 1 + 16 * file.size()); // the header's entry, then 16 stitches a byte
    EXPECT_EQ(d.m_StitchX[end - 1], static_cast<std::int16_t>(16 * file.size()));
}
