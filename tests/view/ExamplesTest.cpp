// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The example designs that ship for new users, loaded the way the program loads them: each
// must show its shape in two colour blocks that both stand out on the white view, and keep the
// layout that embroidery machines and other programs read.
#include "design/DesignModel.h"
#include "view/DesignPainter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes fileBytes(const std::string& name) {
    std::ifstream in(std::string(NADELIX_EXAMPLES) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

unsigned u16(const Bytes& b, std::size_t p) {
    return b.at(p) | b.at(p + 1) << 8;
}
unsigned u24(const Bytes& b, std::size_t p) {
    return u16(b, p) | b.at(p + 2) << 16;
}

struct Box {
    int minX = 30000, maxX = -30000, minY = 30000, maxY = -30000;
    void add(int x, int y) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
};

struct Block {
    Box box;
    int stitches = 0;
    ColorRef colour = 0;
};

// The colour blocks that hold stitches, with their extents and painted colours.
std::vector<Block> stitchedBlocks(const DesignModel& m) {
    const PecPalette pec = pecPaletteColors();
    const SewPalette sew = sewPaletteColors();
    std::vector<Block> all(1);
    for (std::size_t i = 1; m.m_StitchCmd[i] != CMD_END; ++i) {
        if (m.m_StitchCmd[i] == CMD_COLOR_CHANGE) {
            all.emplace_back();
        } else {
            all.back().box.add(m.m_StitchX[i], m.m_StitchY[i]);
            ++all.back().stitches;
        }
    }
    std::vector<Block> used;
    for (std::size_t k = 0; k < all.size(); ++k) {
        all[k].colour = blockColor(m, pec, sew, static_cast<int>(k));
        if (all[k].stitches > 0)
            used.push_back(all[k]);
    }
    return used;
}

// How far a colour stands out on white: the contrast ratio of relative luminances (1 for white
// itself, 21 for black).
double contrastOnWhite(ColorRef c) {
    const auto linear = [](unsigned v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    const double l = 0.2126 * linear(c & 0xFF) + 0.7152 * linear(c >> 8 & 0xFF) +
                     0.0722 * linear(c >> 16 & 0xFF);
    return 1.05 / (l + 0.05);
}

class ExampleModel : public DesignModel {
public:
    // Loads one example through the load step, as browsing the examples folder does.
    explicit ExampleModel(const std::string& name) {
        m_strSourceDir = std::string(NADELIX_EXAMPLES) + "/";
        m_FileList.removeAll();
        m_FileList.add(SourceFileName::fromDisk(name));
        LoadFile(0);
    }
    std::string shownAs() const {
        if (m_bShowDesign != 1 || !m_bStitchGraphics)
            return "nothing";
        return m_bSewPalette ? "sew" : m_bPcsColors ? "pcs" : "pec palette";
    }
};

struct Example {
    const char* file;
    const char* shownAs;
    Box outer;         // the outline, in tenths of a millimetre around the hoop's centre
    int outerStitches; // at least this many; the star's points repeat along its rays
    int innerStitches;
    std::uint32_t outerRgb; // the threads as RRGGBB
    std::uint32_t innerRgb;
};

// The inner block is the outline again at 0.6 of its size, around the same centre.
const Example kExamples[] = {
    {"HERZ.PES", "pec palette", {-400, 400, -298, 425}, 180, 120, 0xEC0000, 0xF39178},
    {"KREIS.PES", "pec palette", {-400, 400, -400, 400}, 180, 120, 0x0F75FF, 0xFF6805},
    {"BLUME.PEC", "pec palette", {-400, 400, -350, 350}, 180, 120, 0xE900B8, 0x37A923},
    {"STERN.DST", "pec palette", {-380, 380, -400, 400}, 40, 25, 0x0F75FF, 0x00934C},
    {"WELLE.PCS", "pcs", {-400, 400, -160, 160}, 180, 120, 0x005AC8, 0xFA7800},
    {"BLUME.SEW", "sew", {-400, 400, -350, 350}, 180, 120, 0xFF0000, 0x00934C},
};

void expectBox(const Box& got, const Box& want, const std::string& what) {
    EXPECT_NEAR(got.minX, want.minX, 2) << what;
    EXPECT_NEAR(got.maxX, want.maxX, 2) << what;
    EXPECT_NEAR(got.minY, want.minY, 2) << what;
    EXPECT_NEAR(got.maxY, want.maxY, 2) << what;
}

Box scaled(const Box& b, double f) {
    return {static_cast<int>(std::lround(b.minX * f)), static_cast<int>(std::lround(b.maxX * f)),
            static_cast<int>(std::lround(b.minY * f)), static_cast<int>(std::lround(b.maxY * f))};
}

} // namespace

TEST(Examples, EachShowsItsShapeInTwoColoursThatStandOutOnWhite) {
    for (const Example& ex : kExamples) {
        SCOPED_TRACE(ex.file);
        const ExampleModel m(ex.file);
        ASSERT_EQ(m.shownAs(), ex.shownAs);

        const std::vector<Block> blocks = stitchedBlocks(m);
        ASSERT_EQ(blocks.size(), 2u);
        expectBox(blocks[0].box, ex.outer, "outline");
        expectBox(blocks[1].box, scaled(ex.outer, 0.6), "inner copy");
        EXPECT_GE(blocks[0].stitches, ex.outerStitches);
        EXPECT_GE(blocks[1].stitches, ex.innerStitches);
        expectBox({m.m_nMinX, m.m_nMaxX, m.m_nMinY, m.m_nMaxY}, ex.outer, "bounds");

        EXPECT_EQ(blocks[0].colour, colorFromRgb(ex.outerRgb));
        EXPECT_EQ(blocks[1].colour, colorFromRgb(ex.innerRgb));
        for (const Block& b : blocks)
            EXPECT_GE(contrastOnWhite(b.colour), 2.0) << std::hex << b.colour;
    }
}

TEST(Examples, PecBlocksCarryTheirHeaderSectionAndIcons) {
    for (const char* name : {"HERZ.PES", "KREIS.PES", "BLUME.PEC"}) {
        SCOPED_TRACE(name);
        const Bytes b = fileBytes(name);
        const bool isPes = name[std::string(name).size() - 1] == 'S';
        const std::size_t o = isPes ? u24(b, 8) : 8;
        EXPECT_EQ(std::string(b.begin(), b.begin() + 8), isPes ? "#PES0001" : "#PEC0001");
        EXPECT_EQ(std::string(b.begin() + o, b.begin() + o + 3), "LA:");
        EXPECT_EQ(b.at(o + 34), 6);  // icon bytes per row
        EXPECT_EQ(b.at(o + 35), 38); // icon rows
        EXPECT_EQ(u24(b, o + 517), 0xF0FF31u);
        // The stitch section says where the icons start: one for the design, one per colour.
        const std::size_t colours = b.at(o + 48) + 1u;
        EXPECT_EQ(colours, 2u);
        EXPECT_EQ(o + 512 + u24(b, o + 514) + 228 * (colours + 1), b.size());
    }
}

TEST(Examples, PcsNamesItsSixteenColoursAndChangesToTheFirstBeforeStitching) {
    const Bytes b = fileBytes("WELLE.PCS");
    EXPECT_EQ(u16(b, 2), 16u); // other programs read the colour table's length here
    ASSERT_EQ((b.size() - 70) % 9, 0u);
    std::vector<int> changes;
    unsigned others = 0;
    for (std::size_t p = 70; p < b.size(); p += 9) {
        if (b[p + 8] == 3)
            changes.push_back(b[p]);
        else
            ++others;
    }
    EXPECT_EQ(u16(b, 68), others);
    EXPECT_EQ(changes, (std::vector<int>{0, 1}));
    EXPECT_EQ(b[70 + 8], 3); // the first record picks the first thread
}

TEST(Examples, SewReadWithFourByteControlRecordsGivesTheSameStitches) {
    // Other programs read every control record (0x80 first) as four bytes. The points they
    // stitch must be the ones the program shows.
    const Bytes b = fileBytes("BLUME.SEW");
    EXPECT_EQ(u16(b, 0), 2u);
    const auto signedByte = [](std::uint8_t v) { return v > 127 ? v - 256 : v; };
    std::vector<std::pair<int, int>> theirs;
    int x = 0, y = 0, changes = 0;
    std::size_t p = 7544;
    for (; p + 1 < b.size(); p += 2) {
        if (b[p] != 0x80) {
            x += signedByte(b[p]), y -= signedByte(b[p + 1]);
            theirs.emplace_back(x, y);
            continue;
        }
        const std::uint8_t code = b[p + 1];
        p += 2;
        if (code == 0x10)
            break;
        if (code & 1)
            ++changes;
        else
            x += signedByte(b[p]), y -= signedByte(b[p + 1]);
    }
    EXPECT_EQ(p + 2, b.size()); // the end record closes the file
    EXPECT_EQ(changes, 1);

    const ExampleModel m("BLUME.SEW");
    std::vector<std::pair<int, int>> ours;
    for (std::size_t i = 2; m.m_StitchCmd[i] != CMD_END; ++i) {
        // Read as a two-byte change, the record's padding shows as a stitch that stays put.
        const bool padding = m.m_StitchCmd[i - 1] == CMD_COLOR_CHANGE &&
                             m.m_StitchX[i] == m.m_StitchX[i - 1] &&
                             m.m_StitchY[i] == m.m_StitchY[i - 1];
        if (m.m_StitchCmd[i] == CMD_STITCH && !padding)
            ours.emplace_back(m.m_StitchX[i], m.m_StitchY[i]);
    }
    EXPECT_EQ(ours, theirs);
}

TEST(Examples, DstHeaderAgreesWithItsStitches) {
    const Bytes b = fileBytes("STERN.DST");
    const std::string header(b.begin(), b.begin() + 512);
    const auto field = [&](const std::string& key) {
        const std::size_t at = header.find("\r" + key);
        return at == std::string::npos ? -1 : std::stoi(header.substr(at + 1 + key.size(), 7));
    };
    const ExampleModel m("STERN.DST");
    EXPECT_EQ(field("ST:"), static_cast<int>((b.size() - 512) / 3));
    EXPECT_EQ(field("CO:"), 1);
    EXPECT_EQ(field("+X:"), m.m_nMaxX);
    EXPECT_EQ(field("-X:"), -m.m_nMinX);
    EXPECT_EQ(field("+Y:"), -m.m_nMinY); // the file's y grows upwards
    EXPECT_EQ(field("-Y:"), m.m_nMaxY);
    EXPECT_EQ(header.find('\x1a'), header.find("PD:******\r") + 10);
    EXPECT_EQ(std::vector<std::uint8_t>(b.end() - 3, b.end()),
              (std::vector<std::uint8_t>{0, 0, 0xF3}));
}
