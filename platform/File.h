// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "FileError.h"
#include "FileSystem.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// An open file. Every failing operation throws FileError; operations that name their file
// in the error (open, create, write) carry the full path, the others carry none.
class File {
public:
    File() = default;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File(); // closes a file still open, ignoring errors

    // Opens a regular file for reading. Anything else (a directory, a FIFO, a device) is
    // refused as access denied without waiting for it: a FIFO put where a design was would
    // otherwise block the open until some writer came.
    void openForReading(const std::string& path);
    // Creates the file for writing only if nothing exists under its name; false if something does.
    bool createNew(const std::string& path);
    // Creates a file without a name in directory, for writing (see FileSystem::openTemporary);
    // false where the file system has no such files.
    bool createUnnamed(const std::string& directory);
    // The same for name in the open directory dir (see FileSystem::openAt); path is the whole
    // path, which errors name.
    void openForReadingAt(int dir, const std::string& name, const std::string& path);
    bool createNewAt(int dir, const std::string& name, const std::string& path);
    bool createUnnamedAt(int dir, const std::string& name, const std::string& path);
    // What openForReading found the file to be, asked once when it was opened.
    const FileSystem::Status& statusWhenOpened() const { return m_opened; }
    std::uint64_t length();
    // What the open file is: its identity, size and last change.
    FileSystem::Status status();
    // Reads until count bytes are in or the file ends; returns the number read.
    std::size_t read(void* buffer, std::size_t count);
    // How many bytes the last read delivered, also when it ended in an error.
    std::size_t lastReadCount() const { return m_lastReadCount; }
    void write(const void* buffer, std::size_t count);
    // Forces the written bytes onto the disk.
    void flush();
    void close();

    int descriptor() const { return m_fd; }
    const std::string& path() const { return m_path; }

    static void remove(const std::string& path);

private:
    void openWith(int dir, const std::string& name, const std::string& path, int flags);

    int m_fd = -1;
    std::string m_path;
    std::size_t m_lastReadCount = 0;
    FileSystem::Status m_opened;
};

} // namespace platform
