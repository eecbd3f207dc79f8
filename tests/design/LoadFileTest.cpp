// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "ModelFixture.h"

#include "FaultyFileSystem.h"
#include "ScriptedQuestions.h"
#include "TempDir.h"
#include "platform/UpperCaseName.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using Op = FaultyFileSystem::Op;

namespace {

// A model with one source directory and a file list of the given names on disk.
struct Loader {
    TempDir dir;
    CountingModel model;
    platform::ScriptedQuestions questions;

    Loader() { model.m_strSourceDir = dir.path() + "/"; }

    void list(std::initializer_list<const char*> diskNames) {
        model.m_FileList.removeAll();
        for (const char* n : diskNames)
            model.m_FileList.add(SourceFileName::fromDisk(n));
    }
    // Which handler ran, told by the flags it leaves.
    std::string shownAs() const {
        if (model.m_bShowDesign != 1)
            return "empty";
        if (!model.m_bStitchGraphics)
            return "placard";
        if (model.m_bSewPalette)
            return "sew";
        if (model.m_bPcsColors)
            return "pcs";
        return "pes/pec/dst";
    }
};

// A DST file with one stitch of +1 in x, to tell DST from PES/PEC by its entries.
std::vector<std::uint8_t> dstWithOneStitch() {
    return Bytes().at(512, {0x01, 0x00, 0x00});
}

} // namespace

TEST(LoadFile, TheTypeTextAnywhereAfterTheFirstCharacterPicksTheHandler) {
    const struct {
        const char* name;
        const char* shown;
        int entries; // entries up to the end entry, 0 when no reader ran
    } rows[] = {
        {"rose.pes", "pes/pec/dst", 3},
        {"ROSE.PESX", "pes/pec/dst", 3},
        {"rose.pes.dst", "pes/pec/dst", 3}, // ".PES" is tried before ".DST"
        {"rose.dst", "pes/pec/dst", 4},
        {"rose.pec", "pes/pec/dst", 3},
        {"rose.pcs", "pcs", 2},
        {"rose.sew", "sew", 3},
        {"rose.art", "placard", 0},
        {"rose.hus", "placard", 0},
        {"rose.krz", "empty", 0},
        {"x.krz.sew", "sew", 3},
    };
    for (const auto& row : rows) {
        Loader l;
        l.dir.write(row.name, dstWithOneStitch());
        l.list({row.name});
        l.model.LoadFile(0);
        EXPECT_EQ(l.shownAs(), row.shown) << row.name;
        if (row.entries) {
            EXPECT_EQ(entriesOf(l.model).size(), static_cast<std::size_t>(row.entries)) << row.name;
        }
        EXPECT_EQ(l.model.repaints, 1) << row.name;
        EXPECT_TRUE(l.questions.shown.empty()) << row.name;
    }
}

TEST(LoadFile, NamesWithoutATypeTextAfterTheStartKeepThePreviousDesign) {
    for (const char* name : {".PES", "ROSEPES", "rose.txt", "MUSTER.PE"}) {
        Loader l;
        l.dir.write("a.sew", std::vector<std::uint8_t>(10));
        l.dir.write(name, dstWithOneStitch());
        l.list({"a.sew", name});
        l.model.LoadFile(0);
        l.model.LoadFile(1);
        EXPECT_EQ(l.shownAs(), "sew") << name;
        EXPECT_EQ(l.model.repaints, 1) << name;
        EXPECT_EQ(l.model.notifications, 2) << name; // the dialog shows the new name anyway
        EXPECT_EQ(l.model.m_strFileName, platform::upperCaseName(name));
    }
}

TEST(LoadFile, NameAndPathComeFromTheListAndTheSourceDirectory) {
    Loader l;
    l.dir.write("Stern.Dst", dstWithOneStitch());
    l.list({"Stern.Dst"});
    l.model.LoadFile(0);
    EXPECT_EQ(l.model.m_strFileName, "STERN.DST");
    // The file is read under its name on disk; the upper-cased name is what is shown.
    EXPECT_EQ(l.model.m_strFilePath, l.dir.path() + "/Stern.Dst");
    EXPECT_EQ(entriesOf(l.model)[2], (Entry{1, 0, CMD_STITCH}));
}

TEST(LoadFile, AnEmptyNameStopsBeforeAnythingIsRead) {
    Loader l;
    FaultyFileSystem faulty;
    ASSERT_EQ(l.model.m_FileList.size(), 500u); // the empty names it starts with
    l.model.LoadFile(499);
    EXPECT_EQ(faulty.calls(Op::Open), 0);
    EXPECT_EQ(l.model.notifications, 0);
    EXPECT_EQ(l.model.repaints, 0);
    EXPECT_EQ(l.model.m_strFilePath, l.dir.path() + "/");
}

TEST(LoadFile, TheBufferGrowsToLengthPlusOneAndIsReusedAfterwards) {
    Loader l;
    EXPECT_EQ(l.model.m_FileData.size(), 100000u);
    l.dir.write("big.dst", Bytes().at(512, {0x01, 0x00, 0x00}).size(150000));
    l.dir.write("small.dst", Bytes().at(512, {0x01, 0x00, 0x00}).size(515));
    l.list({"big.dst", "small.dst"});

    l.model.LoadFile(0);
    EXPECT_EQ(l.model.m_FileData.size(), 150001u);
    // The big file's records of zeros are stitches up to its end.
    EXPECT_EQ(entriesOf(l.model).size(),
              2u + (150000u - 512u + 2u) / 3u + 1u); // last record cut short

    l.model.LoadFile(1);
    EXPECT_EQ(l.model.m_FileData.size(), 150001u);
    EXPECT_EQ(entriesOf(l.model).size(), 4u);
    // Entries and buffer keep their larger sizes.
    EXPECT_GE(l.model.m_StitchCmd.size(), 75000u);
}

