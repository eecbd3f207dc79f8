// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
//
// Files named relative to an open directory, and listings that take the types they are given,
// on the local disk and on a share whose listings carry names only.
#include "platform/Directory.h"
#include "platform/AtomicWrite.h"
#include "platform/DirectoryReader.h"
#include "platform/ExistingEntries.h"

#include "FaultyFileSystem.h"
#include "SlowMount.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <unistd.h>

namespace {

#define SKIP_UNLESS_MOUNTED(mount)                                                                 \
    if (!(mount).mounted())                                                                        \
    GTEST_SKIP() << (mount).skipReason()

// Whether each entry counts as a directory, by name.
std::map<std::string, bool> directoriesIn(const std::string& path, platform::EntryTypes types) {
    std::map<std::string, bool> out;
    platform::DirectoryReader reader;
    EXPECT_TRUE(reader.open(path, types));
    platform::DirectoryEntry entry;
    while (reader.next(entry))
        out[entry.name] = entry.isDirectory;
    return out;
}

} // namespace

TEST(DirectoryReader, TakesTypesFromTheListingOnlyWhenAskedTo) {
    SlowMount mount;
    SKIP_UNLESS_MOUNTED(mount);
    mount.backingDir().makeDir("ordner.pes");
    mount.backingDir().write("rose.pes", "x");
    using Types = platform::EntryTypes;
    // The default asks about every entry the listing says nothing about.
    EXPECT_EQ(directoriesIn(mount.path(), Types::Checked),
              (std::map<std::string, bool>{{"ordner.pes", true}, {"rose.pes", false}}));
    mount.resetRequests();
    EXPECT_EQ(directoriesIn(mount.path(), Types::FromListing),
              (std::map<std::string, bool>{{"ordner.pes", false}, {"rose.pes", false}}));
    EXPECT_LE(mount.requests(), 5);

    // A local disk says, and a link is still followed.
    TempDir dir;
    dir.makeDir("ordner");
    ASSERT_EQ(::symlink("ordner", dir.file("zumordner.pes").c_str()), 0);
    EXPECT_EQ(directoriesIn(dir.path(), Types::FromListing),
              (std::map<std::string, bool>{{"ordner", true}, {"zumordner.pes", true}}));
}

TEST(DirectoryReader, ListsAHeldDirectoryFromItsStartEveryTimeAskingOnlyForItsEntries) {
    SlowMount mount;
    SKIP_UNLESS_MOUNTED(mount);
    mount.backingDir().write("a/rose.pes", "x");
    mount.backingDir().makeDir("a/tiere");
    platform::Directory held(mount.path() + "/a", platform::Directory::Use::Listing);
    ASSERT_TRUE(held.isReadable());
    mount.resetRequests();
    for (int listing = 0; listing < 2; ++listing) {
        SCOPED_TRACE(listing);
        std::set<std::string> names;
        platform::DirectoryReader reader;
        ASSERT_TRUE(reader.open(held, platform::EntryTypes::FromListing));
        platform::DirectoryEntry entry;
        while (reader.next(entry))
            names.insert(entry.name);
        EXPECT_EQ(names, (std::set<std::string>{"rose.pes", "tiere"}));
    }
    std::istringstream log(mount.requestLog());
    for (std::string request; std::getline(log, request);)
        EXPECT_EQ(request.rfind("readdir ", 0), 0u) << request;
}

TEST(DirectoryReader, ListsEveryEntryOfADirectoryTooLargeForOneRead) {
    TempDir dir;
    std::set<std::string> made;
    for (int i = 0; i < 1500; ++i) {
        const std::string name = "entwurf-mit-einem-recht-langen-namen-" + std::to_string(i);
        dir.write(name, "");
        made.insert(name);
    }
    dir.makeDir("ordner");
    std::set<std::string> files, directories;
    platform::DirectoryReader reader;
    ASSERT_TRUE(reader.open(dir.path(), platform::EntryTypes::FromListing));
    platform::DirectoryEntry entry;
    while (reader.next(entry))
        EXPECT_TRUE((entry.isDirectory ? directories : files).insert(entry.name).second)
            << entry.name << " listed twice";
    EXPECT_EQ(files, made);
    EXPECT_EQ(directories, std::set<std::string>{"ordner"});
    // Neither a file nor nothing can be listed.
    EXPECT_FALSE(
        platform::DirectoryReader().open(dir.file("entwurf-mit-einem-recht-langen-namen-1")));
    EXPECT_FALSE(platform::DirectoryReader().open(std::string()));
}

TEST(ExistingEntries, InAnOpenDirectoryOneListingDecidesAndAFreeNameCostsNothingMore) {
    SlowMount mount;
    SKIP_UNLESS_MOUNTED(mount);
    mount.backingDir().write("rose.pes", "12345");
    mount.backingDir().makeDir("TIERE");
    platform::Directory dir(mount.path());
    ASSERT_TRUE(dir.isOpen());
    platform::ExistingEntries existing(dir);
    platform::FileSystem::Status status;
    EXPECT_TRUE(existing.find(dir.path() + "ROSE.PES", status));
    EXPECT_EQ(status.size, 5u);
    EXPECT_TRUE(existing.find(dir.path() + "tiere", status));
    EXPECT_TRUE(status.isDirectory);
    mount.resetRequests();
    for (const char* name : {"ROSE01.PES", "ROSE02.PES", "NEU.DST"})
        EXPECT_FALSE(existing.find(dir.path() + name, status)) << name;
    EXPECT_EQ(mount.requests(), 0);

    // Without a listing, the exact name is asked for, relative to the directory.
    FaultyFileSystem faulty;
    faulty.failOn(FaultyFileSystem::Op::OpenDirectory, EACCES);
    platform::ExistingEntries unlisted(dir);
    EXPECT_TRUE(unlisted.find(dir.path() + "rose.pes", status));
    EXPECT_FALSE(unlisted.find(dir.path() + "ROSE.PES", status));
}

