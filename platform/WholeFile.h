// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "FileSystem.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// How far a reused buffer grows before a file of size bytes is read into it. It only ever
// grows, so the next file of that size needs no new memory.
enum class BufferRoom {
    GrowWhenShorterThanSize, // to size + 1 only when it holds fewer than size bytes
    AtLeastSizePlusOne,      // to size + 1 whenever it holds fewer
};

// What a whole-file read found.
struct WholeFile {
    // The bytes actually read: fewer than the file's size when it shrank meanwhile, and up to
    // a failure when one came; the bytes of an earlier file beyond them are never counted.
    std::size_t length = 0;
    // The file as it was opened: its identity, size and last change.
    FileSystem::Status status;
};

// Opens the regular file at path, asks its length and, unless that is 0, reads it whole into
// buffer from index 0. A file longer than largest is refused rather than cut short, as an
// access past its end that names path. Throws FileError, naming path when opening failed and
// no file otherwise; result then holds what was read before the failure.
void readWholeFile(const std::string& path, std::vector<std::uint8_t>& buffer, BufferRoom room,
                   std::uint64_t largest, WholeFile& result);
// The same for name in the open directory dir (see FileSystem::openAt); errors name path.
void readWholeFileAt(int dir, const std::string& name, const std::string& path,
                     std::vector<std::uint8_t>& buffer, BufferRoom room, std::uint64_t largest,
                     WholeFile& result);

} // namespace platform
