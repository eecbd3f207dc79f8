// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "platform/File.h"

#include "FaultyFileSystem.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>

using platform::File;
using platform::FileError;
using platform::FileErrorCause;
using Op = FaultyFileSystem::Op;

namespace {
// Runs f and returns the file error it threw.
template <typename F> FileError errorOf(F f) {
    try {
        f();
    } catch (const FileError& e) {
        return e;
    }
    ADD_FAILURE() << "no file error";
    return FileError(FileErrorCause::None, {});
}
} // namespace

TEST(File, WritesAndReadsBackAFile) {
    TempDir dir;
    File out;
    ASSERT_TRUE(out.createNew(dir.file("a.bin")));
    out.write("abcdef", 6);
    out.flush();
    out.close();

    File in;
    in.openForReading(dir.file("a.bin"));
    EXPECT_EQ(in.length(), 6u);
    char buffer[10] = {};
    EXPECT_EQ(in.read(buffer, 10), 6u);
    EXPECT_STREQ(buffer, "abcdef");
}

TEST(File, OpeningCreatingAndWritingNameTheirFile) {
    TempDir dir;
    const std::string missing = dir.file("fehlt/ROSE.PES");

    auto open = errorOf([&] { File().openForReading(missing); });
    EXPECT_EQ(open.cause(), FileErrorCause::FileNotFound);
    EXPECT_EQ(open.fileName(), missing);

    auto create = errorOf([&] { File().createNew(missing); });
    EXPECT_EQ(create.cause(), FileErrorCause::FileNotFound);
    EXPECT_EQ(create.fileName(), missing);

    FaultyFileSystem faulty;
    faulty.failOn(Op::Write, ENOSPC);
    File out;
    ASSERT_TRUE(out.createNew(dir.file("voll.pes")));
    auto write = errorOf([&] { out.write("x", 1); });
    EXPECT_EQ(write.cause(), FileErrorCause::DiskFull);
    EXPECT_EQ(write.fileName(), dir.file("voll.pes"));
    EXPECT_EQ(platform::fileErrorText(write),
              "Disk full while accessing " + dir.file("voll.pes") + ".");
}

TEST(File, LengthReadingClosingAndRemovingLeaveTheFileUnnamed) {
    TempDir dir;
    const std::string path = dir.write("a.pes", "12345");
    const struct {
        Op op;
        int error;
        FileErrorCause cause;
    } rows[] = {
        {Op::FileSize, EIO, FileErrorCause::HardIO},
        {Op::Read, EIO, FileErrorCause::HardIO},
        {Op::Close, EBADF, FileErrorCause::InvalidFile},
        {Op::Remove, EACCES, FileErrorCause::AccessDenied},
    };
    for (const auto& row : rows) {
        FaultyFileSystem faulty;
        faulty.failOn(row.op, row.error);
        auto error = errorOf([&] {
            File file;
            file.openForReading(path);
            char buffer[8];
            file.length();
            file.read(buffer, sizeof buffer);
            file.close();
            File::remove(path);
        });
        EXPECT_EQ(error.cause(), row.cause);
        EXPECT_TRUE(error.fileName().empty());
        EXPECT_NE(platform::fileErrorText(error).find("an unnamed file"), std::string::npos);
    }
}

TEST(File, AnEmptyNameIsAFileThatIsNotFound) {
    auto error = errorOf([] { File().openForReading(""); });
    EXPECT_EQ(error.cause(), FileErrorCause::FileNotFound);
    EXPECT_EQ(platform::fileErrorText(error), "an unnamed file was not found.");
}
