// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "FaultyFileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <string_view>
#include <utility>

FaultyFileSystem::FaultyFileSystem() : m_real(platform::posixFileSystem()) {
    platform::setFileSystem(this);
}

FaultyFileSystem::~FaultyFileSystem() {
    platform::setFileSystem(nullptr);
    release();
    std::unique_lock lock(m_mutex);
    m_releasedChanged.wait(lock, [this] { return m_held == 0; });
}

const char* FaultyFileSystem::nameOf(Naming naming) {
    switch (naming) {
    case Naming::Unnamed:
        return "unnamed file";
    case Naming::RenameNoReplace:
        return "rename without replacing";
    case Naming::Link:
        return "link";
    case Naming::Claim:
        return "claim, then rename";
    }
    return "";
}

void FaultyFileSystem::namesBy(Naming naming) {
    if (naming == Naming::Unnamed)
        return;
    lacks(Op::OpenTemporary, EOPNOTSUPP);
    if (naming == Naming::RenameNoReplace)
        return;
    lacks(Op::RenameNoReplace, EINVAL);
    if (naming == Naming::Claim)
        lacks(Op::Link, EPERM);
}

void FaultyFileSystem::lacks(Op op, int error) {
    const std::lock_guard lock(m_mutex);
    m_lacking[static_cast<int>(op)] = error;
}

void FaultyFileSystem::before(Op op, std::function<void()> action) {
    const std::lock_guard lock(m_mutex);
    m_beforeOp = op;
    m_before = std::move(action);
}

void FaultyFileSystem::failOn(Op op, int error, std::string pathPart, int skip, int times) {
    const std::lock_guard lock(m_mutex);
    m_op = op;
    m_error = error;
    m_pathPart = std::move(pathPart);
    m_skip = skip;
    m_times = times;
}

void FaultyFileSystem::holdOn(Op op, std::string pathPart) {
    const std::lock_guard lock(m_mutex);
    m_holdOp = op;
    m_holdPart = std::move(pathPart);
    m_released = false;
}

void FaultyFileSystem::release() {
    {
        const std::lock_guard lock(m_mutex);
        m_released = true;
        m_holdOp = Op::None;
    }
    m_releasedChanged.notify_all();
}

int FaultyFileSystem::held() const {
    const std::lock_guard lock(m_mutex);
    return m_held;
}

int FaultyFileSystem::calls(Op op) const {
    const std::lock_guard lock(m_mutex);
    return m_calls[static_cast<int>(op)];
}

int FaultyFileSystem::check(Op op, const char* path) {
    std::function<void()> before;
    {
        std::unique_lock lock(m_mutex);
        ++m_calls[static_cast<int>(op)];
        if (op == m_beforeOp && m_before) {
            m_beforeOp = Op::None;
            before = std::exchange(m_before, nullptr);
        }
        if (op == m_holdOp && path &&
            std::string_view(path).find(m_holdPart) != std::string::npos) {
            ++m_held;
            m_releasedChanged.wait(lock, [this] { return m_released; });
            --m_held;
            m_releasedChanged.notify_all(); // the destructor waits for held calls to leave
        }
    }
    if (before)
        before();
    const std::lock_guard lock(m_mutex);
    if (const int lacking = m_lacking[static_cast<int>(op)])
        return lacking;
    if (op != m_op)
        return 0;
    if (!m_pathPart.empty() && path &&
        std::string_view(path).find(m_pathPart) == std::string_view::npos)
        return 0;
    if (m_skip > 0) {
        --m_skip;
        return 0;
    }
    if (m_times == 0)
        return 0;
    if (m_times > 0)
        --m_times;
    return m_error;
}

int FaultyFileSystem::open(const char* path, int flags, mode_t mode, int& fd) {
    if (int e = check(Op::Open, path))
        return e;
    const int e = m_real.open(path, flags, mode, fd);
    if (e == 0 && (flags & (O_DIRECTORY | O_PATH))) {
        const std::lock_guard lock(m_mutex);
        m_directories[fd] = path;
    }
    return e;
}

int FaultyFileSystem::fileSize(int fd, std::uint64_t& size) {
    if (int e = check(Op::FileSize, nullptr))
        return e;
    return m_real.fileSize(fd, size);
}

int FaultyFileSystem::read(int fd, void* buffer, std::size_t count, std::size_t& done) {
    if (int e = check(Op::Read, nullptr))
        return e;
    count = std::min(count, m_readLimit);
    const int e = m_real.read(fd, buffer, count, done);
    if (m_readLimit != static_cast<std::size_t>(-1))
        m_readLimit -= done;
    return e;
}

int FaultyFileSystem::write(int fd, const void* buffer, std::size_t count, std::size_t& done) {
    if (int e = check(Op::Write, nullptr)) {
        done = 0;
        return e;
    }
    return m_real.write(fd, buffer, count, done);
}

int FaultyFileSystem::sync(int fd) {
    if (int e = check(Op::Sync, nullptr))
        return e;
    return m_real.sync(fd);
}

