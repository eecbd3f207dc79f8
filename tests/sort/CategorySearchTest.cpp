// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
// The category walk on a thread of its own, and the walk by names below open directories:
// both must list exactly what a walk by whole paths lists, loops and limits included.
#include "sort/CategorySearch.h"
#include "sort/CategoryWalk.h"

#include "FaultyFileSystem.h"
#include "SlowMount.h"
#include "TempDir.h"
#include "WholePathWalk.h"
#include "platform/DirectoryReader.h"
#include "platform/Names.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Paths = std::vector<std::string>;

namespace {

// The walk as it always was: every directory opened and every link asked by its whole path.
Paths byWholePaths(const std::string& target) {
    return categoriesByWholePaths(target, kMaxKategorien);
}

Paths byNames(const std::string& target) {
    Paths out;
    int n = 1;
    CategoryFinder(platform::fileSystem(), n, [&](const std::string& p) {
        out.push_back(p);
    }).scan(target);
    return out;
}

// Everything a search finds, taken as the window takes it: in turns while it runs, until it
// ends.
Paths searched(const std::string& target) {
    CategorySearch search(target);
    Paths out;
    while (!search.take(out))
        std::this_thread::sleep_for(100us);
    return out;
}

// Waits (without a deadline the test could hit on a slow machine) for a condition another
// thread makes true.
template <typename Condition> bool eventually(Condition condition) {
    for (int i = 0; i < 20000 && !condition(); ++i)
        std::this_thread::sleep_for(1ms);
    return condition();
}

// Directories below base, nested until their whole path is longer than the system takes: made
// and removed level by level, by names alone.
struct LongChain {
    static constexpr int kLevels = 25;
    const std::string base;
    const std::string name = std::string(200, 'l');

    explicit LongChain(std::string where) : base(std::move(where)) {
        const fs::path before = fs::current_path();
        fs::current_path(base);
        for (int i = 0; i < kLevels; ++i) {
            fs::create_directory(name);
            fs::current_path(name);
        }
        fs::current_path(before);
    }
    ~LongChain() {
        const fs::path before = fs::current_path();
        fs::current_path(base);
        for (int i = 0; i < kLevels - 1; ++i)
            fs::current_path(name);
        for (int i = 0; i < kLevels; ++i) {
            fs::remove(name);
            fs::current_path("..");
        }
        fs::current_path(before);
    }
};

} // namespace

TEST(CategorySearch, ListsWhatTheWalkByWholePathsLists) {
    TempDir dir;
    const std::string ziel = dir.makeDir("ziel");
    for (const char* d : {"Tiere/Hunde/Welpen", "Tiere/Katzen", "Blumen", ".versteckt", "leer"})
        dir.makeDir(std::string("ziel/") + d);
    dir.write("ziel/Tiere/ROSE.PES", "x");
    // Links: to a directory inside and outside the target, dangling, to a file, and one that
    // loops back, which only the limit or the system's count of links along a path ends.
    const std::string draussen = dir.makeDir("draussen/unten");
    fs::create_directory_symlink(draussen, ziel + "/verweis");
    fs::create_directory_symlink(ziel + "/Tiere/Katzen", ziel + "/Blumen/katzen");
    fs::create_directory_symlink(ziel + "/fehlt", ziel + "/tot");
    fs::create_symlink(ziel + "/Tiere/ROSE.PES", ziel + "/datei");
    fs::create_directory_symlink("..", ziel + "/Tiere/Hunde/zurueck");
    // A chain deeper than the levels that stay open, and one longer than a whole path may be.
    std::string tief = "ziel/tief";
    for (int i = 0; i < 40; ++i)
        tief += "/e" + std::to_string(i);
    dir.makeDir(tief);
    const LongChain lang(dir.makeDir("ziel/lang"));

    for (const std::string& target : {ziel, ziel + "/"}) {
        const Paths expected = byWholePaths(target);
        ASSERT_GT(expected.size(), 60u);
        EXPECT_EQ(byNames(target), expected);
        EXPECT_EQ(searched(target), expected);
    }
}

TEST(CategorySearch, LimitsAndLoopsEndWhereTheWalkByWholePathsEnds) {
    TempDir dir;
    for (int i = 0; i < 1001; ++i)
        dir.makeDir("flach/d" + std::to_string(i));
    for (const char* top : {"a", "b", "c"})
        for (int i = 0; i < 500; ++i)
            dir.makeDir(std::string("tief/") + top + "/d" + std::to_string(i));
    const std::string schleife = dir.makeDir("schleife");
    dir.makeDir("schleife/echt");
    fs::create_directory_symlink(".", schleife + "/hin");
    fs::create_directory_symlink("..", schleife + "/echt/her");
    const std::string selbst = dir.makeDir("selbst");
    fs::create_directory_symlink(".", selbst + "/selbst");

    for (const char* name : {"flach", "tief", "schleife", "selbst"}) {
        SCOPED_TRACE(name);
        const std::string target = dir.path() + "/" + name + "/";
        const Paths expected = byWholePaths(target);
        EXPECT_EQ(searched(target), expected);
        // The list the window shows from them is the one filled at once.
        CategoryList shown, atOnce;
        int n = 0;
        CategoryWalk(target, n, atOnce).FillCategories();
        shown.insert(CategoryWalk::EntryFor(target, 0, kZielverzeichnis));
        for (const std::string& path : searched(target))
            shown.insert(CategoryWalk::EntryFor(target, 1, path));
        ASSERT_EQ(shown.count(), atOnce.count());
        for (int i = 0; i < shown.count(); ++i)
            EXPECT_EQ(shown[i].relativePath, atOnce[i].relativePath);
    }
}

