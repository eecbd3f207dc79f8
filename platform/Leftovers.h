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
// which temporary file is to be moved onto it. As a crash may leave the claim created but
// still empty, the writer first notes the name it is about to claim in a hidden intent file
// named after its temporary file.

// A fresh hidden temporary name in directory (which ends in a separator or is empty).
std::string temporaryName(const std::string& directory);
bool isTemporaryName(std::string_view name);
// The intent file that belongs to temporary (with or without its directory).
std::string intentName(std::string_view temporary);
// What a claim holds until temporary (a name without its directory) is moved onto it.
std::string claimContent(std::string_view temporary);

// Notes in intent (named for openAt in dir) that name is about to be claimed. A note that
// cannot be written whole is not taken for one: only a crash would leave that claim unknown.
void noteIntent(FileSystem& fs, int dir, const char* intent, std::string_view name);
// Writes a claim's content into the freshly created claim fd. A claim that cannot take it
// stays empty, which its intent tells from a user's file all the same.
void markClaim(FileSystem& fs, int fd, std::string_view temporary);

// Removes what writers left in directory when their program died before committing: their
// temporary files, their intents, and the claims those name while a claim is still empty or
// holds exactly its note. Whatever a live writer holds, and every other file, is left alone.
void removeLeftoverTemporaries(const std::string& directory);
// The same in an open directory; with listed, among those names only, without listing again.
void removeLeftoverTemporaries(const Directory& directory,
                               const std::vector<std::string>* listed = nullptr);

} // namespace platform
