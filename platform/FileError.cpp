// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "FileError.h"

#include <cerrno>

namespace platform {

FileErrorCause causeFromErrno(int error) {
    switch (error) {
    case 0:
        return FileErrorCause::None;
    case ENOENT:
        return FileErrorCause::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
        return FileErrorCause::BadPath;
    case EMFILE:
    case ENFILE:
        return FileErrorCause::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return FileErrorCause::AccessDenied;
    case EBADF:
        return FileErrorCause::InvalidFile;
    case ESPIPE:
        return FileErrorCause::BadSeek;
    case EIO:
        return FileErrorCause::HardIO;
    case ETXTBSY:
    case EBUSY:
        return FileErrorCause::SharingViolation;
    case ENOLCK:
    case EDEADLK:
        return FileErrorCause::LockViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileErrorCause::DiskFull;
    default:
        return FileErrorCause::Generic;
    }
}

static const char* causeText(FileErrorCause cause) {
    switch (cause) {
    case FileErrorCause::None:
        return "No error occurred.";
    case FileErrorCause::Generic:
        break;
    case FileErrorCause::FileNotFound:
        return "%1 was not found.";
    case FileErrorCause::BadPath:
        return "%1 contains an invalid path.";
    case FileErrorCause::TooManyOpenFiles:
        return "%1 could not be opened because there are too many open files.";
    case FileErrorCause::AccessDenied:
        return "Access to %1 was denied.";
    case FileErrorCause::InvalidFile:
        return "An invalid file handle was associated with %1.";
    case FileErrorCause::RemoveCurrentDir:
        return "%1 could not be removed because it is the current directory.";
    case FileErrorCause::DirectoryFull:
        return "%1 could not be created because the directory is full.";
    case FileErrorCause::BadSeek:
        return "Seek failed on %1";
    case FileErrorCause::HardIO:
        return "A hardware I/O error was reported while accessing %1.";
    case FileErrorCause::SharingViolation:
        return "A sharing violation occurred while accessing %1.";
    case FileErrorCause::LockViolation:
        return "A locking violation occurred while accessing %1.";
    case FileErrorCause::DiskFull:
        return "Disk full while accessing %1.";
    case FileErrorCause::EndOfFile:
        return "An attempt was made to access %1 past its end.";
    }
    return "An unknown error occurred while accessing %1.";
}

std::string fileErrorText(FileErrorCause cause, const std::string& fileName) {
    std::string text = causeText(cause);
    const auto at = text.find("%1");
    if (at != std::string::npos)
        text.replace(at, 2, fileName.empty() ? std::string("an unnamed file") : fileName);
    return text;
}

FileError::FileError(FileErrorCause cause, std::string fileName)
    : std::runtime_error(fileErrorText(cause, fileName)), m_cause(cause),
      m_fileName(std::move(fileName)) {}

} // namespace platform
