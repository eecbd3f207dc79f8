// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "DirectoryReader.h"

#include "Directory.h"
#include "DirectoryListing.h"
#include "FileSystem.h"
#include "LinkLoops.h"
#include "Names.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace platform {

bool DirectoryReader::open(const std::string& directory, EntryTypes types) {
    close();
    m_directory = withTrailingSeparator(directory);
    m_directoryFd = AT_FDCWD;
    m_types = types;
    if ((m_fs ? *m_fs : fileSystem()).openDirectory(directory.c_str(), m_dir) != 0)
        m_dir = nullptr;
    return m_dir != nullptr;
}

bool DirectoryReader::open(const Directory& directory, EntryTypes types) {
    close();
    m_directory = directory.isOpen() ? std::string() : directory.path();
    m_directoryFd = directory.fd();
    m_types = types;
    // Its own descriptor where it is open for reading; opened anew otherwise; by its path
    // where it is not open at all (the current directory when that is empty).
    std::string self = ".";
    if (directory.isReadable())
        self.clear();
    else if (!directory.isOpen() && !directory.path().empty())
        self = directory.path();
    if ((m_fs ? *m_fs : fileSystem()).openDirectoryAt(directory.fd(), self.c_str(), m_dir) != 0)
        m_dir = nullptr;
    return m_dir != nullptr;
}

bool DirectoryReader::next(DirectoryEntry& entry) {
    if (!m_dir)
        return false;
    std::string_view name;
    unsigned char type;
    while (static_cast<DirectoryListing*>(m_dir)->next(name, type)) {
        if (name == "." || name == "..")
            continue;
        entry.name.assign(name);
        entry.isSymlink = type == DT_LNK;
        entry.isDirectory = type == DT_DIR;
        entry.isSpecial = type == DT_FIFO || type == DT_SOCK || type == DT_CHR || type == DT_BLK;
        if (type == DT_LNK || (type == DT_UNKNOWN && m_types == EntryTypes::Checked)) {
            // Links, and file systems that do not fill in the type: ask for the target. A link
            // that leads nowhere (dangling, or a loop) counts as a file.
            struct stat st {};
            const std::string path = m_directory + entry.name;
            int result;
            int askedForLinks = 0;
            do {
                result = ::fstatat(m_directoryFd, path.c_str(), &st, 0);
            } while (result != 0 && askAgain(errno, askedForLinks));
            if (result == 0) {
                entry.isDirectory = S_ISDIR(st.st_mode);
                entry.isSpecial = !S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode);
            }
        }
        return true;
    }
    return false;
}

void DirectoryReader::close() {
    delete static_cast<DirectoryListing*>(m_dir);
    m_dir = nullptr;
}

} // namespace platform
