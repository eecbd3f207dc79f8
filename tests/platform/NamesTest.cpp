// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "platform/Names.h"
#include "platform/UpperCaseName.h"

#include <gtest/gtest.h>

using platform::joinPath;
using platform::upperCaseName;

TEST(Names, UpperCasingCoversLettersBeyondAscii) {
    EXPECT_EQ(upperCaseName("rose.pes"), "ROSE.PES");
    EXPECT_EQ(upperCaseName("Stern.Dst"), "STERN.DST");
    EXPECT_EQ(upperCaseName("vögel-äöü.pes"), "VÖGEL-ÄÖÜ.PES");
    EXPECT_EQ(upperCaseName("ελιά.sew"), "ΕΛΙΆ.SEW");
    EXPECT_EQ(upperCaseName("12_+#.pcs"), "12_+#.PCS");
}

TEST(Names, BytesThatAreNotUtf8StayAsTheyAre) {
    // A Latin-1 'ä' (0xE4) on its own, a cut-short sequence, an overlong slash.
    EXPECT_EQ(upperCaseName("b\xE4r.pes"), "B\xE4R.PES");
    EXPECT_EQ(upperCaseName("x\xC3"), "X\xC3");
    EXPECT_EQ(upperCaseName("\xC0\xAF"
                            "a"),
              "\xC0\xAF"
              "A");
    EXPECT_EQ(upperCaseName("\xED\xA0\x80z"), "\xED\xA0\x80Z"); // an encoded surrogate
}

TEST(Names, JoiningAddsOnlyAMissingSeparator) {
    EXPECT_EQ(joinPath("/muster", "ROSE.PES"), "/muster/ROSE.PES");
    EXPECT_EQ(joinPath("/muster/", "ROSE.PES"), "/muster/ROSE.PES");
    EXPECT_EQ(joinPath("/", "x"), "/x");
    EXPECT_EQ(platform::withTrailingSeparator(""), "/");
}

TEST(Names, CuttingByCharactersNeverSplitsALetter) {
    const struct {
        const char* text;
        std::size_t count;
        const char* first;
        const char* last;
    } rows[] = {
        {"ROSE.PES", 4, "ROSE", ".PES"},
        {"ROSE.PES", 20, "ROSE.PES", "ROSE.PES"},
        {"", 3, "", ""},
        {"GRÜN.PÄS", 3, "GRÜ", "PÄS"},
        {"€€€", 2, "€€", "€€"},
        {"a\xFF\xFE"
         "b",
         2, "a\xFF",
         "\xFE"
         "b"},                     // a stray byte counts as one character
        {"x\xC3", 1, "x", "\xC3"}, // so does a cut-short sequence
    };
    for (const auto& row : rows) {
        EXPECT_EQ(platform::firstCharacters(row.text, row.count), row.first) << row.text;
        EXPECT_EQ(platform::lastCharacters(row.text, row.count), row.last) << row.text;
    }
    EXPECT_EQ(platform::characterCount("GRÜN"), 4u);
    EXPECT_EQ(platform::characterCount("a\xFF\xC3"), 3u);
}
