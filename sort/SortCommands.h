// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "CategoryList.h"
#include "CopyContext.h"

#include <string>

// The copy-and-sort dialog's commands without the dialog: each does its work, asks and
// reports through the modal questions, and says what the dialog sends next.

// "&Copy": copies the current file into every marked category, clearing each mark after its
// attempt unless marks are kept; after at least one success removes the source (a move) or
// advances, as the settings say.
NextStep OnCopy(const CopyContext& context, CategoryMarks& marks);

// Delete: after the user confirmed, removes the current file.
NextStep OnLoeschen(const std::string& strFilePath, const std::string& strFileName);

// The directory a new category is made in, ending in the separator: the target for the
// target entry or a click beside every entry, otherwise the category clicked on.
std::string newCategoryParent(const std::string& strZiel, const CategoryEntry* clicked);

// Makes the directory strAktuell + strName, one level, and reports when it cannot be made
// (also when it exists, whatever the case of its letters, and when strName is no single
// folder's name: empty, "." or "..", or holding a separator). True when it was made.
bool CreateCategory(const std::string& strAktuell, const std::string& strName);

// What a right click in the category list ended with.
enum class NewCategoryResult {
    Cancelled, // the new-category dialog was cancelled
    Failed,    // confirmed, but the directory could not be made (reported)
    Created,   // made: the dialog rebuilds its list
};

// A right click in the category list: asks for a new category below the entry clicked (or
// below the target) and makes it.
NewCategoryResult OnRclickKategorien(const std::string& strZiel, const CategoryEntry* clicked);
