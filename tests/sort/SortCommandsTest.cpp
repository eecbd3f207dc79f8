// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "sort/SortCommands.h"

#include "FaultyFileSystem.h"
#include "SortFixture.h"

#include <cerrno>

namespace {

using Names = std::vector<std::string>;

class Commands : public SortFixture {
protected:
    void SetUp() override { useSource("rose.pes", bytesOfSize(300), "ROSE.PES"); }

    NextStep copy(CategoryList& list) {
        const CopyContext c = context();
        return OnCopy(c, list);
    }
};

} // namespace

TEST_F(Commands, WhatFollowsACopyRun) {
    const struct {
        const char* name;
        Names marked;
        Names duplicates; // categories already holding the design
        int quelleLoeschen, markenBehalten, weiterblaettern;
        NextStep step;
        bool sourceStays;
        bool marksStay;
    } rows[] = {
        {"nothing marked", {}, {}, 1, 0, 1, NextStep::Nothing, true, false},
        {"copy and advance", {"A"}, {}, 0, 0, 1, NextStep::Advance, true, false},
        {"copy, stay", {"A"}, {}, 0, 0, 0, NextStep::Nothing, true, false},
        {"move wins over advance", {"A", "B"}, {}, 1, 0, 1, NextStep::SourceRemoved, false, false},
        {"one duplicate, one success",
         {"A", "B"},
         {"A"},
         1,
         0,
         0,
         NextStep::SourceRemoved,
         false,
         false},
        {"only duplicates: no move",
         {"A", "B"},
         {"A", "B"},
         1,
         0,
         1,
         NextStep::Nothing,
         true,
         false},
        {"marks kept", {"A", "B"}, {"A"}, 0, 1, 1, NextStep::Advance, true, true},
        {"marks kept, all failed", {"A"}, {"A"}, 0, 1, 1, NextStep::Nothing, true, true},
        {"flags are on when not zero", {"A"}, {}, 7, 0, 0, NextStep::SourceRemoved, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir local;
        m_strZiel = local.makeDir("ziel") + "/";
        for (const auto& c : {"A", "B", "C"})
            local.makeDir(std::string("ziel/") + c);
        for (const auto& d : row.duplicates)
            local.write("ziel/" + d + "/ROSE.PES", bytesOfSize(300));
        useSource("rose.pes", bytesOfSize(300), "ROSE.PES");
        m_bQuelleLoeschen = row.quelleLoeschen;
        m_bMarkenBehalten = row.markenBehalten;
        m_bWeiterblaettern = row.weiterblaettern;
        CategoryList list = listOf({"A", "B", "C"}, row.marked);

        EXPECT_EQ(copy(list), row.step);
        EXPECT_EQ(std::filesystem::exists(m_strFilePath), row.sourceStays);
        for (int i = 1; i < list.count(); ++i) {
            const bool wasMarked = std::find(row.marked.begin(), row.marked.end(),
                                             list[i].relativePath) != row.marked.end();
            EXPECT_EQ(list.isMarked(i), wasMarked && row.marksStay) << list[i].text;
            EXPECT_EQ(std::filesystem::exists(m_strZiel + list[i].text + "/ROSE.PES"), wasMarked)
                << list[i].text;
        }
    }
}

TEST_F(Commands, MarksAreWalkedInListOrderAndTheTargetEntryCopiesIntoTheTarget) {
    category("Tiere/Hunde");
    category("Blumen");
    CategoryList list = listOf({"Tiere", "Tiere/Hunde", "Blumen"},
                               {"[ Zielverzeichnis ]", "Tiere/Hunde", "Blumen"});
    m_bWeiterblaettern = 1;
    questions.saveFileAnswers.clear();
    dir.write("ziel/Blumen/ROSE.PES", bytesOfSize(300)); // a duplicate in the middle
    EXPECT_EQ(copy(list), NextStep::Advance);
    EXPECT_EQ(questions.shown, Names{"Datei schon vorhanden"});
    EXPECT_TRUE(std::filesystem::exists(inTarget("ROSE.PES")));
    EXPECT_TRUE(std::filesystem::exists(inTarget("Tiere/Hunde/ROSE.PES")));
    EXPECT_FALSE(std::filesystem::exists(inTarget("Tiere/ROSE.PES")));
}

TEST_F(Commands, ALongRunOfCategoriesIsCopiedWhole) {
    // More categories than copies are kept waiting for the disk at once.
    std::vector<std::string> names;
    for (int i = 0; i < 40; ++i) {
        names.push_back("K" + std::to_string(i));
        category(names.back());
    }
    CategoryList list = listOf(names, names);
    m_bQuelleLoeschen = 1;
    EXPECT_EQ(copy(list), NextStep::SourceRemoved);
    for (const auto& n : names)
        EXPECT_EQ(namesIn(inTarget(n)), Names{"ROSE.PES"}) << n;
}

TEST_F(Commands, ACategoryShownCutIsCopiedToInFull) {
    const std::string deep = std::string(200, 'x') + "/" + std::string(100, 'y');
    category(deep);
    CategoryList list;
    list.insert({kZielverzeichnis, "", true, false});
    list.insert({deep.substr(0, 255), deep, false, true});
    copy(list);
    EXPECT_TRUE(questions.shown.empty());
    EXPECT_EQ(readBytes(inTarget(deep + "/ROSE.PES")), bytesOfSize(300));
}

TEST_F(Commands, SavingAMoveOntoItsOwnSourceKeepsTheDesign) {
    m_bDateienNichtUmbenennen = 1;
    m_bQuelleLoeschen = 1;
    m_bWeiterblaettern = 1;
    // The source lies in the category; the user picks it itself in the save dialog.
    m_strZiel = dir.path() + "/";
    questions.saveFileAnswers = {m_strFilePath};
    CategoryList list = listOf({"quelle"}, {"quelle"});
    EXPECT_EQ(copy(list), NextStep::Advance);
    EXPECT_EQ(readBytes(m_strFilePath), bytesOfSize(300));
}

TEST_F(Commands, DeletingAsksFirst) {
    const struct {
        const char* name;
        const char* fileName;
        std::deque<bool> answers;
        NextStep step;
        Names shown;
        bool stays;
    } rows[] = {
        {"no current file", "", {true}, NextStep::Nothing, {}, true},
        {"name too short", "A.P", {true}, NextStep::Nothing, {}, true},
        {"answered No", "ROSE.PES", {false}, NextStep::Nothing, {"Datei wirklich löschen ?"}, true},
        {"answered Yes",
         "ROSE.PES",
         {true},
         NextStep::SourceRemoved,
         {"Datei wirklich löschen ?"},
         false},
        {"four characters suffice",
         "Ä.PE",
         {true},
         NextStep::SourceRemoved,
         {"Datei wirklich löschen ?"},
         false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        useSource("rose.pes", bytesOfSize(10), row.fileName);
        questions.shown.clear();
        questions.yesNoAnswers = row.answers;
        EXPECT_EQ(OnLoeschen(m_strFilePath, m_strFileName), row.step);
        EXPECT_EQ(questions.shown, row.shown);
        EXPECT_EQ(std::filesystem::exists(m_strFilePath), row.stays);
    }
}

TEST_F(Commands, DeletingAFileThatCannotBeRemovedReportsIt) {
    const struct {
        int error; // 0: the file is gone already
        const char* text;
    } rows[] = {
        {0, "an unnamed file was not found."},
        {EACCES, "Access to an unnamed file was denied."},
        {EBUSY, "A sharing violation occurred while accessing an unnamed file."},
        {EROFS, "Access to an unnamed file was denied."},
    };
    for (const auto& row : rows) {
        useSource("rose.pes", bytesOfSize(10), "ROSE.PES");
        if (!row.error)
            std::filesystem::remove(m_strFilePath);
        questions.shown.clear();
        questions.yesNoAnswers = {true};
        FaultyFileSystem faulty;
        if (row.error)
            faulty.failOn(FaultyFileSystem::Op::Remove, row.error);
        EXPECT_EQ(OnLoeschen(m_strFilePath, m_strFileName), NextStep::Nothing);
        EXPECT_EQ(questions.shown, (Names{"Datei wirklich löschen ?", row.text}));
    }
}

TEST_F(Commands, ANewCategoryIsMadeBelowTheEntryClicked) {
    category("Tiere");
    const CategoryEntry target{kZielverzeichnis, "", true, false};
    const CategoryEntry tiere{"Tiere", "Tiere", false, false};
    EXPECT_EQ(newCategoryParent(m_strZiel, &target), m_strZiel);
    EXPECT_EQ(newCategoryParent(m_strZiel, nullptr), m_strZiel);
    EXPECT_EQ(newCategoryParent(m_strZiel, &tiere), m_strZiel + "Tiere/");

    questions.newCategoryAnswers = {std::nullopt, "Vögel"};
    EXPECT_EQ(OnRclickKategorien(m_strZiel, &tiere), NewCategoryResult::Cancelled);
    EXPECT_EQ(OnRclickKategorien(m_strZiel, &tiere), NewCategoryResult::Created);
    EXPECT_EQ(questions.newCategoryParents, (Names{m_strZiel + "Tiere/", m_strZiel + "Tiere/"}));
    EXPECT_TRUE(std::filesystem::is_directory(inTarget("Tiere/Vögel")));
    EXPECT_TRUE(questions.shown.empty());
}

TEST_F(Commands, ANewCategoryThatCannotBeMadeIsReported) {
    category("Tiere");
    dir.write("ziel/datei", "x");
    const struct {
        const char* name;
        std::string typed;
    } rows[] = {
        {"exists", "Tiere"},
        {"exists in other letters", "TIERE"},
        {"a file has the name", "Datei"},
        {"empty", ""},
        {"parent missing", "fehlt/neu"},
        // A name is one folder in the place shown: it never reaches beside or below it.
        {"this folder", "."},
        {"the parent", ".."},
        {"outside the target", "../Ausserhalb"},
        {"below a category", "Tiere/Neu"},
        {"a byte no name can hold", std::string("Neu\0x", 5)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        questions.shown.clear();
        EXPECT_FALSE(CreateCategory(m_strZiel, row.typed));
        EXPECT_EQ(questions.shown, Names{"Verzeichnis kann nicht angelegt werden."});
    }
    EXPECT_EQ(namesIn(m_strZiel), (Names{"Tiere", "datei"}));
    EXPECT_TRUE(namesIn(inTarget("Tiere")).empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("Ausserhalb")));

    questions.shown.clear();
    questions.newCategoryAnswers = {"Tiere"};
    EXPECT_EQ(OnRclickKategorien(m_strZiel, nullptr), NewCategoryResult::Failed);

    // A directory that may not be written to, as root sees it only through a fault.
    FaultyFileSystem faulty;
    faulty.failOn(FaultyFileSystem::Op::MakeDirectory, EACCES);
    EXPECT_FALSE(CreateCategory(m_strZiel, "Neu"));
    EXPECT_FALSE(std::filesystem::exists(inTarget("Neu")));
}
