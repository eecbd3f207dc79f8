// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "ExistingEntries.h"

#include "DirectoryReader.h"
#include "Names.h"

namespace platform {

bool ExistingEntries::find(const std::string& path, FileSystem::Status& status) {
    FileSystem& fs = fileSystem();
    if (path.empty())
        return false;
    if (fs.status(path.c_str(), status) == 0)
        return true;

    const std::string directory(directoryPart(path));
    const std::string name(namePart(path));
    if (name.empty())
        return false;

    // A directory is listed once however many names are asked for in it.
    if (!m_listed || directory != m_directory) {
        m_directory = directory;
        m_listed = true;
        m_names.clear();
        // A directory that cannot be listed has no entries to find beyond the exact name.
        DirectoryReader reader;
        if (reader.open(directory.empty() ? "." : directory)) {
            DirectoryEntry entry;
            while (reader.next(entry))
                m_names.emplace(upperCaseName(entry.name), entry.name);
        }
    }
    const auto found = m_names.find(upperCaseName(name));
    return found != m_names.end() && fs.status((directory + found->second).c_str(), status) == 0;
}

} // namespace platform
