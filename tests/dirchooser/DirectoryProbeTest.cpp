// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "dirchooser/DirectoryProbe.h"
#include "platform/FileSystem.h"

#include "FaultyFileSystem.h"
#include "TempDir.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>

using namespace dirchooser;
namespace fs = std::filesystem;

namespace {
std::vector<std::string> sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}
} // namespace

TEST(DirectoryProbe, OnlyDirectoriesAndLinksToThemCount) {
    TempDir t;
    t.write("files/a.pes", "x");
    t.write("files/b.dst", "x");
    t.makeDir("mixed/.hidden");
    t.makeDir("mixed/Sub");
    t.write("mixed/c.pes", "x");
    t.makeDir("linked/target");
    fs::create_directory_symlink("target", t.file("linked/to-target"));
    fs::create_symlink("nowhere", t.file("linked/dangling"));
    fs::create_symlink("self", t.file("linked/self")); // a loop of one link
    t.makeDir("empty");

    EXPECT_FALSE(hasSubdirectory(t.file("files")));
    EXPECT_FALSE(hasSubdirectory(t.file("empty")));
    EXPECT_TRUE(hasSubdirectory(t.file("mixed")));
    EXPECT_TRUE(hasSubdirectory(t.file("mixed/"))); // with a trailing separator
    EXPECT_TRUE(hasSubdirectory(t.file("linked")));

    EXPECT_EQ(listSubdirectories(t.file("files")), std::vector<std::string>{});
    EXPECT_EQ(sorted(*listSubdirectories(t.file("mixed"))),
              (std::vector<std::string>{".hidden", "Sub"}));
    EXPECT_EQ(sorted(*listSubdirectories(t.file("linked"))),
              (std::vector<std::string>{"target", "to-target"}));
}

TEST(DirectoryProbe, WhatCannotBeListedHasNoSubdirectories) {
    TempDir t;
    const std::string file = t.write("plain.pes", "x");
    const std::string gone = t.makeDir("gone/sub");
    fs::remove_all(t.file("gone"));
    for (const std::string& path : {file, gone, t.file("never")}) {
        EXPECT_FALSE(hasSubdirectory(path)) << path;
        EXPECT_FALSE(listSubdirectories(path).has_value()) << path;
    }
}

TEST(DirectoryProbe, ListingThatFailsToStartGivesNothing) {
    TempDir t;
    t.makeDir("locked/sub");
    t.makeDir("open/sub");
    for (const int error : {EACCES, EIO, ENOMEDIUM, ELOOP}) {
        FaultyFileSystem fs;
        fs.failOn(FaultyFileSystem::Op::OpenDirectory, error, "/locked");
        EXPECT_FALSE(hasSubdirectory(t.file("locked"))) << error;
        EXPECT_FALSE(listSubdirectories(t.file("locked")).has_value()) << error;
        EXPECT_TRUE(hasSubdirectory(t.file("open"))) << error;
    }
}

TEST(DirectoryProbe, NamesKeepTheirExactBytes) {
    TempDir t;
    const std::string latin1 = "b\xE4r";     // not UTF-8
    const std::string cut = "x\xC3";         // a sequence cut short
    const std::string utf8 = "V\xC3\xB6gel"; // Vögel
    for (const std::string& name : {latin1, cut, utf8})
        t.makeDir(name);
    EXPECT_EQ(sorted(*listSubdirectories(t.path())), sorted({latin1, cut, utf8}));
    EXPECT_TRUE(hasSubdirectory(t.path()));
}

TEST(DirectoryProbe, ListingStopsWhenToldWithWhatItHasFound) {
    TempDir t;
    for (const char* name : {"a", "b", "c", "d"})
        t.makeDir(name);
    int entries = 0;
    const auto names =
        listSubdirectories(t.path(), platform::fileSystem(), [&] { return ++entries < 2; });
    ASSERT_TRUE(names.has_value());
    EXPECT_EQ(entries, 2);
    EXPECT_EQ(names->size(), 2u);
}