TEST(CategorySearch, EachCategoryOpensByItsNameBelowItsParent) {
    TempDir dir;
    dir.makeDir("ziel/Tiere/Hunde/Welpen");
    dir.makeDir("ziel/Tiere/Katzen");
    FaultyFileSystem counted;
    // The target by its path, then one lookup of a bare name per category: a whole path would
    // fail here.
    counted.failOn(FaultyFileSystem::Op::OpenSubdirectory, EIO, "/", 1);
    EXPECT_EQ(byNames(dir.path() + "/ziel/").size(), 4u);
    EXPECT_EQ(counted.calls(FaultyFileSystem::Op::OpenSubdirectory), 5);
    EXPECT_EQ(counted.calls(FaultyFileSystem::Op::OpenDirectory), 0);
}

TEST(CategorySearch, HandsOverWhatItFoundBeforeAHungFolderAndTheRestOnceItAnswers) {
    TempDir dir;
    dir.makeDir("ziel/Tiere/Hunde/Welpen");
    FaultyFileSystem faults;
    faults.holdOn(FaultyFileSystem::Op::OpenSubdirectory, "Hunde");
    const std::string ziel = dir.path() + "/ziel/";
    {
        CategorySearch search(ziel);
        ASSERT_TRUE(eventually([&] { return faults.held() == 1; }));
        Paths found;
        EXPECT_FALSE(search.take(found));
        EXPECT_EQ(found, (Paths{ziel + "Tiere", ziel + "Tiere/Hunde"}));
        EXPECT_FALSE(search.waitUntilEnded(1ms));

        faults.release();
        ASSERT_TRUE(search.waitUntilEnded(20s));
        EXPECT_TRUE(search.take(found));
        EXPECT_EQ(found.back(), ziel + "Tiere/Hunde/Welpen");
    }
    EXPECT_TRUE(eventually([] { return CategorySearch::threadsRunning() == 0; }));
}

TEST(CategorySearch, ACancelledOrDroppedSearchNeverWaitsAndHandsOverNothingMore) {
    TempDir dir;
    dir.makeDir("ziel/Tiere/Hunde/Welpen");
    dir.makeDir("ziel/Tiere/Hunde/Doggen");
    FaultyFileSystem faults;
    faults.holdOn(FaultyFileSystem::Op::OpenSubdirectory, "Hunde");
    const std::string ziel = dir.path() + "/ziel/";

    CategorySearch cancelled(ziel);
    ASSERT_TRUE(eventually([&] { return faults.held() == 1; }));
    cancelled.cancel();
    {
        // Dropped while its thread hangs: returns at once.
        CategorySearch dropped(ziel);
        ASSERT_TRUE(eventually([&] { return faults.held() == 2; }));
    }
    EXPECT_EQ(CategorySearch::threadsRunning(), 2);

    faults.release();
    ASSERT_TRUE(eventually([] { return CategorySearch::threadsRunning() == 0; }));
    Paths found;
    EXPECT_TRUE(cancelled.take(found));
    EXPECT_TRUE(found.empty());
    // Cancelled walks stop at the next directory: nothing below Hunde was opened.
    EXPECT_EQ(faults.calls(FaultyFileSystem::Op::OpenSubdirectory), 6);
}

TEST(CategorySearch, OnAShareWhoseListingsCarryNoTypesItListsTheSameForFewerRequests) {
    SlowMount share(SlowMount::Options{0, false});
    if (!share.mounted())
        GTEST_SKIP() << share.skipReason();
    const TempDir& backing = share.backingDir();
    for (const char* d : {"ziel/Tiere/Hunde/Welpen", "ziel/Tiere/Katzen", "ziel/Blumen"})
        backing.makeDir(d);
    backing.write("ziel/Tiere/ROSE.PES", "x");
    const std::string real = share.backing() + "/ziel";
    fs::create_directory_symlink("Tiere/Katzen", real + "/katzen");
    fs::create_directory_symlink("fehlt", real + "/tot");
    fs::create_symlink("Tiere/ROSE.PES", real + "/datei");
    fs::create_directory_symlink("..", real + "/Tiere/Hunde/zurueck");
    const std::string ziel = share.path() + "/ziel/";

    share.resetRequests();
    const Paths expected = byWholePaths(ziel);
    const long wholePathRequests = share.requests();
    ASSERT_GT(expected.size(), 8u);
    share.resetRequests();
    EXPECT_EQ(byNames(ziel), expected);
    EXPECT_LT(share.requests(), wholePathRequests);
    EXPECT_EQ(searched(ziel), expected);
}
