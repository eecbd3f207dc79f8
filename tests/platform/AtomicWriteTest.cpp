// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "platform/AtomicWrite.h"
#include "platform/ExistingEntries.h"
#include "platform/FileError.h"

#include "FaultyFileSystem.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

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

using Naming = FaultyFileSystem::Naming;

using Mode = platform::AtomicFileWriter::Mode;
using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

bool writeAndCommit(const std::string& path, std::string_view text, Mode mode) {
    platform::AtomicFileWriter writer(path, mode);
    writer.write(text.data(), text.size());
    return writer.commit();
}
} // namespace

TEST(AtomicWrite, NamesTheFileOnlyWhereNothingHasTheName) {
    for (const Naming naming : FaultyFileSystem::kNamings) {
        SCOPED_TRACE(FaultyFileSystem::nameOf(naming));
        TempDir dir;
        FaultyFileSystem faulty;
        faulty.namesBy(naming);

        EXPECT_TRUE(writeAndCommit(dir.file("NEU.PES"), "neu", Mode::KeepExisting));
        EXPECT_EQ(readBytes(dir.file("NEU.PES")), bytesOf("neu"));

        // A file that took the name meanwhile stays; the bytes wait for another name.
        const std::string taken = dir.write("ROSE.PES", "fremd");
        platform::AtomicFileWriter writer(taken);
        writer.write("meins", 5);
        EXPECT_FALSE(writer.commit());
        EXPECT_EQ(readBytes(taken), bytesOf("fremd"));
        writer.setPath(dir.file("ROSE01.PES"));
        EXPECT_TRUE(writer.commit());
        EXPECT_EQ(readBytes(dir.file("ROSE01.PES")), bytesOf("meins"));

        // Replacing was asked for: the old bytes go whole.
        EXPECT_TRUE(writeAndCommit(taken, "ersetzt", Mode::Replace));
        EXPECT_EQ(readBytes(taken), bytesOf("ersetzt"));
        EXPECT_EQ(namesIn(dir.path()),
                  (std::vector<std::string>{"NEU.PES", "ROSE.PES", "ROSE01.PES"}));
    }
}

TEST(AtomicWrite, ACacheFileIsNamedWithoutWaitingForTheDisk) {
    TempDir dir;
    FaultyFileSystem faulty;
    faulty.failOn(Op::Sync, EIO); // any wait for the disk would fail the commit
    platform::AtomicFileWriter writer(dir.write("THUMB.PNG", "alt"), Mode::Replace);
    writer.skipFlush();
    writer.write("neu", 3);
    EXPECT_TRUE(writer.commit());
    EXPECT_EQ(readBytes(dir.file("THUMB.PNG")), bytesOf("neu"));

    platform::AtomicFileWriter flushed(dir.file("THUMB.PNG"), Mode::Replace);
    flushed.write("sicher", 6);
    EXPECT_THROW(flushed.commit(), FileError);
    EXPECT_EQ(readBytes(dir.file("THUMB.PNG")), bytesOf("neu"));
}

TEST(AtomicWrite, AFailureLeavesTheOldFileAndNoTemporaryOne) {
    const struct {
        const char* name;
        bool unnamed;
        Mode mode;
        Op op;
        int error;
    } rows[] = {
        {"unnamed: create", true, Mode::Replace, Op::OpenTemporary, ENOSPC},
        {"unnamed: write", true, Mode::Replace, Op::Write, EIO},
        {"unnamed: flush", true, Mode::Replace, Op::Sync, EIO},
        {"unnamed: name", true, Mode::KeepExisting, Op::LinkTemporary, EACCES},
        {"unnamed: replace", true, Mode::Replace, Op::Rename, EACCES},
        {"named: create", false, Mode::Replace, Op::Open, ENOSPC},
        {"named: write", false, Mode::Replace, Op::Write, EIO},
        {"named: flush", false, Mode::KeepExisting, Op::Sync, EIO},
        {"named: name", false, Mode::KeepExisting, Op::RenameNoReplace, EACCES},
        {"named: replace", false, Mode::Replace, Op::Rename, EACCES},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string old = dir.write("ALT.PES", "alt");
        const std::string path = row.mode == Mode::Replace ? old : dir.file("NEU.PES");
        FaultyFileSystem faulty;
        faulty.namesBy(row.unnamed ? Naming::Unnamed : Naming::RenameNoReplace);
        faulty.failOn(row.op, row.error);
        try {
            writeAndCommit(path, "neu und länger", row.mode);
            ADD_FAILURE() << "no error";
        } catch (const FileError& e) {
            EXPECT_EQ(e.fileName(), path);
            EXPECT_EQ(e.cause(), platform::causeFromErrno(row.error));
        }
        EXPECT_EQ(readBytes(old), bytesOf("alt"));
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"ALT.PES"});
    }
}

TEST(AtomicWrite, APathWithoutANameWritesNothing) {
    TempDir dir;
    for (const std::string& path : {std::string(), dir.path() + "/"}) {
        EXPECT_THROW(writeAndCommit(path, "x", Mode::KeepExisting), FileError);
        EXPECT_TRUE(namesIn(dir.path()).empty());
    }
}

TEST(AtomicWrite, AFileNeverCommittedLeavesNothing) {
    for (const bool unnamed : {true, false}) {
        TempDir dir;
        FaultyFileSystem faulty;
        faulty.namesBy(unnamed ? Naming::Unnamed : Naming::RenameNoReplace);
        {
            platform::AtomicFileWriter writer(dir.file("ROSE.PES"));
            writer.write("abc", 3);
            EXPECT_EQ(writer.isUnnamed(), unnamed);
        }
        EXPECT_TRUE(namesIn(dir.path()).empty());
    }
}

// A program killed while its copy waits for a name: an unnamed file goes with it; a temporary
// file stays until the next write into its directory, which leaves alone what a live writer
// holds and what only looks like a temporary file.
TEST(AtomicWrite, WhatAKilledWriterLeavesIsGoneByTheNextWrite) {
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed" : "named");
        TempDir dir;
        FaultyFileSystem faulty;
        faulty.namesBy(unnamed ? Naming::Unnamed : Naming::RenameNoReplace);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            platform::AtomicFileWriter writer(dir.file("ROSE.PES"));
            writer.write("abc", 3);
            ::raise(SIGKILL);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(namesIn(dir.path()).size(), unnamed ? 0u : 1u);

        dir.write(".nadelix-meine-notiz.tmp", "kein Nadelix");
        platform::AtomicFileWriter live(dir.file("LEBT.PES"));
        live.write("x", 1);
        EXPECT_TRUE(writeAndCommit(dir.file("STERN.DST"), "neu", Mode::KeepExisting));
        EXPECT_TRUE(live.commit());
        EXPECT_EQ(namesIn(dir.path()),
                  (std::vector<std::string>{".nadelix-meine-notiz.tmp", "LEBT.PES", "STERN.DST"}));
    }
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
