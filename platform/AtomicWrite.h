// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "File.h"
#include "Leftovers.h"

#include <cstddef>
#include <string>
#include <vector>

namespace platform {

class Directory;

// A file written so that its name never stands for a part of it, and never takes the place of
// another file unless asked to. The bytes go to a file without a name in the destination
// directory, which vanishes by itself if the program dies; where the file system has no such
// files, to a hidden temporary file that the next writer into that directory removes, as it
// removes the claim a crash left on the final name where the file system has no links. The
// file takes its name only once its bytes are on the disk. Several files can be written first
// and committed afterwards, so that the wait for the disk is shared.
//
// Failures throw FileError and leave nothing behind. Creating, writing, flushing and naming
// name the final path (a temporary name means nothing to the user); closing names no file.
class AtomicFileWriter {
public:
    enum class Mode {
        KeepExisting, // commit never replaces anything
        Replace,      // commit replaces whatever has the name (the user chose to)
    };

    explicit AtomicFileWriter(std::string path, Mode mode = Mode::KeepExisting)
        : m_path(std::move(path)), m_mode(mode) {}
    // With directory, the path's directory held open: every file call names its file relative
    // to it. The directory must outlive the writer.
    AtomicFileWriter(std::string path, Mode mode, const Directory& directory)
        : m_path(std::move(path)), m_mode(mode), m_directory(&directory) {}
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    // A file not committed is removed.
    ~AtomicFileWriter();

    // Creates the file in the path's directory and writes all of data to it; a further call
    // appends, so that a long file is written piece by piece.
    void write(const void* data, std::size_t size);
    // Forces the bytes onto the disk, then gives the file its name. Without Mode::Replace,
    // false when something has that name already: nothing was replaced, and the file waits
    // for another name (setPath) or to be dropped. The name itself is on the disk once the
    // directory has been synchronised (syncDirectoryOf), which is worth its cost only before
    // something depends on it, such as removing the original of a move.
    bool commit();
    // For a file whose loss in a crash costs nothing, such as a cache entry that is made again:
    // commit names it without waiting for the disk. A crash before the system has written the
    // bytes may leave the name on an empty file; no running program ever sees a part of them.
    void skipFlush() { m_flushed = true; }
    // Another name in the same directory, for the next commit.
    void setPath(std::string path) { m_path = std::move(path); }
    // The directory's names as listed just now, so that looking for leftover temporary files
    // needs no listing of its own.
    void useListing(std::vector<std::string> names) {
        m_listing = std::move(names);
        m_haveListing = true;
    }

    const std::string& path() const { return m_path; }
    // Whether the bytes wait in a file without a name (false: in a hidden temporary file).
    bool isUnnamed() const { return m_unnamed; }

private:
    [[noreturn]] void fail(const FileError& error);
    void discard();
    void createNamedTemporary(const std::string& directory);
    // Gives the bytes the final name without replacing anything; EEXIST when it is taken.
    int nameWithoutReplacing();
    int nameReplacing();
    // What file calls take for the directory and for a path in it.
    int dirFd() const;
    std::string nameOf(const std::string& path) const;

    std::string m_path;
    Mode m_mode;
    const Directory* m_directory = nullptr;
    std::vector<std::string> m_listing;
    bool m_haveListing = false;
    std::string m_temporary; // the hidden temporary file's path, if one is used
    bool m_unnamed = false;
    bool m_flushed = false;
    File m_file;
};

// Forces the names in path's directory onto the disk. A file system that cannot do this for a
// directory keeps the files' bytes all the same, so a failure is not reported.
void syncDirectoryOf(const std::string& path);

} // namespace platform
