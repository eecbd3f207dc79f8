#pragma once

#include <cstddef>
#include <string>

namespace platform {

// Writes a whole file so that its name never stands for a part of it: the bytes go to a
// temporary file in the same directory, are forced onto the disk and only then take the name,
// replacing whatever had it. When this returns, the file's bytes are on the disk; its name is
// too once its directory has been synchronised (syncDirectoryOf), which is worth its cost only
// before something else depends on the file, such as removing the original of a move.
//
// A failure throws FileError and leaves nothing behind. Creating, writing, flushing and
// renaming name path itself (the temporary name means nothing to the user); closing names
// no file.
void writeFileAtomically(const std::string& path, const void* data, std::size_t size);

// Forces the names in path's directory onto the disk. A file system that cannot do this for a
// directory keeps the files' bytes all the same, so a failure is not reported.
void syncDirectoryOf(const std::string& path);

} // namespace platform
