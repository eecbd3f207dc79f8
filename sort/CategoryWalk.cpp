// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "CategoryWalk.h"

#include "platform/FileSystem.h"
#include "platform/Names.h"

void CategoryWalk::FillCategories() {
    m_list.clear();
    AddCategory(0, kZielverzeichnis);
    m_nKategorien = 1;
    ScanCategories(m_strZiel);
}

int CategoryWalk::ScanCategories(const std::string& directory) {
    CategoryFinder finder(platform::fileSystem(), m_nKategorien,
                          [this](const std::string& path) { AddCategory(m_nKategorien, path); });
    return finder.scan(directory);
}

int CategoryWalk::AddCategory(int position, const std::string& path) {
    m_list.insert(EntryFor(m_strZiel, position, path));
    return 1;
}

CategoryEntry CategoryWalk::EntryFor(const std::string& strZiel, int position,
                                     const std::string& path) {
    CategoryEntry entry;
    if (position == 0) {
        entry.text = path;
        entry.isTarget = true;
    } else {
        const std::size_t prefix = platform::withTrailingSeparator(strZiel).size();
        entry.relativePath = path.size() > prefix ? path.substr(prefix) : std::string();
        entry.text = platform::firstCharacters(entry.relativePath, kCategoryTextLimit);
    }
    return entry;
}
