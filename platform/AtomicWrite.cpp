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

AtomicFileWriter::~AtomicFileWriter() {
    discard();
}

void AtomicFileWriter::discard() {
    if (m_temporary.empty())
        return;
    // Whatever error brought us here is the one to report; tidying up fails quietly.
    try {
        m_file.close();
    } catch (const FileError&) {
    }
    fileSystem().remove(m_temporary.c_str());
    m_temporary.clear();
}

void AtomicFileWriter::fail(const FileError& error) {
    discard();
    throw FileError(error.cause(), error.fileName().empty() ? std::string() : m_path);
}

void AtomicFileWriter::write(const void* data, std::size_t size) {
    // Without a name there is nothing to rename onto: say so before writing anything.
    if (m_path.empty() || m_path.back() == '/')
        throw FileError(causeFromErrno(m_path.empty() ? ENOENT : EISDIR), m_path);
    try {
        m_temporary = createTemporary(directoryOf(m_path), m_file);
        m_file.write(data, size);
    } catch (const FileError& error) {
        fail(error);
    }
    fileSystem().startWriteback(m_file.descriptor());
}

void AtomicFileWriter::commit() {
    try {
        m_file.flush();
        m_file.close();
        if (const int error = fileSystem().rename(m_temporary.c_str(), m_path.c_str()))
            throw FileError(causeFromErrno(error), m_path);
    } catch (const FileError& error) {
        fail(error);
    }
    m_temporary.clear();
}

void writeFileAtomically(const std::string& path, const void* data, std::size_t size) {
    AtomicFileWriter writer(path);
    writer.write(data, size);
    writer.commit();
}

} // namespace platform
