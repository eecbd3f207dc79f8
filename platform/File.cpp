// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "File.h"

#include "FileSystem.h"

#include <cerrno>
#include <fcntl.h>

namespace platform {

namespace {
[[noreturn]] void fail(int error, const std::string& name) {
    throw FileError(causeFromErrno(error), name);
}
} // namespace

File::~File() {
    if (m_fd >= 0)
        fileSystem().close(m_fd);
}

void File::openWith(int dir, const std::string& name, const std::string& path, int flags) {
    if (m_fd >= 0)
        close();
    m_path = path;
    int fd = -1;
    // An empty name is not a file; the system call would say so with ENOENT as well.
    if (const int error =
            path.empty() ? ENOENT : fileSystem().openAt(dir, name.c_str(), flags, 0666, fd))
        fail(error, path);
    m_fd = fd;
}

void File::openForReading(const std::string& path) {
    openForReadingAt(AT_FDCWD, path, path);
}

void File::openForReadingAt(int dir, const std::string& name, const std::string& path) {
    openWith(dir, name, path, O_RDONLY | O_NONBLOCK);
    FileSystem::Status st;
    int error = fileSystem().fileStatus(m_fd, st);
    if (!error && !st.isRegular)
        error = st.isDirectory ? EISDIR : EACCES;
    if (error) {
        fileSystem().close(m_fd);
        m_fd = -1;
        fail(error, path);
    }
    m_opened = st;
}

bool File::createNew(const std::string& path) {
    return createNewAt(AT_FDCWD, path, path);
}

bool File::createNewAt(int dir, const std::string& name, const std::string& path) {
    if (m_fd >= 0)
        close();
    m_path = path;
    int fd = -1;
    const int error = path.empty() ? ENOENT
                                   : fileSystem().openAt(dir, name.c_str(),
                                                         O_WRONLY | O_CREAT | O_EXCL, 0666, fd);
    if (error == EEXIST)
        return false;
    if (error)
        fail(error, path);
    m_fd = fd;
    return true;
}

bool File::createUnnamed(const std::string& directory) {
    const std::string name = directory.empty() ? "." : directory;
    return createUnnamedAt(AT_FDCWD, name, directory);
}

bool File::createUnnamedAt(int dir, const std::string& name, const std::string& path) {
    if (m_fd >= 0)
        close();
    m_path = path;
    int fd = -1;
    const int error = fileSystem().openTemporaryAt(dir, name.c_str(), fd);
    if (error == EOPNOTSUPP || error == EISDIR || error == EINVAL || error == ENOSYS)
        return false;
    if (error)
        fail(error, path);
    m_fd = fd;
    return true;
}

std::uint64_t File::length() {
    std::uint64_t size = 0;
    if (const int error = m_fd < 0 ? EBADF : fileSystem().fileSize(m_fd, size))
        fail(error, {});
    return size;
}

FileSystem::Status File::status() {
    FileSystem::Status st;
    if (const int error = m_fd < 0 ? EBADF : fileSystem().fileStatus(m_fd, st))
        fail(error, {});
    return st;
}

std::size_t File::read(void* buffer, std::size_t count) {
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t& total = m_lastReadCount;
    total = 0;
    while (total < count) {
        std::size_t done = 0;
        if (const int error =
                m_fd < 0 ? EBADF : fileSystem().read(m_fd, bytes + total, count - total, done))
            fail(error, {});
        if (done == 0)
            break;
        total += done;
    }
    return total;
}

void File::write(const void* buffer, std::size_t count) {
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    std::size_t total = 0;
    while (total < count) {
        std::size_t done = 0;
        if (const int error =
                m_fd < 0 ? EBADF : fileSystem().write(m_fd, bytes + total, count - total, done))
            fail(error, m_path);
        if (done == 0)
            fail(ENOSPC, m_path);
        total += done;
    }
}

void File::flush() {
    if (const int error = m_fd < 0 ? EBADF : fileSystem().sync(m_fd))
        fail(error, m_path);
}

void File::close() {
    if (m_fd < 0)
        return;
    const int fd = m_fd;
    m_fd = -1; // released whatever close answers
    if (const int error = fileSystem().close(fd))
        fail(error, {});
}

void File::remove(const std::string& path) {
    if (const int error = path.empty() ? ENOENT : fileSystem().remove(path.c_str()))
        fail(error, {});
}

} // namespace platform
