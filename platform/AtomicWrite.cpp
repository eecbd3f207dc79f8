// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "AtomicWrite.h"

#include "Directory.h"
#include "File.h"
#include "FileSystem.h"
#include "Leftovers.h"
#include "Names.h"

#include <cerrno>
#include <fcntl.h>

namespace platform {

namespace {

// The file system cannot keep a name from being replaced this way.
bool unsupported(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == EPERM ||
           error == EMLINK;
}

// Not for this file alone (as too many links would be) but for the file system.
bool lacksForGood(int error) {
    return error != EMLINK;
}

} // namespace

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
        fileSystem().removeAt(dirFd(), nameOf(m_temporary).c_str());
    m_temporary.clear();
    m_unnamed = false;
}

void AtomicFileWriter::fail(const FileError& error) {
    discard();
    throw FileError(error.cause(), error.fileName().empty() ? std::string() : m_path);
}

int AtomicFileWriter::dirFd() const {
    return m_directory ? m_directory->fd() : AT_FDCWD;
}

std::string AtomicFileWriter::nameOf(const std::string& path) const {
    return m_directory ? m_directory->at(namePart(path)) : path;
}

void AtomicFileWriter::createNamedTemporary(const std::string& directory) {
    // Where a program died before it could name its copy, the copy is still lying here.
    if (m_directory)
        removeLeftoverTemporaries(*m_directory, m_haveListing ? &m_listing : nullptr);
    else
        removeLeftoverTemporaries(directory);
    for (;;) {
        std::string path = temporaryName(directory);
        if (m_file.createNewAt(dirFd(), nameOf(path), path)) {
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
        // The first piece creates the file; later pieces follow it.
        if (m_file.descriptor() < 0) {
            m_unnamed = m_directory
                            ? m_file.createUnnamedAt(dirFd(), m_directory->at("."), directory)
                            : m_file.createUnnamed(directory);
            if (!m_unnamed)
                createNamedTemporary(directory);
        }
        m_file.write(data, size);
    } catch (const FileError& error) {
        fail(error);
    }
    fileSystem().startWriteback(m_file.descriptor());
}

int AtomicFileWriter::nameWithoutReplacing() {
    FileSystem& fs = fileSystem();
    const int dir = dirFd();
    const std::string name = nameOf(m_path);
    if (m_unnamed)
        return fs.linkTemporaryAt(m_file.descriptor(), dir, name.c_str());

    const std::string temporary = nameOf(m_temporary);
    // A way the directory's file system was found to lack is not tried again.
    Directory::Lacks* lacks = m_directory ? &m_directory->lacks() : nullptr;
    int error = 0;
    if (!lacks || !lacks->renameNoReplace) {
        error = fs.renameNoReplaceAt(dir, temporary.c_str(), name.c_str());
        if (!unsupported(error))
            return error;
        if (lacks && lacksForGood(error))
            lacks->renameNoReplace = true;
    }
    if (!lacks || !lacks->link) {
        // A second name, then the temporary one dropped: linking never replaces.
        error = fs.linkOpenAt(m_file.descriptor(), dir, temporary.c_str(), name.c_str());
        if (error == 0) {
            fs.removeAt(dir, temporary.c_str());
            return 0;
        }
        if (!unsupported(error))
            return error;
        if (lacks && lacksForGood(error))
            lacks->link = true;
    }
    // File systems without links (FAT): claim the name with a file of our own first, which
    // only succeeds where nothing has it, then move the bytes onto the claim. What a crash
    // leaves in between goes with the next write here: the intent noted before says which
    // name this writer is claiming, even where the claim is left empty, and the claim names
    // the temporary file. It is closed before the move: a FUSE file system would hide the
    // file replaced while open under yet another name.
    const std::string intent = nameOf(intentName(m_temporary));
    noteIntent(fs, dir, intent.c_str(), namePart(m_path));
    int claim = -1;
    error = fs.openAt(dir, name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666, claim);
    if (!error) {
        markClaim(fs, claim, namePart(m_temporary));
        fs.close(claim);
        error = fs.renameAt(dir, temporary.c_str(), name.c_str());
        if (error)
            fs.removeAt(dir, name.c_str());
    }
    // The bytes have their name, or the claim is given up: the intent must not outlive that.
    fs.removeAt(dir, intent.c_str());
    return error;
}

int AtomicFileWriter::nameReplacing() {
    FileSystem& fs = fileSystem();
    if (m_unnamed) {
        // An unnamed file cannot be linked over a name: it takes a temporary one first.
        int error;
        do {
            m_temporary = temporaryName(std::string(directoryPart(m_path)));
            error = fs.linkTemporaryAt(m_file.descriptor(), dirFd(), nameOf(m_temporary).c_str());
        } while (error == EEXIST);
        if (error) {
            m_temporary.clear();
            return error;
        }
    }
    return fs.renameAt(dirFd(), nameOf(m_temporary).c_str(), nameOf(m_path).c_str());
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
