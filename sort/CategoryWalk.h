// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "CategoryFinder.h"
#include "CategoryList.h"

#include <string>

// Builds the category list from the target directory: the target entry, then every
// sub-directory at any depth, walked depth first. Works on the copy-and-sort dialog's
// target and entry counter, which it is given.
class CategoryWalk {
public:
    CategoryWalk(const std::string& strZiel, int& nKategorien, CategoryList& list)
        : m_strZiel(strZiel), m_nKategorien(nKategorien), m_list(list) {}

    // Rebuilds the list from the target (every mark is lost).
    void FillCategories();
    // Adds the sub-directories of directory, depth first; returns the entry counter, or 0
    // when the limit was passed already or the directory cannot be listed.
    int ScanCategories(const std::string& directory);
    // Inserts the entry for path; at position 0 the text is taken as it is (the target entry),
    // otherwise it is made relative to the target. Returns 1 when inserted.
    int AddCategory(int position, const std::string& path);
    // The entry AddCategory inserts for path.
    static CategoryEntry EntryFor(const std::string& strZiel, int position,
                                  const std::string& path);

private:
    const std::string& m_strZiel;
    int& m_nKategorien;
    CategoryList& m_list;
};
