// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "CategoryWalk.h"

#include "platform/DirectoryReader.h"
#include "platform/Names.h"

#include <vector>

void CategoryWalk::FillCategories() {
    m_list.clear();
    AddCategory(0, kZielverzeichnis);
    m_nKategorien = 1;
    ScanCategories(m_strZiel);
}

int CategoryWalk::ScanCategories(const std::string& directory) {
    if (m_nKategorien > kMaxKategorien)
        return 0;

    // The listing is taken whole and closed before going deeper, so a deep tree never holds
    // one open directory per level.
    std::vector<std::string> subDirectories;
    {
        platform::DirectoryReader reader;
        if (!reader.open(directory))
            return 0;
        platform::DirectoryEntry entry;
        while (reader.next(entry)) {
            if (entry.isDirectory)
                subDirectories.push_back(entry.name);
        }
    }

    for (const std::string& name : subDirectories) {
        const std::string path = platform::joinPath(directory, name);
        AddCategory(m_nKategorien, path);
        ++m_nKategorien;
        // The limit ends this level and, as each level checks after its deeper walk, every
        // enclosing level too. A directory link that loops is walked only up to it.
        if (m_nKategorien > kMaxKategorien)
            break;
        ScanCategories(path);
        if (m_nKategorien > kMaxKategorien)
            break;
    }
    return m_nKategorien;
}

int CategoryWalk::AddCategory(int position, const std::string& path) {
    CategoryEntry entry;
    if (position == 0) {
        entry.text = path;
        entry.isTarget = true;
    } else {
        const std::size_t prefix = platform::withTrailingSeparator(m_strZiel).size();
        entry.relativePath = path.size() > prefix ? path.substr(prefix) : std::string();
        entry.text = platform::firstCharacters(entry.relativePath, kCategoryTextLimit);
    }
    m_list.insert(std::move(entry));
    return 1;
}
