// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// The fifteen causes a failed file operation can carry.
enum class FileErrorCause {
    None,
    Generic,
    FileNotFound,
    BadPath,
    TooManyOpenFiles,
    AccessDenied,
    InvalidFile,
    RemoveCurrentDir,
    DirectoryFull,
    BadSeek,
    HardIO,
    SharingViolation,
    LockViolation,
    DiskFull,
    EndOfFile,
};

// Maps an errno value onto its cause.
FileErrorCause causeFromErrno(int error);

// A failed file operation. fileName is the full path where the operation names its file
// (opening, creating, writing) and empty where it does not (length, reading, closing, removing).
class FileError : public std::runtime_error {
public:
    FileError(FileErrorCause cause, std::string fileName);

    FileErrorCause cause() const { return m_cause; }
    const std::string& fileName() const { return m_fileName; }

private:
    FileErrorCause m_cause;
    std::string m_fileName;
};

// The message box text for a file error: the cause's text with its file name, or with
// "an unnamed file" when the error names none.
std::string fileErrorText(FileErrorCause cause, const std::string& fileName);
inline std::string fileErrorText(const FileError& error) {
    return fileErrorText(error.cause(), error.fileName());
}

} // namespace platform
