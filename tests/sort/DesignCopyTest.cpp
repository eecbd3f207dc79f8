// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "sort/DesignCopy.h"

#include "FaultyFileSystem.h"
#include "SortFixture.h"

#include <cerrno>
#include <climits>

namespace {

using Names = std::vector<std::string>;
using Op = FaultyFileSystem::Op;

class CopyTo : public SortFixture {
protected:
    int copyInto(const std::string& destination) {
        const CopyContext c = context();
        return DesignCopy(c).CopyTo(destination);
    }
};

// One run of copies into several categories, as marking them and copying makes it.
class RunOfCopies : public SortFixture {
protected:
    // Copies into each category in one run; returns how many copies were made.
    int copyIntoAll(const Names& categories) {
        const CopyContext c = context();
        DesignCopy copy(c);
        for (const auto& name : categories)
            copy.start(category(name));
        const int made = copy.finish();
        sourceUnchanged = copy.sourceUnchanged();
        return made;
    }
    bool sourceUnchanged = false;
};

} // namespace

TEST_F(CopyTo, GivesTheCopyTheUpperCasedNameAndTheSourceBytes) {
    const auto bytes = bytesOfSize(3000);
    useSource("rose.pes", bytes, "ROSE.PES");
    const std::string tiere = category("Tiere");

    EXPECT_EQ(copyInto(tiere), 1);
    EXPECT_EQ(copyInto(m_strZiel), 1); // the target entry: the target itself
    EXPECT_EQ(readBytes(tiere + "/ROSE.PES"), bytes);
    EXPECT_EQ(readBytes(inTarget("ROSE.PES")), bytes);
    EXPECT_EQ(namesIn(tiere), Names{"ROSE.PES"});
    EXPECT_TRUE(questions.shown.empty());
    EXPECT_EQ(readBytes(m_strFilePath), bytes); // the source stays
}

TEST_F(CopyTo, AnEmptyDesignGivesAnEmptyCopy) {
    useSource("leer.dst", {}, "LEER.DST");
    EXPECT_EQ(copyInto(category("A")), 1);
    EXPECT_TRUE(readBytes(inTarget("A/LEER.DST")).empty());
    EXPECT_EQ(namesIn(inTarget("A")), Names{"LEER.DST"});
}

TEST_F(CopyTo, TheBufferGrowsToTheLargestFileAndNeverShrinks) {
    useSource("gross.pes", bytesOfSize(5000), "GROSS.PES");
    copyInto(category("A"));
    EXPECT_EQ(m_Puffer.size(), 5001u);
    useSource("klein.pes", bytesOfSize(10), "KLEIN.PES");
    copyInto(category("A"));
    EXPECT_EQ(m_Puffer.size(), 5001u);
    EXPECT_EQ(readBytes(inTarget("A/KLEIN.PES")), bytesOfSize(10));
}

