// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {
class FileSystem;
}

namespace dirchooser {

// Whether the directory at path has a sub-directory (or a link to one). The listing stops at
// the first one found, so a large directory costs little; a directory that cannot be listed
// has none.
bool hasSubdirectory(const std::string& path);
bool hasSubdirectory(const std::string& path, platform::FileSystem& fs);

// The names of the sub-directories of path, exactly as on disk, in listing order; "." and ".."
// are left out, hidden directories are not. Empty optional when the listing cannot start
// (no medium, vanished, no access, not a directory). keepGoing, when given, is asked after
// every entry read; false ends the listing there, with what it has found so far.
std::optional<std::vector<std::string>> listSubdirectories(const std::string& path);
std::optional<std::vector<std::string>>
listSubdirectories(const std::string& path, platform::FileSystem& fs,
                   const std::function<bool()>& keepGoing = {});

} // namespace dirchooser
