#include "AtomicWrite.h"

#include "File.h"
#include "FileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <random>

namespace platform {

namespace {

// The directory part of path, ending in the separator; empty for a bare name.
std::string directoryOf(const std::string& path) {
    const auto at = path.rfind('/');
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

// A short name, so that a temporary file fits where a long final name only just fits.
std::string temporaryName(const std::string& directory) {
    static std::mt19937_64 random{std::random_device{}()};
    static const char digits[] = "0123456789abcdef";
    std::string name = directory + ".nadelix-";
    auto bits = random();
    for (int i = 0; i < 12; ++i, bits >>= 4)
        name += digits[bits & 0xF];
    return name + ".tmp";
}

// Creates a fresh temporary file in directory; returns its path.
std::string createTemporary(const std::string& directory, File& file) {
    for (;;) {
        std::string path = temporaryName(directory);
        if (file.createNew(path))
            return path;
    }
}

} // namespace

void syncDirectoryOf(const std::string& path) {
    const std::string directory = directoryOf(path);
    FileSystem& fs = fileSystem();
    int fd = -1;
    if (fs.open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY, 0, fd) != 0)
        return;
    fs.sync(fd);
    fs.close(fd);
}

void writeFileAtomically(const std::string& path, const void* data, std::size_t size) {
    // Without a name there is nothing to rename onto: say so before writing anything.
    if (path.empty() || path.back() == '/')
        throw FileError(causeFromErrno(path.empty() ? ENOENT : EISDIR), path);
    const std::string directory = directoryOf(path);
    File file;
    std::string temporary;
    try {
        temporary = createTemporary(directory, file);
        file.write(data, size);
        file.flush();
        file.close();
        if (const int error = fileSystem().rename(temporary.c_str(), path.c_str()))
            throw FileError(causeFromErrno(error), path);
    } catch (const FileError& error) {
        if (!temporary.empty()) {
            // The error in hand is the one to report; tidying up fails quietly.
            try {
                file.close();
            } catch (const FileError&) {
            }
            fileSystem().remove(temporary.c_str());
        }
        throw FileError(error.cause(), error.fileName().empty() ? std::string() : path);
    }
}

} // namespace platform
