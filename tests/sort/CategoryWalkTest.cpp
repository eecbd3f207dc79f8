// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "sort/CategoryWalk.h"

#include "TempDir.h"
#include "platform/Names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Walked {
    std::vector<std::string> texts;
    std::vector<std::string> paths;
    int nKategorien = 0;
};

Walked walk(const std::string& ziel) {
    Walked out;
    CategoryList list;
    CategoryWalk(ziel, out.nKategorien, list).FillCategories();
    for (const auto& e : list.entries()) {
        out.texts.push_back(e.text);
        out.paths.push_back(e.relativePath);
    }
    return out;
}

using Texts = std::vector<std::string>;

} // namespace

TEST(CategoryWalk, ListsEveryDepthTargetFirstThenInOrder) {
    TempDir dir;
    for (const char* d :
         {"ziel/Tiere/Hunde", "ziel/Tiere/Katzen", "ziel/Blumen", "ziel/.versteckt"})
        dir.makeDir(d);
    dir.write("ziel/Tiere/ROSE.PES", "x"); // files are not categories
    dir.write("ziel/a-datei", "x");

    const Walked w = walk(dir.path() + "/ziel/");
    EXPECT_EQ(w.texts, (Texts{"[ Zielverzeichnis ]", ".versteckt", "Blumen", "Tiere", "Tiere/Hunde",
                              "Tiere/Katzen"}));
    EXPECT_EQ(w.nKategorien, 6);
}

TEST(CategoryWalk, TargetWithoutTrailingSeparatorGivesTheSameTexts) {
    TempDir dir;
    dir.makeDir("ziel/Tiere/Hunde");
    EXPECT_EQ(walk(dir.path() + "/ziel").texts,
              (Texts{"[ Zielverzeichnis ]", "Tiere", "Tiere/Hunde"}));
}

TEST(CategoryWalk, AnEmptyOrMissingTargetListsOnlyTheTargetEntry) {
    TempDir dir;
    dir.makeDir("leer");
    for (const std::string& ziel : {dir.path() + "/leer/", dir.path() + "/fehlt/"}) {
        const Walked w = walk(ziel);
        EXPECT_EQ(w.texts, Texts{"[ Zielverzeichnis ]"});
        EXPECT_EQ(w.nKategorien, 1);
    }
}

TEST(CategoryWalk, OrderIgnoresCaseAndKeepsSubDirectoriesUnderTheirParent) {
    const struct {
        const char* a;
        const char* b;
    } before[] = {
        {"apfel", "Birne"},
        {"Birne", "birnen"},
        {"Tiere", "Tiere/Hunde"},
        {"Tiere/Hunde", "Tiere-alt"}, // a directory's subtree stays together
        {"Tiere/Zebras", "Tiere 2"},
        {"Apfel", "Äpfel"}, // equal letters: the bytes decide
        {"Äpfel", "Birne"}, // an accent does not move a word behind Z
        {"Zebra", "\xFF"
                  "kaputt"}, // bytes that are not UTF-8 sort last
        {"1-Muster", "Anker"},
    };
    for (const auto& row : before) {
        EXPECT_TRUE(categoryLess(row.a, row.b)) << row.a << " < " << row.b;
        EXPECT_FALSE(categoryLess(row.b, row.a)) << row.b << " > " << row.a;
    }
}

TEST(CategoryWalk, TheTargetEntryStaysFirstWhateverSortsBeforeIt) {
    CategoryList list;
    list.insert({"!!!", "!!!", false, false});
    list.insert({"[ Zielverzeichnis ]", "", true, false});
    list.insert({" ", " ", false, false});
    list.insert({"[", "[", false, false});
    ASSERT_EQ(list.count(), 4);
    EXPECT_TRUE(list[0].isTarget);
    EXPECT_EQ(list[1].text, " ");
}

