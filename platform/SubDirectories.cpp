// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#include "SubDirectories.h"

#include "DirectoryListing.h"
#include "FileSystem.h"
#include "LinkLoops.h"
#include "Names.h"

#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>

namespace platform {

namespace {

// A whole path this long fails with ENAMETOOLONG, which a name alone would not.
bool tooLong(const std::string& path) {
    return path.size() >= PATH_MAX;
}

} // namespace

bool DirectoryHandle::open(const std::string& path) {
    close();
    int fd = -1;
    return m_fs.openSubdirectory(AT_FDCWD, path.c_str(), true, fd) == 0 && take(fd, path);
}

bool DirectoryHandle::openBelow(const DirectoryHandle& parent, const std::string& name,
                                bool byWholePath, const std::string& path) {
    if (byWholePath || !parent.isOpen() || tooLong(path))
        return open(path);
    close();
    int fd = -1;
    // Not following a link: one that took the directory's place since the listing goes by the
    // whole path, as any other link.
    if (m_fs.openSubdirectory(parent.fd(), name.c_str(), false, fd) != 0)
        return open(path);
    return take(fd, path);
}

bool DirectoryHandle::take(int fd, const std::string& path) {
    // The listing reads through the same descriptor, which stays open for the level below.
    try {
        m_dir = new DirectoryListing(fd);
    } catch (const std::bad_alloc&) {
        m_fs.close(fd);
        return false;
    }
    m_path = withTrailingSeparator(path);
    return true;
}

int DirectoryHandle::fd() const {
    return static_cast<const DirectoryListing*>(m_dir)->fd();
}

void DirectoryHandle::close() {
    delete static_cast<DirectoryListing*>(m_dir);
    m_dir = nullptr;
}

void DirectoryHandle::subDirectories(std::vector<SubDirectory>& out) {
    if (!m_dir)
        return;
    std::string_view name;
    unsigned char type;
    while (static_cast<DirectoryListing*>(m_dir)->next(name, type)) {
        if (name == "." || name == "..")
            continue;
        bool isDirectory = type == DT_DIR;
        bool byWholePath = type == DT_LNK;
        if (type == DT_UNKNOWN) {
            // The listing did not say: one question by the name, unless only the whole path
            // can answer as it would.
            FileSystem::Status status;
            const std::string path = m_path + std::string(name);
            if (!tooLong(path) && m_fs.linkStatusAt(fd(), std::string(name).c_str(), status) == 0 &&
                (status.isDirectory || status.isRegular)) {
                isDirectory = status.isDirectory;
            } else {
                byWholePath = true; // a link, special or unanswered: the path decides
            }
        }
        if (byWholePath) {
            // Where a link leads, asked by the whole path; one that leads nowhere (dangling,
            // or a loop the system stops following) is not a directory.
            struct stat st {};
            const std::string path = m_path + std::string(name);
            int result;
            int askedForLinks = 0;
            do {
                result = ::stat(path.c_str(), &st);
            } while (result != 0 && askAgain(errno, askedForLinks));
            isDirectory = result == 0 && S_ISDIR(st.st_mode);
        }
        if (isDirectory)
            out.push_back({std::string(name), byWholePath});
    }
}

} // namespace platform
