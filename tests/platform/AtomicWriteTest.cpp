#include "platform/AtomicWrite.h"
#include "platform/ExistingEntries.h"
#include "platform/FileError.h"

#include "FaultyFileSystem.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

using platform::FileError;
using Op = FaultyFileSystem::Op;

namespace {
std::vector<std::string> namesIn(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(directory))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
} // namespace

TEST(AtomicWrite, ReplacesAFileWhole) {
    TempDir dir;
    const std::string path = dir.write("ROSE.PES", "alter Inhalt, länger");
    platform::writeFileAtomically(path, "neu", 3);
    EXPECT_EQ(readBytes(path), (std::vector<std::uint8_t>{'n', 'e', 'u'}));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"ROSE.PES"});
}

TEST(AtomicWrite, AFailureLeavesTheOldFileAndNoTemporaryOne) {
    const struct {
        Op op;
        int error;
        int skip;
        bool named;
    } rows[] = {
        {Op::Open, ENOSPC, 0, true}, {Op::Write, EIO, 0, true},     {Op::Sync, EIO, 0, true},
        {Op::Close, EIO, 0, false},  {Op::Rename, EACCES, 0, true},
    };
    for (const auto& row : rows) {
        TempDir dir;
        const std::string path = dir.write("ROSE.PES", "alt");
        FaultyFileSystem faulty;
        faulty.failOn(row.op, row.error, {}, row.skip);
        try {
            platform::writeFileAtomically(path, "neu und länger", 15);
            ADD_FAILURE() << "no error";
        } catch (const FileError& e) {
            EXPECT_EQ(e.fileName(), row.named ? path : std::string());
        }
        EXPECT_EQ(readBytes(path), (std::vector<std::uint8_t>{'a', 'l', 't'}));
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"ROSE.PES"});
    }
}

TEST(AtomicWrite, APathWithoutANameWritesNothing) {
    TempDir dir;
    for (const std::string& path : {std::string(), dir.path() + "/"}) {
        EXPECT_THROW(platform::writeFileAtomically(path, "x", 1), FileError);
        EXPECT_TRUE(namesIn(dir.path()).empty());
    }
}

TEST(AtomicWrite, AFileNeverCommittedLeavesNothing) {
    TempDir dir;
    {
        platform::AtomicFileWriter writer(dir.file("ROSE.PES"));
        writer.write("abc", 3);
    }
    EXPECT_TRUE(namesIn(dir.path()).empty());
}

TEST(ExistingEntries, FindsANameWhateverTheCaseOfItsLetters) {
    TempDir dir;
    dir.write("rose.pes", "12345");
    dir.write("Grün.Dst", "1");
    dir.makeDir("Tiere");
    platform::ExistingEntries existing;
    platform::FileSystem::Status status;

    ASSERT_TRUE(existing.find(dir.file("ROSE.PES"), status));
    EXPECT_EQ(status.size, 5u);
    EXPECT_TRUE(existing.find(dir.file("GRÜN.DST"), status));
    EXPECT_TRUE(existing.find(dir.file("TIERE"), status));
    EXPECT_TRUE(status.isDirectory);
    EXPECT_FALSE(existing.find(dir.file("ROSE01.PES"), status));
    EXPECT_FALSE(existing.find(dir.file("fehlt/ROSE.PES"), status));
    EXPECT_FALSE(existing.find("", status));

    // Without a listing only the exact name is found.
    FaultyFileSystem faulty;
    faulty.failOn(Op::OpenDirectory, EACCES);
    platform::ExistingEntries unlisted;
    EXPECT_TRUE(unlisted.find(dir.file("rose.pes"), status));
    EXPECT_FALSE(unlisted.find(dir.file("ROSE.PES"), status));
}
