#pragma once

#include <cstddef>
#include <string>

namespace platform {

// Writes a whole file so that its name never stands for a part of it: the bytes go to a
// temporary file in the same directory, are forced onto the disk and only then take the name,
// replacing whatever had it. When this returns, the file is complete on the disk.
//
// A failure throws FileError and leaves nothing behind. Creating, writing, flushing and
// renaming name path itself (the temporary name means nothing to the user); closing names
// no file.
void writeFileAtomically(const std::string& path, const void* data, std::size_t size);

} // namespace platform