TEST(LoadFile, AnEmptyFileHandsLengthZeroToItsReader) {
    Loader l;
    l.dir.write("leer.dst", std::vector<std::uint8_t>{});
    l.list({"leer.dst"});
    l.model.LoadFile(0);
    EXPECT_EQ(entriesOf(l.model).size(), 3u);
    EXPECT_EQ(l.model.m_nWidth, -2000);
    EXPECT_TRUE(l.questions.shown.empty());
}

TEST(LoadFile, AMissingFileIsReportedWithItsPathAndStillDispatched) {
    Loader l;
    l.list({"weg.pes"});
    l.model.LoadFile(0);
    ASSERT_EQ(l.questions.shown.size(), 1u);
    EXPECT_EQ(l.questions.shown[0], l.dir.path() + "/weg.pes was not found.");
    EXPECT_EQ(l.model.notifications, 1);
    EXPECT_EQ(l.shownAs(), "pes/pec/dst");
    EXPECT_EQ(l.model.m_nWidth, -2000); // length 0
}

TEST(LoadFile, FailuresAfterOpeningNameNoFile) {
    const struct {
        Op op;
        int error;
        const char* text;
        std::size_t entries; // what the reader got to decode
    } rows[] = {
        {Op::FileSize, EIO, "A hardware I/O error was reported while accessing an unnamed file.",
         3},
        {Op::Read, EIO, "A hardware I/O error was reported while accessing an unnamed file.", 3},
        {Op::Close, EIO, "A hardware I/O error was reported while accessing an unnamed file.", 4},
        {Op::Open, EACCES, nullptr, 3},
    };
    for (const auto& row : rows) {
        Loader l;
        l.dir.write("a.dst", dstWithOneStitch());
        l.list({"a.dst"});
        FaultyFileSystem faulty;
        faulty.failOn(row.op, row.error);
        l.model.LoadFile(0);
        ASSERT_EQ(l.questions.shown.size(), 1u);
        const std::string want =
            row.text ? row.text : "Access to " + l.dir.path() + "/a.dst was denied.";
        EXPECT_EQ(l.questions.shown[0], want);
        EXPECT_EQ(entriesOf(l.model).size(), row.entries);
    }
}

TEST(LoadFile, AFileThatShrankHandsOnOnlyWhatItDelivered) {
    Loader l;
    // A first, longer file leaves stitches in the buffer behind the second one's end.
    l.dir.write("a.dst", Bytes().at(512, {0x01, 0x00, 0x00, 0x01, 0x00, 0x00, 0x01, 0x00, 0x00}));
    l.dir.write("b.dst", Bytes().at(512, {0x02, 0x00, 0x00, 0x02, 0x00, 0x00, 0x02, 0x00, 0x00}));
    l.list({"a.dst", "b.dst"});
    l.model.LoadFile(0);
    FaultyFileSystem faulty;
    faulty.limitReadsTo(515); // b.dst delivers only its first record
    l.model.LoadFile(1);
    const auto e = entriesOf(l.model);
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[2], (Entry{-1, 0, CMD_STITCH}));
}

TEST(LoadFile, PlacardAndEmptyChangeOnlyTheFlags) {
    Loader l;
    l.dir.write("a.dst", dstWithOneStitch());
    l.dir.write("b.art", "ART");
    l.dir.write("c.krz", "KRZ");
    l.list({"a.dst", "b.art", "c.krz"});
    l.model.LoadFile(0);
    const auto design = entriesOf(l.model);
    const auto colors = l.model.m_ColorList;

    l.model.LoadFile(1);
    EXPECT_EQ(l.shownAs(), "placard");
    EXPECT_EQ(l.model.m_strFileName, "B.ART");
    EXPECT_EQ(entriesOf(l.model), design);
    EXPECT_EQ(l.model.m_ColorList, colors);

    l.model.LoadFile(2);
    EXPECT_EQ(l.shownAs(), "empty");
    EXPECT_EQ(l.model.m_bStitchGraphics, 1);
    EXPECT_EQ(entriesOf(l.model), design);
    EXPECT_EQ(l.model.repaints, 3);
}

TEST(LoadFile, AFileBeyondThirtyTwoBitLengthsIsRefusedNotCutShort) {
    Loader l;
    const std::string path = l.dir.write("riesig.dst", dstWithOneStitch());
    // 2 GiB, one byte past what a 32-bit length holds; sparse: takes no room on disk.
    ASSERT_EQ(::truncate(path.c_str(), 2LL << 30), 0);
    l.list({"riesig.dst"});
    l.model.LoadFile(0);
    ASSERT_EQ(l.questions.shown.size(), 1u);
    EXPECT_EQ(l.questions.shown[0], "An attempt was made to access " + path + " past its end.");
    EXPECT_EQ(l.model.m_FileData.size(), 100000u); // nothing was read
    EXPECT_EQ(entriesOf(l.model).size(), 3u);      // the reader got length 0
}

TEST(LoadFile, WhatIsNoLongerARegularFileIsRefusedWithoutWaiting) {
    Loader l;
    l.list({"rohr.pes", "ordner.pes"});
    ::mkfifo(l.dir.file("rohr.pes").c_str(), 0644); // opening it to read would wait for a writer
    l.dir.makeDir("ordner.pes");
    ::alarm(20);
    l.model.LoadFile(0);
    l.model.LoadFile(1);
    ::alarm(0);
    EXPECT_EQ(l.questions.shown,
              (std::vector<std::string>{"Access to " + l.dir.file("rohr.pes") + " was denied.",
                                        "Access to " + l.dir.file("ordner.pes") + " was denied."}));
    EXPECT_EQ(l.model.m_nWidth, -2000); // dispatched with length 0
}