TEST(CategoryWalk, StopsAtOneThousandSubDirectoriesOnEveryLevel) {
    TempDir dir;
    // One more than fits, in one level.
    for (int i = 0; i < 1001; ++i)
        dir.makeDir("flach/d" + std::to_string(i));
    Walked w = walk(dir.path() + "/flach/");
    EXPECT_EQ(w.texts.size(), 1001u);
    EXPECT_EQ(w.nKategorien, 1001);

    // Three directories of 500: whichever come first, the limit is reached inside the second,
    // and the third is not added by the level above.
    for (const char* top : {"a", "b", "c"})
        for (int i = 0; i < 500; ++i)
            dir.makeDir(std::string("tief/") + top + "/d" + std::to_string(i));
    w = walk(dir.path() + "/tief/");
    EXPECT_EQ(w.texts.size(), 1001u);
    EXPECT_EQ(w.nKategorien, 1001);
    EXPECT_EQ(std::count_if(w.paths.begin() + 1, w.paths.end(),
                            [](const std::string& p) { return p.find('/') == std::string::npos; }),
              2);
}

TEST(CategoryWalk, ScanningPastTheLimitOrAnUnreadableDirectoryAddsNothing) {
    TempDir dir;
    dir.makeDir("ziel/x");
    const std::string ziel = dir.path() + "/ziel/";
    CategoryList list;
    int n = 1001;
    CategoryWalk walker(ziel, n, list);
    EXPECT_EQ(walker.ScanCategories(ziel), 0);
    EXPECT_EQ(list.count(), 0);
    n = 1;
    EXPECT_EQ(walker.ScanCategories(dir.path() + "/fehlt"), 0);
    EXPECT_EQ(walker.ScanCategories(ziel), 2);
    EXPECT_EQ(walker.AddCategory(n, ziel + "y"), 1);
}

TEST(CategoryWalk, DirectoryLinksThatLoopEndAtTheLimit) {
    TempDir dir;
    const std::string ziel = dir.makeDir("ziel");
    dir.makeDir("ziel/echt");
    // Two links back to the target make the tree behind them endless.
    fs::create_directory_symlink(".", ziel + "/hin");
    fs::create_directory_symlink("..", ziel + "/echt/her");
    const Walked w = walk(ziel + "/");
    EXPECT_EQ(w.texts.size(), 1001u);
    EXPECT_EQ(w.nKategorien, 1001);
}

TEST(CategoryWalk, ALinkToItselfEndsWhenTheSystemRefusesToFollowFurther) {
    TempDir dir;
    const std::string ziel = dir.makeDir("ziel");
    fs::create_directory_symlink(".", ziel + "/selbst");
    const Walked w = walk(ziel + "/");
    EXPECT_GT(w.texts.size(), 2u);
    EXPECT_LT(w.texts.size(), 1001u);
}

TEST(CategoryWalk, LongPathsAreShownCutAtACharacterButCopiedToInFull) {
    TempDir dir;
    // 254 characters, then "ä" (two bytes) as the 255th: cutting at 255 bytes would split it.
    const std::string level1(100, 'a');
    const std::string level2(100, 'b');
    const std::string level3 = std::string(52, 'c') + "äää" + std::string(40, 'd');
    const std::string relative = level1 + "/" + level2 + "/" + level3;
    dir.makeDir("ziel/" + relative);

    const Walked w = walk(dir.path() + "/ziel/");
    ASSERT_EQ(w.texts.size(), 4u);
    EXPECT_EQ(w.paths[3], relative);
    EXPECT_EQ(w.texts[3], level1 + "/" + level2 + "/" + std::string(52, 'c') + "ä");
    EXPECT_EQ(platform::characterCount(w.texts[3]), 255u);
}

TEST(CategoryWalk, NamesThatAreNotUtf8AreListed) {
    TempDir dir;
    dir.makeDir("ziel/Gr\xFC"
                "n");
    dir.makeDir("ziel/Gr\xFC"
                "n/\xC3");
    const Walked w = walk(dir.path() + "/ziel/");
    EXPECT_EQ(w.texts, (Texts{"[ Zielverzeichnis ]",
                              "Gr\xFC"
                              "n",
                              "Gr\xFC"
                              "n/\xC3"}));
}
