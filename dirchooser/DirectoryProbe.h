// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <optional>
#include <string>
#include <vector>

namespace dirchooser {

// Whether the directory at path has a sub-directory (or a link to one). The listing stops at
// the first one found, so a large directory costs little; a directory that cannot be listed
// has none.
bool hasSubdirectory(const std::string& path);

// The names of the sub-directories of path, exactly as on disk, in listing order; "." and ".."
// are left out, hidden directories are not. Empty optional when the listing cannot start
// (no medium, vanished, no access, not a directory).
std::optional<std::vector<std::string>> listSubdirectories(const std::string& path);

} // namespace dirchooser
