// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "platform/Drives.h"

#include <string>
#include <string_view>
#include <vector>

namespace dirchooser {

// Whether path begins with a drive root (has room for one).
bool beginsWithDriveRoot(std::string_view path, const platform::DriveList& drives);
// Whether path is no longer than its drive root, or has none: nothing below a drive to open.
bool isNoLongerThanDriveRoot(std::string_view path, const platform::DriveList& drives);

// The drive root whose item the chooser opens first: the drive of directory when it begins
// with one, otherwise the drive of the current directory.
std::string startingRoot(std::string_view directory, std::string_view currentDirectory,
                         const platform::DriveList& drives);

// The paths the walk from the drive root towards path compares with item paths, one per
// component: the text of path up to each separator after root, then the whole of path.
// A trailing separator thus yields a last prefix that no item has.
std::vector<std::string> walkPrefixes(std::string_view path, std::string_view root);

// Sorts folder names as a reader expects: letter case and accents ignored in the first
// place (German collation), the exact bytes deciding between names that still compare equal.
void sortFolderNames(std::vector<std::string>& names);

} // namespace dirchooser