TEST(Directory, NamesFilesRelativeToItOrByTheirPathWhereItCannotBeOpened) {
    TempDir tmp;
    tmp.makeDir("a/b");
    platform::Directory a(tmp.path() + "/a/");
    ASSERT_TRUE(a.isOpen());
    EXPECT_EQ(a.path(), tmp.path() + "/a/");
    EXPECT_EQ(a.at("X.PES"), "X.PES");
    EXPECT_TRUE(a.holds(tmp.path() + "/a/X.PES"));
    EXPECT_FALSE(a.holds(tmp.path() + "/a/b/X.PES"));
    EXPECT_FALSE(a.holds(tmp.path() + "/a/"));
    platform::Directory b(a, "b");
    EXPECT_TRUE(b.isOpen());
    EXPECT_EQ(b.path(), tmp.path() + "/a/b/");

    platform::Directory missing(tmp.path() + "/fehlt");
    EXPECT_FALSE(missing.isOpen());
    EXPECT_EQ(missing.at("X.PES"), tmp.path() + "/fehlt/X.PES");
    EXPECT_EQ(missing.fd(), AT_FDCWD);
}

TEST(AtomicWrite, AWriterInAnOpenDirectoryNeverReplacesInEveryWayOfNaming) {
    using Mode = platform::AtomicFileWriter::Mode;
    for (const auto naming : FaultyFileSystem::kNamings) {
        SCOPED_TRACE(FaultyFileSystem::nameOf(naming));
        TempDir tmp;
        const std::string taken = tmp.write("ROSE.PES", "fremd");
        tmp.write(".nadelix-00000000000a.tmp", "alt"); // left by a program that died
        platform::Directory dir(tmp.path());
        FaultyFileSystem faulty;
        faulty.namesBy(naming);
        platform::AtomicFileWriter writer(taken, Mode::KeepExisting, dir);
        writer.write("meins", 5);
        EXPECT_FALSE(writer.commit());
        writer.setPath(tmp.file("ROSE01.PES"));
        EXPECT_TRUE(writer.commit());
        EXPECT_EQ(readBytes(taken), (std::vector<std::uint8_t>{'f', 'r', 'e', 'm', 'd'}));
        EXPECT_EQ(readBytes(tmp.file("ROSE01.PES")),
                  (std::vector<std::uint8_t>{'m', 'e', 'i', 'n', 's'}));
        if (naming != FaultyFileSystem::Naming::Unnamed) {
            EXPECT_FALSE(std::filesystem::exists(tmp.file(".nadelix-00000000000a.tmp")));
        }
    }
}

// The real calls, where a share would cost a request for what the system already knows.
TEST(FileSystem, LinksTheFileHeldOpenAndNeverAnotherUnderItsName) {
    const std::vector<std::uint8_t> mine{'m', 'e', 'i', 'n', 's'};
    TempDir tmp;
    platform::Directory dir(tmp.path());
    platform::FileSystem& fs = platform::posixFileSystem();
    const std::string ours = tmp.write("ours.tmp", mine);
    int fd = -1;
    ASSERT_EQ(fs.open(ours.c_str(), O_RDONLY, 0, fd), 0);
    EXPECT_EQ(fs.linkOpenAt(fd, dir.fd(), "ours.tmp", "ROSE.PES"), 0);
    EXPECT_EQ(readBytes(tmp.file("ROSE.PES")), mine);
    EXPECT_EQ(fs.linkOpenAt(fd, dir.fd(), "ours.tmp", "ROSE.PES"), EEXIST);

    // Replaced by another program's file: ours has no name left, and theirs is not linked.
    std::filesystem::remove(tmp.file("ROSE.PES"));
    std::filesystem::rename(tmp.write("theirs", "fremd"), ours);
    EXPECT_EQ(fs.linkOpenAt(fd, dir.fd(), "ours.tmp", "ROSE01.PES"), ENOENT);
    EXPECT_FALSE(std::filesystem::exists(tmp.file("ROSE01.PES")));
    fs.close(fd);
}

TEST(FileSystem, TheSizeRightAfterTheStatusCostsAShareNoRequest) {
    SlowMount mount;
    SKIP_UNLESS_MOUNTED(mount);
    mount.backingDir().write("rose.pes", "12345");
    platform::FileSystem& fs = platform::posixFileSystem();
    int fd = -1;
    ASSERT_EQ(fs.open((mount.path() + "/rose.pes").c_str(), O_RDONLY, 0, fd), 0);
    platform::FileSystem::Status status;
    ASSERT_EQ(fs.fileStatus(fd, status), 0);
    mount.resetRequests();
    std::uint64_t size = 0;
    EXPECT_EQ(fs.fileSize(fd, size), 0);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(mount.requests(), 0) << mount.requestLog();
    fs.close(fd);
}
