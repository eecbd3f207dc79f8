// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "WholeFile.h"

#include "File.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <stdexcept>

namespace platform {

void readWholeFile(const std::string& path, std::vector<std::uint8_t>& buffer, BufferRoom room,
                   std::uint64_t largest, WholeFile& result) {
    readWholeFileAt(AT_FDCWD, path, path, buffer, room, largest, result);
}

void readWholeFileAt(int dir, const std::string& name, const std::string& path,
                     std::vector<std::uint8_t>& buffer, BufferRoom room, std::uint64_t largest,
                     WholeFile& result) {
    result = WholeFile{};
    File file;
    try {
        file.openForReadingAt(dir, name, path);
        result.status = file.statusWhenOpened();
        const std::uint64_t size = file.length();
        // Reading on would go past the last byte the caller can take: the file is named, since
        // the user cannot tell otherwise which of the files was too long.
        if (size > largest)
            throw FileError(FileErrorCause::EndOfFile, path);
        if (size == 0)
            return;
        const std::uint64_t shortOf = room == BufferRoom::GrowWhenShorterThanSize ? size : size + 1;
        if (buffer.size() < shortOf) {
            try {
                buffer.resize(static_cast<std::size_t>(size + 1));
            } catch (const std::bad_alloc&) {
                throw FileError(causeFromErrno(ENOMEM), {});
            } catch (const std::length_error&) {
                throw FileError(causeFromErrno(ENOMEM), {});
            }
        }
        result.length = file.read(buffer.data(), static_cast<std::size_t>(size));
        file.close();
    } catch (const FileError&) {
        result.length = file.lastReadCount();
        throw;
    }
}

} // namespace platform
