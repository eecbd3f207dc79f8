// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#include "Directory.h"

#include "FileSystem.h"
#include "Names.h"

#include <fcntl.h>

namespace platform {

namespace {
// The path to open: without the trailing separator, which would make the system look at the
// directory's entry once more.
std::string withoutTrailingSeparator(std::string path) {
    while (path.size() > 1 && path.back() == kSeparator)
        path.pop_back();
    return path;
}
} // namespace

bool Directory::openAt(int dir, const std::string& name, Use use) {
    FileSystem& fs = fileSystem();
    int fd = -1;
    // A directory that may be written into but not read (no permission to list it) is held
    // for naming all the same: O_PATH needs no permission to read it.
    if (use == Use::Listing && fs.openAt(dir, name.c_str(), O_RDONLY | O_DIRECTORY, 0, fd) == 0) {
        m_fd = fd;
        m_readable = true;
        return true;
    }
    if (fs.openAt(dir, name.c_str(), O_PATH | O_DIRECTORY, 0, fd) == 0) {
        m_fd = fd;
        return true;
    }
    return false;
}

void Directory::open(const std::string& path, Use use) {
    // An empty path is the current directory, whose files are named by their bare names.
    m_path = path.empty() ? std::string() : withTrailingSeparator(path);
    openAt(AT_FDCWD, path.empty() ? "." : withoutTrailingSeparator(path), use);
}

Directory::Directory(const Directory& parent, std::string_view relative, Use use)
    : m_lacks(parent.m_lacks) {
    if (!parent.isOpen() || relative.empty()) {
        open(parent.path() + std::string(relative), use);
        return;
    }
    m_path = withTrailingSeparator(parent.path() + std::string(relative));
    openAt(parent.fd(), withoutTrailingSeparator(std::string(relative)), use);
}

Directory::~Directory() {
    if (m_fd >= 0)
        fileSystem().close(m_fd);
}

int Directory::fd() const {
    return m_fd >= 0 ? m_fd : AT_FDCWD;
}

std::string Directory::at(std::string_view name) const {
    return m_fd >= 0 ? std::string(name) : m_path + std::string(name);
}

bool Directory::holds(std::string_view path) const {
    return path.size() > m_path.size() && path.substr(0, m_path.size()) == m_path &&
           path.find(kSeparator, m_path.size()) == std::string_view::npos;
}

} // namespace platform
