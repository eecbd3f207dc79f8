// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "platform/FileError.h"

#include <gtest/gtest.h>

#include <cerrno>

using platform::causeFromErrno;
using platform::FileErrorCause;
using platform::fileErrorText;

TEST(FileError, ErrnoValuesMapOntoTheirCauses) {
    const struct {
        int error;
        FileErrorCause cause;
    } rows[] = {
        {ENOENT, FileErrorCause::FileNotFound},
        {ENOTDIR, FileErrorCause::BadPath},
        {ENAMETOOLONG, FileErrorCause::BadPath},
        {EINVAL, FileErrorCause::BadPath},
        {ELOOP, FileErrorCause::BadPath},
        {EMFILE, FileErrorCause::TooManyOpenFiles},
        {ENFILE, FileErrorCause::TooManyOpenFiles},
        {EACCES, FileErrorCause::AccessDenied},
        {EPERM, FileErrorCause::AccessDenied},
        {EROFS, FileErrorCause::AccessDenied},
        {EISDIR, FileErrorCause::AccessDenied},
        {EBADF, FileErrorCause::InvalidFile},
        {ESPIPE, FileErrorCause::BadSeek},
        {EIO, FileErrorCause::HardIO},
        {ETXTBSY, FileErrorCause::SharingViolation},
        {EBUSY, FileErrorCause::SharingViolation},
        {ENOLCK, FileErrorCause::LockViolation},
        {EDEADLK, FileErrorCause::LockViolation},
        {ENOSPC, FileErrorCause::DiskFull},
        {EDQUOT, FileErrorCause::DiskFull},
        {EFBIG, FileErrorCause::DiskFull},
        {EOVERFLOW, FileErrorCause::Generic},
        {EXDEV, FileErrorCause::Generic},
    };
    for (const auto& row : rows)
        EXPECT_EQ(causeFromErrno(row.error), row.cause) << "errno " << row.error;
}

TEST(FileError, EveryCauseHasItsTextWithTheNameOrTheUnnamedWords) {
    const struct {
        FileErrorCause cause;
        const char* withName;
    } rows[] = {
        {FileErrorCause::None, "No error occurred."},
        {FileErrorCause::Generic, "An unknown error occurred while accessing /a/B.PES."},
        {FileErrorCause::FileNotFound, "/a/B.PES was not found."},
        {FileErrorCause::BadPath, "/a/B.PES contains an invalid path."},
        {FileErrorCause::TooManyOpenFiles,
         "/a/B.PES could not be opened because there are too many open files."},
        {FileErrorCause::AccessDenied, "Access to /a/B.PES was denied."},
        {FileErrorCause::InvalidFile, "An invalid file handle was associated with /a/B.PES."},
        {FileErrorCause::RemoveCurrentDir,
         "/a/B.PES could not be removed because it is the current directory."},
        {FileErrorCause::DirectoryFull,
         "/a/B.PES could not be created because the directory is full."},
        {FileErrorCause::BadSeek, "Seek failed on /a/B.PES"},
        {FileErrorCause::HardIO, "A hardware I/O error was reported while accessing /a/B.PES."},
        {FileErrorCause::SharingViolation,
         "A sharing violation occurred while accessing /a/B.PES."},
        {FileErrorCause::LockViolation, "A locking violation occurred while accessing /a/B.PES."},
        {FileErrorCause::DiskFull, "Disk full while accessing /a/B.PES."},
        {FileErrorCause::EndOfFile, "An attempt was made to access /a/B.PES past its end."},
    };
    for (const auto& row : rows)
        EXPECT_EQ(fileErrorText(row.cause, "/a/B.PES"), row.withName);

    EXPECT_EQ(fileErrorText(FileErrorCause::Generic, ""),
              "An unknown error occurred while accessing an unnamed file.");
    EXPECT_EQ(fileErrorText(FileErrorCause::HardIO, ""),
              "A hardware I/O error was reported while accessing an unnamed file.");
}

TEST(FileError, ANameHoldingThePlaceholderIsNotExpandedTwice) {
    EXPECT_EQ(fileErrorText(FileErrorCause::FileNotFound, "/x/%1.PES"), "/x/%1.PES was not found.");
}
