// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>

namespace platform {

class FileSystem;

// One entry of a directory listing. "." and ".." are never reported.
struct DirectoryEntry {
    std::string name;         // exactly as on disk
    bool isDirectory = false; // a directory, or a symbolic link to one
    bool isSymlink = false;
    // A FIFO, socket or device, or a link to one: opening it to read may block or never end.
    bool isSpecial = false;
};

class Directory;

// How a listing finds out what each entry is.
enum class EntryTypes {
    // Asks the file system for every entry whose listing does not say (and for every link):
    // a request per entry on a network share whose listings carry names only.
    Checked,
    // Takes what the listing says; an entry it says nothing about counts as a file. Links
    // are still followed: they are few, and a link to a directory should act as one.
    FromListing,
};

// Walks one directory's entries in the order the file system returns them.
class DirectoryReader {
public:
    DirectoryReader() = default;
    // Lists through fs rather than the program's file system of the moment: a reader on
    // another thread must not look at what the window's thread may swap.
    explicit DirectoryReader(FileSystem& fs) : m_fs(&fs) {}
    DirectoryReader(const DirectoryReader&) = delete;
    DirectoryReader& operator=(const DirectoryReader&) = delete;
    ~DirectoryReader() { close(); }

    // False when the directory cannot be listed (missing, not a directory, no permission).
    bool open(const std::string& directory, EntryTypes types = EntryTypes::Checked);
    bool open(const Directory& directory, EntryTypes types = EntryTypes::Checked);
    // The next entry; false at the end of the listing or when it cannot be read further.
    bool next(DirectoryEntry& entry);
    void close();

private:
    FileSystem* m_fs = nullptr; // the program's file system when none was given
    void* m_dir = nullptr;      // DirectoryListing*
    std::string m_directory;
    int m_directoryFd = -1; // AT_FDCWD when entries are named by their whole paths
    EntryTypes m_types = EntryTypes::Checked;
};

} // namespace platform
