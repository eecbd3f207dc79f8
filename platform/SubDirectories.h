// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace platform {

class FileSystem;

// A directory held open so that the directories below it are opened by their name alone: on a
// network share each then costs one lookup instead of one per component of its path. Every
// answer is the one the directory's whole path would give: where a name alone could answer
// otherwise (a link, whose following the system counts along the path, or a path too long for
// the system), the whole path is asked.
class DirectoryHandle {
public:
    explicit DirectoryHandle(FileSystem& fs) : m_fs(fs) {}
    DirectoryHandle(const DirectoryHandle&) = delete;
    DirectoryHandle& operator=(const DirectoryHandle&) = delete;
    ~DirectoryHandle() { close(); }

    // Opens the directory at path as opendir would (links followed).
    bool open(const std::string& path);
    // Opens the directory name below parent, whose whole path is path: by the name alone when
    // that answers as the path would, otherwise (byWholePath, a closed parent) by the path.
    bool openBelow(const DirectoryHandle& parent, const std::string& name, bool byWholePath,
                   const std::string& path);
    bool isOpen() const { return m_dir != nullptr; }
    // Gives the directory back; what is opened below it then goes by whole paths.
    void close();

    // One directory of a listing: its name, and whether only its whole path answers for it
    // (a link to a directory, or one the name alone could not tell).
    struct SubDirectory {
        std::string name;
        bool byWholePath = false;
    };
    // The directories in the listing, in the order the file system gives them, links to
    // directories among them (a link that leads nowhere is not one); "." and ".." left out.
    // Once for each opening.
    void subDirectories(std::vector<SubDirectory>& out);

private:
    bool take(int fd, const std::string& path);
    int fd() const;

    FileSystem& m_fs;
    void* m_dir = nullptr; // DirectoryListing*, which holds the descriptor
    std::string m_path;    // with a trailing separator
};

} // namespace platform
