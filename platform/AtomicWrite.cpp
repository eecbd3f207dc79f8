// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "AtomicWrite.h"

#include "DirectoryReader.h"
#include "File.h"
#include "FileSystem.h"
#include "Names.h"

#include <cerrno>
#include <fcntl.h>
#include <random>

namespace platform {

namespace {

constexpr char kTemporaryPrefix[] = ".nadelix-";
constexpr char kTemporarySuffix[] = ".tmp";
constexpr int kTemporaryDigits = 12;

// A short name, so that a temporary file fits where a long final name only just fits.
std::string temporaryName(const std::string& directory) {
    static std::mt19937_64 random{std::random_device{}()};
    static const char digits[] = "0123456789abcdef";
    std::string name = directory + kTemporaryPrefix;
    auto bits = random();
    for (int i = 0; i < kTemporaryDigits; ++i, bits >>= 4)
        name += digits[bits & 0xF];
    return name + kTemporarySuffix;
}

bool isTemporaryName(std::string_view name) {
    const std::string_view prefix = kTemporaryPrefix, suffix = kTemporarySuffix;
    if (name.size() != prefix.size() + kTemporaryDigits + suffix.size() ||
        name.substr(0, prefix.size()) != prefix ||
        name.substr(name.size() - suffix.size()) != suffix)
        return false;
    for (const char c : name.substr(prefix.size(), kTemporaryDigits))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

// The file system cannot keep a name from being replaced this way.
bool unsupported(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == EPERM ||
           error == EMLINK;
}

} // namespace

void removeLeftoverTemporaries(const std::string& directory) {
    FileSystem& fs = fileSystem();
    DirectoryReader reader;
    if (!reader.open(directory.empty() ? "." : directory))
        return;
    DirectoryEntry entry;
    while (reader.next(entry)) {
        if (entry.isDirectory || entry.isSpecial || entry.isSymlink || !isTemporaryName(entry.name))
            continue;
        // A writer holds its temporary file locked until it commits; a lock that can be had
        // belongs to nobody, because a dead program's locks go with it.
        const std::string path = joinPath(directory, entry.name);
        int fd = -1;
        if (fs.open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW, 0, fd) != 0)
            continue;
        if (fs.tryLock(fd) == 0)
            fs.remove(path.c_str());
        fs.close(fd);
    }
}

void syncDirectoryOf(const std::string& path) {
    const std::string directory(directoryPart(path));
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
    // Whatever error brought us here is the one to report; tidying up fails quietly.
    try {
        m_file.close(); // an unnamed file vanishes with it
    } catch (const FileError&) {
    }
    if (!m_temporary.empty())
        fileSystem().remove(m_temporary.c_str());
    m_temporary.clear();
    m_unnamed = false;
}

void AtomicFileWriter::fail(const FileError& error) {
    discard();
    throw FileError(error.cause(), error.fileName().empty() ? std::string() : m_path);
}

void AtomicFileWriter::createNamedTemporary(const std::string& directory) {
    // Where a program died before it could name its copy, the copy is still lying here.
    removeLeftoverTemporaries(directory);
    for (;;) {
        std::string path = temporaryName(directory);
        if (m_file.createNew(path)) {
            m_temporary = std::move(path);
            break;
        }
    }
    // Held until the commit, so that another writer's tidying leaves this file alone.
    fileSystem().tryLock(m_file.descriptor());
}

void AtomicFileWriter::write(const void* data, std::size_t size) {
    // Without a name there is nothing to commit onto: say so before writing anything.
    if (m_path.empty() || m_path.back() == kSeparator)
        throw FileError(causeFromErrno(m_path.empty() ? ENOENT : EISDIR), m_path);
    const std::string directory(directoryPart(m_path));
    try {
        m_unnamed = m_file.createUnnamed(directory);
        if (!m_unnamed)
            createNamedTemporary(directory);
        m_file.write(data, size);
    } catch (const FileError& error) {
        fail(error);
    }
    fileSystem().startWriteback(m_file.descriptor());
}

int AtomicFileWriter::nameWithoutReplacing() {
    FileSystem& fs = fileSystem();
    if (m_unnamed)
        return fs.linkTemporary(m_file.descriptor(), m_path.c_str());

    int error = fs.renameNoReplace(m_temporary.c_str(), m_path.c_str());
    if (!unsupported(error))
        return error;
    // A second name, then the temporary one dropped: linking never replaces.
    error = fs.link(m_temporary.c_str(), m_path.c_str());
    if (error == 0) {
        fs.remove(m_temporary.c_str());
        return 0;
    }
    if (!unsupported(error))
        return error;
    // File systems without links (FAT): claim the name with an empty file first, which only
    // succeeds where nothing has it, then move the bytes onto the claim.
    int claim = -1;
    error = fs.open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666, claim);
    if (error)
        return error;
    fs.close(claim);
    error = fs.rename(m_temporary.c_str(), m_path.c_str());
    if (error)
        fs.remove(m_path.c_str());
    return error;
}

int AtomicFileWriter::nameReplacing() {
    FileSystem& fs = fileSystem();
    if (m_unnamed) {
        // An unnamed file cannot be linked over a name: it takes a temporary one first.
        int error;
        do {
            m_temporary = temporaryName(std::string(directoryPart(m_path)));
            error = fs.linkTemporary(m_file.descriptor(), m_temporary.c_str());
        } while (error == EEXIST);
        if (error) {
            m_temporary.clear();
            return error;
        }
    }
    return fs.rename(m_temporary.c_str(), m_path.c_str());
}

bool AtomicFileWriter::commit() {
    try {
        // The file stays open until it has its name: an unnamed file lives only as long as
        // its descriptor, and a temporary one keeps its lock.
        if (!m_flushed) {
            m_file.flush();
            m_flushed = true;
        }
        const int error = m_mode == Mode::Replace ? nameReplacing() : nameWithoutReplacing();
        if (error == EEXIST && m_mode == Mode::KeepExisting)
            return false;
        if (error)
            throw FileError(causeFromErrno(error), m_path);
    } catch (const FileError& error) {
        fail(error);
    }
    m_temporary.clear();
    // The bytes are on the disk under their name; closing can no longer lose them.
    try {
        m_file.close();
    } catch (const FileError&) {
    }
    m_unnamed = false;
    return true;
}

} // namespace platform
