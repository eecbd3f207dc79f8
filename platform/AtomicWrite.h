#pragma once

#include "File.h"

#include <cstddef>
#include <string>

namespace platform {

// A file written so that its name never stands for a part of it: the bytes go to a temporary
// file in the same directory and take the name only once they are on the disk, replacing
// whatever had it. Several files can be written first and committed afterwards, so that the
// wait for the disk is shared.
//
// Failures throw FileError and leave nothing behind. Creating, writing, flushing and renaming
// name the final path (the temporary name means nothing to the user); closing names no file.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string path) : m_path(std::move(path)) {}
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    // A file not committed is removed.
    ~AtomicFileWriter();

    // Creates the temporary file and writes all of data to it.
    void write(const void* data, std::size_t size);
    // Forces the bytes onto the disk, then gives the file its name. The name itself is on the
    // disk once the directory has been synchronised (syncDirectoryOf), which is worth its cost
    // only before something depends on it, such as removing the original of a move.
    void commit();

    const std::string& path() const { return m_path; }

private:
    [[noreturn]] void fail(const FileError& error);
    void discard();

    std::string m_path;
    std::string m_temporary;
    File m_file;
};

// Writes and commits one file.
void writeFileAtomically(const std::string& path, const void* data, std::size_t size);

// Forces the names in path's directory onto the disk. A file system that cannot do this for a
// directory keeps the files' bytes all the same, so a failure is not reported.
void syncDirectoryOf(const std::string& path);

} // namespace platform