int FaultyFileSystem::close(int fd) {
    // The descriptor is released whatever the answer, as on Linux.
    const int real = m_real.close(fd);
    {
        const std::lock_guard lock(m_mutex);
        m_directories.erase(fd);
    }
    if (int e = check(Op::Close, nullptr))
        return e;
    return real;
}

int FaultyFileSystem::remove(const char* path) {
    if (int e = check(Op::Remove, path))
        return e;
    return m_real.remove(path);
}

int FaultyFileSystem::rename(const char* from, const char* to) {
    if (int e = check(Op::Rename, to))
        return e;
    return m_real.rename(from, to);
}

int FaultyFileSystem::status(const char* path, Status& status) {
    if (int e = check(Op::Status, path))
        return e;
    return m_real.status(path, status);
}

int FaultyFileSystem::makeDirectory(const char* path) {
    if (int e = check(Op::MakeDirectory, path))
        return e;
    return m_real.makeDirectory(path);
}

int FaultyFileSystem::openDirectory(const char* path, void*& dir) {
    if (int e = check(Op::OpenDirectory, path)) {
        dir = nullptr;
        return e;
    }
    return m_real.openDirectory(path, dir);
}

int FaultyFileSystem::openSubdirectory(int parentFd, const char* name, bool followLink, int& fd) {
    if (int e = check(Op::OpenSubdirectory, name))
        return e;
    return m_real.openSubdirectory(parentFd, name, followLink, fd);
}

int FaultyFileSystem::linkStatusAt(int dirFd, const char* name, Status& status) {
    if (int e = check(Op::LinkStatusAt, name))
        return e;
    return m_real.linkStatusAt(dirFd, name, status);
}

int FaultyFileSystem::fileStatus(int fd, Status& status) {
    if (int e = check(Op::FileStatus, nullptr))
        return e;
    return m_real.fileStatus(fd, status);
}

int FaultyFileSystem::renameNoReplace(const char* from, const char* to) {
    if (int e = check(Op::RenameNoReplace, to))
        return e;
    return m_real.renameNoReplace(from, to);
}

int FaultyFileSystem::link(const char* from, const char* to) {
    if (int e = check(Op::Link, to))
        return e;
    return m_real.link(from, to);
}

int FaultyFileSystem::openTemporary(const char* directory, int& fd) {
    if (int e = check(Op::OpenTemporary, directory))
        return e;
    return m_real.openTemporary(directory, fd);
}

int FaultyFileSystem::linkTemporary(int fd, const char* path) {
    if (int e = check(Op::LinkTemporary, path))
        return e;
    return m_real.linkTemporary(fd, path);
}

int FaultyFileSystem::tryLock(int fd) {
    if (int e = check(Op::TryLock, nullptr))
        return e;
    return m_real.tryLock(fd);
}

std::string FaultyFileSystem::pathOf(int dir, const char* name) const {
    if (dir == AT_FDCWD)
        return name;
    const std::lock_guard lock(m_mutex);
    const auto found = m_directories.find(dir);
    std::string path;
    if (found != m_directories.end()) {
        path = found->second;
    } else {
        // Opened before this file system was installed: the system knows its path.
        char target[4096];
        const std::string self = "/proc/self/fd/" + std::to_string(dir);
        const ssize_t n = ::readlink(self.c_str(), target, sizeof target);
        if (n > 0)
            path.assign(target, static_cast<std::size_t>(n));
    }
    if (path.empty() || path.back() != '/')
        path += '/';
    // "." stands for the directory itself, named as the path calls name it: with a separator.
    return std::string_view(name) == "." ? path : path + name; // "" too
}

int FaultyFileSystem::openAt(int dir, const char* name, int flags, mode_t mode, int& fd) {
    return open(pathOf(dir, name).c_str(), flags, mode, fd);
}

int FaultyFileSystem::statusAt(int dir, const char* name, Status& status) {
    return this->status(pathOf(dir, name).c_str(), status);
}

int FaultyFileSystem::removeAt(int dir, const char* name) {
    return remove(pathOf(dir, name).c_str());
}

int FaultyFileSystem::renameAt(int dir, const char* from, const char* to) {
    return rename(pathOf(dir, from).c_str(), pathOf(dir, to).c_str());
}

int FaultyFileSystem::renameNoReplaceAt(int dir, const char* from, const char* to) {
    return renameNoReplace(pathOf(dir, from).c_str(), pathOf(dir, to).c_str());
}

int FaultyFileSystem::linkAt(int dir, const char* from, const char* to) {
    return link(pathOf(dir, from).c_str(), pathOf(dir, to).c_str());
}

int FaultyFileSystem::openTemporaryAt(int dir, const char* name, int& fd) {
    return openTemporary(pathOf(dir, name).c_str(), fd);
}

int FaultyFileSystem::linkTemporaryAt(int fd, int dir, const char* name) {
    return linkTemporary(fd, pathOf(dir, name).c_str());
}

int FaultyFileSystem::openDirectoryAt(int dir, const char* name, void*& listing) {
    return openDirectory(pathOf(dir, name).c_str(), listing);
}
