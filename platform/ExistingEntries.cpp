// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "ExistingEntries.h"

#include "Directory.h"
#include "DirectoryReader.h"
#include "Names.h"
#include "UpperCaseName.h"

#include <fcntl.h>

namespace platform {

bool ExistingEntries::list(const std::string& directory) {
    // A directory is listed once however many names are asked for in it.
    if (m_listed && directory == m_directory)
        return !m_listingFailed;
    m_directory = directory;
    m_listed = true;
    m_names.clear();
    m_exact.clear();
    // Names alone decide, so the listing asks nothing about its entries.
    DirectoryReader reader;
    const bool opened =
        m_held && directory == m_held->path()
            ? reader.open(*m_held, EntryTypes::FromListing)
            : reader.open(directory.empty() ? "." : directory, EntryTypes::FromListing);
    m_listingFailed = !opened;
    DirectoryEntry entry;
    while (opened && reader.next(entry)) {
        m_names.emplace(upperCaseName(entry.name), entry.name);
        m_exact.insert(entry.name);
    }
    return opened;
}

bool ExistingEntries::find(const std::string& path, FileSystem::Status& status) {
    std::string found;
    return find(path, status, found);
}

int ExistingEntries::directoryFd() const {
    return m_held ? m_held->fd() : AT_FDCWD;
}

bool ExistingEntries::find(const std::string& path, FileSystem::Status& status,
                           std::string& found) {
    FileSystem& fs = fileSystem();
    if (path.empty())
        return false;
    if (m_held && m_held->holds(path))
        return findInHeld(std::string(namePart(path)), status, found);
    found = path;
    if (fs.status(path.c_str(), status) == 0)
        return true;

    const std::string directory(directoryPart(path));
    const std::string name(namePart(path));
    if (name.empty())
        return false;
    // A directory that cannot be listed has no entries to find beyond the exact name.
    list(directory);
    const auto listed = m_names.find(upperCaseName(name));
    if (listed == m_names.end())
        return false;
    found = directory + listed->second;
    return fs.status(found.c_str(), status) == 0;
}

bool ExistingEntries::findInHeld(const std::string& name, FileSystem::Status& status,
                                 std::string& found) {
    FileSystem& fs = fileSystem();
    const Directory& dir = *m_held;
    found = dir.at(name);
    // Without a listing, only the exact name can be asked for.
    if (!list(dir.path()))
        return fs.statusAt(dir.fd(), found.c_str(), status) == 0;
    // The listing says which names are there, so a free name costs no further request.
    if (m_exact.count(name) && fs.statusAt(dir.fd(), found.c_str(), status) == 0)
        return true;
    const auto listed = m_names.find(upperCaseName(name));
    if (listed == m_names.end())
        return false;
    found = dir.at(listed->second);
    return fs.statusAt(dir.fd(), found.c_str(), status) == 0;
}

std::vector<std::string> ExistingEntries::listedNames() const {
    return std::vector<std::string>(m_exact.begin(), m_exact.end());
}

} // namespace platform
