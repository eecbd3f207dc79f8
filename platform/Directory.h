// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

// A directory held open, so that the files in it are named relative to it: on a network share
// every component of a path costs a request, and a run of operations in one directory would
// look up its path every time. Where it cannot be held open (no such directory, a file system
// that refuses), the files are named by their whole paths instead, and nothing else changes.
class Directory {
public:
    enum class Use {
        Names,   // only to name files in it: holding it open costs nothing on a share
        Listing, // to list it as well: it is opened for reading once, for all listings
    };
    // What writers found a file system to lack, shared by a directory and those opened
    // relative to it, so that a run of copies does not try it again for every file. Trying
    // the next way first never gives up a guarantee: every way refuses to replace. Writers
    // on several threads may learn it at once (one left stuck on a share that stopped
    // answering while the next copy goes on).
    struct Lacks {
        std::atomic<bool> renameNoReplace{false};
        std::atomic<bool> link{false};
    };

    Directory() = default;
    // Opens path (with or without its trailing separator).
    explicit Directory(const std::string& path, Use use = Use::Names) { open(path, use); }
    // Opens relative, a path below parent, relative to it.
    Directory(const Directory& parent, std::string_view relative, Use use = Use::Names);
    Directory(const Directory&) = delete;
    Directory& operator=(const Directory&) = delete;
    ~Directory();

    bool isOpen() const { return m_fd >= 0; }
    // Whether it is open for reading, so that listings can start from its descriptor.
    bool isReadable() const { return m_fd >= 0 && m_readable; }
    Lacks& lacks() const { return *m_lacks; }
    // The directory's path, ending in the separator.
    const std::string& path() const { return m_path; }
    // What file calls take as their directory: the open one, or AT_FDCWD.
    int fd() const;
    // What file calls take as the name of name in this directory: name itself when the
    // directory is open, otherwise its whole path.
    std::string at(std::string_view name) const;
    // Whether path names something directly in this directory.
    bool holds(std::string_view path) const;

private:
    void open(const std::string& path, Use use);
    // Opens name relative to dir as use asks; false when it cannot be opened at all.
    bool openAt(int dir, const std::string& name, Use use);

    int m_fd = -1;
    bool m_readable = false;
    std::string m_path;
    std::shared_ptr<Lacks> m_lacks = std::make_shared<Lacks>();
};

} // namespace platform
