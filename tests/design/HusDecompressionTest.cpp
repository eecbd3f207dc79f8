// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The expansion of HUS and VIP files' compressed streams, bounded whatever a file says.
#include "design/HusDecompression.h"
#include "design/DesignData.h"

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

TEST(HusDecompression, OutputStopsAtWhatTheFileCanJustify) {
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
