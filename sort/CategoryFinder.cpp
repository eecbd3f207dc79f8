// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#include "CategoryFinder.h"

#include "platform/Names.h"
#include "platform/SubDirectories.h"

#include <vector>

namespace {

// Levels that keep their directory open for the level below. A deeper tree (or a looping link)
// opens its deeper levels by their whole paths, so the walk never holds more descriptors.
constexpr int kOpenLevels = 32;

} // namespace

int CategoryFinder::scan(const std::string& directory) {
    const platform::DirectoryHandle none(m_fs);
    return scanBelow(none, directory, {}, true, 0);
}

int CategoryFinder::scanBelow(const platform::DirectoryHandle& parent, const std::string& directory,
                              const std::string& name, bool byWholePath, int depth) {
    if (m_nKategorien > kMaxKategorien || cancelled())
        return 0;

    // The listing is taken whole before going deeper; the directory stays open for opening
    // the next level by name.
    platform::DirectoryHandle handle(m_fs);
    if (!handle.openBelow(parent, name, byWholePath, directory))
        return 0;
    std::vector<platform::DirectoryHandle::SubDirectory> subDirectories;
    handle.subDirectories(subDirectories);
    if (depth >= kOpenLevels)
        handle.close();

    for (const auto& sub : subDirectories) {
        if (cancelled())
            break;
        const std::string path = platform::joinPath(directory, sub.name);
        m_found(path);
        ++m_nKategorien;
        // The limit ends this level and, as each level checks after its deeper walk, every
        // enclosing level too. A directory link that loops is walked only up to it.
        if (m_nKategorien > kMaxKategorien)
            break;
        scanBelow(handle, path, sub.name, sub.byWholePath, depth + 1);
        if (m_nKategorien > kMaxKategorien)
            break;
    }
    return m_nKategorien;
}
