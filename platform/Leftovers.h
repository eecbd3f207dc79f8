// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

class Directory;
class FileSystem;

// What a writer leaves in its directory until it commits, where the file system has no files
// without a name: a hidden temporary file holding the bytes, locked while its writer lives, and
// on file systems without links a claim, a file under the final name that holds only a note of
// which temporary file is to be moved onto it.

// A fresh hidden temporary name in directory (which ends in a separator or is empty).
std::string temporaryName(const std::string& directory);
bool isTemporaryName(std::string_view name);
// What a claim holds until temporary (a name without its directory) is moved onto it.
std::string claimContent(std::string_view temporary);

// Writes a claim's content into the freshly created claim fd. A claim that cannot take it
// stays as it is: the name is ours all the same, only a crash would leave it unrecognised.
void markClaim(FileSystem& fs, int fd, std::string_view temporary);

// Removes what writers left in directory when their program died before committing: their
// temporary files, and their claims, which are recognised by their exact content and removed
// only together with the dead writer's temporary file they name. Whatever a live writer holds,
// and every other file, is left alone.
void removeLeftoverTemporaries(const std::string& directory);
// The same in an open directory; with listed, among those names only, without listing again.
void removeLeftoverTemporaries(const Directory& directory,
                               const std::vector<std::string>* listed = nullptr);

} // namespace platform