// What lies in the category before the copy, and what it holds afterwards.
TEST_F(CopyTo, ClashesRenameRefuseOrGiveUp) {
    const std::size_t size = 100;
    const struct {
        const char* name;
        Names existing; // each with another size than the source
        Names sameSize; // each with the source's size
        int result;
        Names after;
        Names shown;
    } rows[] = {
        {"nothing there", {}, {}, 1, {"ROSE.PES"}, {}},
        {"other size", {"ROSE.PES"}, {}, 1, {"ROSE.PES", "ROSE01.PES"}, {}},
        {"chain", {"ROSE.PES", "ROSE01.PES"}, {}, 1, {"ROSE.PES", "ROSE01.PES", "ROSE02.PES"}, {}},
        {"duplicate", {}, {"ROSE.PES"}, 0, {"ROSE.PES"}, {"Datei schon vorhanden"}},
        {"duplicate down the chain",
         {"ROSE.PES", "ROSE01.PES"},
         {"ROSE02.PES"},
         0,
         {"ROSE.PES", "ROSE01.PES", "ROSE02.PES"},
         {"Datei schon vorhanden"}},
        {"other case, other size", {"rose.pes"}, {}, 1, {"ROSE01.PES", "rose.pes"}, {}},
        {"other case, same size", {}, {"Rose.Pes"}, 0, {"Rose.Pes"}, {"Datei schon vorhanden"}},
        {"gap in the chain",
         {"ROSE.PES", "ROSE02.PES"},
         {},
         1,
         {"ROSE.PES", "ROSE01.PES", "ROSE02.PES"},
         {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir local;
        const std::string cat = local.makeDir("kat");
        for (const auto& n : row.existing)
            local.write("kat/" + n, bytesOfSize(size + 1));
        for (const auto& n : row.sameSize)
            local.write("kat/" + n, bytesOfSize(size)); // the same design
        useSource("rose.pes", bytesOfSize(size), "ROSE.PES");
        questions.shown.clear();

        EXPECT_EQ(copyInto(cat), row.result);
        EXPECT_EQ(namesIn(cat), row.after);
        EXPECT_EQ(questions.shown, row.shown);
    }
}

TEST_F(CopyTo, ADirectoryUnderTheNameIsRenamedAround) {
    useSource("rose.pes", bytesOfSize(4096), "ROSE.PES");
    dir.makeDir("ziel/A/ROSE.PES");
    EXPECT_EQ(copyInto(inTarget("A")), 1);
    EXPECT_EQ(readBytes(inTarget("A/ROSE01.PES")), bytesOfSize(4096));
}

TEST_F(CopyTo, GivesUpAfterTheNinetyNinthRenaming) {
    useSource("rose.pes", bytesOfSize(10), "ROSE.PES");
    dir.write("ziel/A/ROSE.PES", "anders");
    for (int i = 1; i <= 99; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "ROSE%02d.PES", i);
        dir.write(std::string("ziel/A/") + name, "anders");
    }
    EXPECT_EQ(copyInto(inTarget("A")), 0);
    EXPECT_EQ(questions.shown, Names{"Datei kann nicht mehr automatisch umbenannt werden."});
    EXPECT_EQ(namesIn(inTarget("A")).size(), 100u);
}

TEST_F(CopyTo, WithoutRenamingAClashAsksWhereToSave) {
    m_bDateienNichtUmbenennen = 1;
    useSource("rose.pes", bytesOfSize(50), "ROSE.PES");
    const std::string cat = category("A");
    dir.write("ziel/A/rose.pes", bytesOfSize(50)); // even the same size asks

    // Cancelled: nothing is written and nothing is said.
    EXPECT_EQ(copyInto(cat), 0);
    ASSERT_EQ(questions.saveRequests.size(), 1u);
    EXPECT_EQ(questions.saveRequests[0].proposedPath, cat + "/ROSE.PES");
    EXPECT_EQ(questions.saveRequests[0].directory, cat + "/");
    EXPECT_EQ(questions.saveRequests[0].defaultExtension, "PES");
    EXPECT_TRUE(questions.shown.empty());
    EXPECT_EQ(namesIn(cat), Names{"rose.pes"});

    // A new name is taken as chosen; an existing one (the dialog asked) is replaced whole.
    questions.saveFileAnswers = {cat + "/Neu.pes", cat + "/rose.pes"};
    dir.write("ziel/A/rose.pes", "alt");
    EXPECT_EQ(copyInto(cat), 1);
    EXPECT_EQ(copyInto(cat), 1);
    EXPECT_EQ(namesIn(cat), (Names{"Neu.pes", "rose.pes"}));
    EXPECT_EQ(readBytes(cat + "/Neu.pes"), bytesOfSize(50));
    EXPECT_EQ(readBytes(cat + "/rose.pes"), bytesOfSize(50));
}

TEST_F(CopyTo, WithoutRenamingNoClashAsksNothing) {
    m_bDateienNichtUmbenennen = 1;
    useSource("rose.pes", bytesOfSize(50), "ROSE.PES");
    EXPECT_EQ(copyInto(category("A")), 1);
    EXPECT_TRUE(questions.saveRequests.empty());
}

TEST_F(CopyTo, NamesThatAreNotUtf8AreCopied) {
    const std::string shown = "GR\xDC"
                              "N.PES";
    useSource("gr\xFC"
              "n.pes",
              bytesOfSize(20), shown);
    const std::string cat = category("Gr\xFC"
                                     "n");
    EXPECT_EQ(copyInto(cat), 1);
    EXPECT_EQ(readBytes(cat + "/" + shown), bytesOfSize(20));
    EXPECT_EQ(copyInto(cat), 0); // and found again as a duplicate
}

TEST_F(CopyTo, ARenamedNameTooLongForTheFileSystemIsReportedAndLeavesNothing) {
    // 255 bytes is the longest name; its renaming would need two more.
    const std::string name = std::string(251, 'R') + ".PES";
    useSource("kurz.pes", bytesOfSize(20), name);
    const std::string cat = category("A");
    dir.write("ziel/A/" + name, "anders");
    EXPECT_EQ(copyInto(cat), 0);
    const std::string renamed = cat + "/" + std::string(251, 'R') + "01.PES";
    EXPECT_EQ(questions.shown, Names{renamed + " contains an invalid path."});
    EXPECT_EQ(namesIn(cat), Names{name});
}

TEST_F(RunOfCopies, ReadsTheSourceOnceSoEveryCopyHoldsTheSameBytes) {
    const auto bytes = bytesOfSize(3000);
    useSource("rose.pes", bytes, "ROSE.PES");
    FaultyFileSystem faulty;
    // Another program rewrites the source once the first copy has read it.
    faulty.before(Op::OpenTemporary, [&] { dir.write("quelle/rose.pes", bytesOfSize(2000, 9)); });

    EXPECT_EQ(copyIntoAll({"A", "B", "C"}), 3);
    EXPECT_EQ(faulty.calls(Op::FileSize), 1); // one read asks for the length once
    for (const char* name : {"A", "B", "C"})
        EXPECT_EQ(readBytes(inTarget(name) + "/ROSE.PES"), bytes) << name;
    EXPECT_TRUE(questions.shown.empty());
    // The rewritten source is not what the copies hold: a move must keep it.
    EXPECT_FALSE(sourceUnchanged);
}

TEST_F(RunOfCopies, AFailedReadIsReportedForItsCategoryAndTriedAgainForTheNext) {
    const struct {
        const char* what;
        Op op;
        int error;
        const char* pathPart;
        int lengthAsked; // by the reads of the run
    } rows[] = {
        {"open", Op::Open, ENOENT, "quelle/", 1},
        {"length", Op::FileSize, EIO, "", 2},
        {"read", Op::Read, EIO, "", 2},
    };
    const auto bytes = bytesOfSize(3000);
    useSource("rose.pes", bytes, "ROSE.PES");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        for (const char* name : {"A", "B", "C"})
            std::filesystem::remove(inTarget(name) + "/ROSE.PES");
        questions.shown.clear();
        FaultyFileSystem faulty;
        faulty.failOn(row.op, row.error, row.pathPart, 0, 1);

        EXPECT_EQ(copyIntoAll({"A", "B", "C"}), 2);
        EXPECT_EQ(questions.shown.size(), 1u);
        EXPECT_EQ(namesIn(inTarget("A")), Names{});
        EXPECT_EQ(readBytes(inTarget("B") + "/ROSE.PES"), bytes);
        EXPECT_EQ(readBytes(inTarget("C") + "/ROSE.PES"), bytes);
        // B read the source again; C took B's bytes.
        EXPECT_EQ(faulty.calls(Op::FileSize), row.lengthAsked);
        EXPECT_TRUE(sourceUnchanged);
    }
}

// A file of the copy's name and size in the category, there before the copy or arriving while
// it is written: only the same bytes are the same design.
TEST_F(RunOfCopies, SameNameAndSizeIsTheSameDesignOnlyWithTheSameBytes) {
    const auto bytes = bytesOfSize(200000); // more than one piece of the comparison
    const auto other = bytesOfSize(200000, 9);
    auto lastByteOther = bytes;
    lastByteOther.back() ^= 1;
    const Names copied = {"ROSE.PES", "ROSE01.PES"}, refused = {"ROSE.PES"};
    const Names none, schonVorhanden = {"Datei schon vorhanden"};
    const struct {
        const char* name;
        const std::vector<std::uint8_t>& theirs;
        bool unreadable, meanwhile;
        const Names& after;
        const Names& shown;
    } rows[] = {
        {"same bytes", bytes, false, false, refused, schonVorhanden},
        {"other bytes", other, false, false, copied, none},
        {"the last byte differs", lastByteOther, false, false, copied, none},
        {"cannot be read", bytes, true, false, copied, none},
        {"same bytes, arriving meanwhile", bytes, false, true, refused, schonVorhanden},
        {"other bytes, arriving meanwhile", lastByteOther, false, true, copied, none},
    };
    useSource("rose.pes", bytes, "ROSE.PES");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove_all(inTarget("A"));
        const std::string cat = category("A");
        if (!row.meanwhile)
            dir.write("ziel/A/ROSE.PES", row.theirs);
        FaultyFileSystem faulty;
        if (row.unreadable)
            faulty.failOn(Op::Open, EIO, "ROSE.PES");
        if (row.meanwhile)
            faulty.before(Op::OpenTemporary, [&] { dir.write("ziel/A/ROSE.PES", row.theirs); });
        questions.shown.clear();

        copyIntoAll({"A"});
        EXPECT_EQ(namesIn(cat), row.after);
        EXPECT_EQ(readBytes(cat + "/ROSE.PES"), row.theirs);
        EXPECT_EQ(questions.shown, row.shown);
    }
}
