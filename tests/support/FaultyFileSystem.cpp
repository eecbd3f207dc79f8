#include "FaultyFileSystem.h"

#include <cerrno>

#include <algorithm>
#include <utility>

FaultyFileSystem::FaultyFileSystem() : m_real(platform::posixFileSystem()) {
    platform::setFileSystem(this);
}

FaultyFileSystem::~FaultyFileSystem() {
    platform::setFileSystem(nullptr);
    release();
    std::unique_lock lock(m_mutex);
    m_holdChanged.wait(lock, [this] { return m_held == 0; });
}

void FaultyFileSystem::holdOn(Op op, std::string pathPart) {
    std::lock_guard lock(m_mutex);
    m_holdOp = op;
    m_holdPart = std::move(pathPart);
}

void FaultyFileSystem::release() {
    {
        std::lock_guard lock(m_mutex);
        m_holdOp = Op::None;
    }
    m_holdChanged.notify_all();
}

int FaultyFileSystem::held() const {
    std::lock_guard lock(m_mutex);
    return m_held;
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

void FaultyFileSystem::failOn(Op op, int error, std::string pathPart, int skip, int times) {
    std::lock_guard lock(m_mutex);
    m_op = op;
    m_error = error;
    m_pathPart = std::move(pathPart);
    m_skip = skip;
    m_times = times;
}

int FaultyFileSystem::check(Op op, const char* path) {
    std::unique_lock lock(m_mutex);
    ++m_calls[static_cast<int>(op)];
    if (op == m_holdOp && path && std::string_view(path).find(m_holdPart) != std::string::npos) {
        ++m_held;
        m_holdChanged.wait(lock, [&] { return m_holdOp != op; });
        --m_held;
        m_holdChanged.notify_all();
    }
    if (op == m_beforeOp && m_before) {
        m_beforeOp = Op::None;
        std::function<void()> action = std::exchange(m_before, nullptr);
        lock.unlock(); // the action may well use the file system itself
        action();
        lock.lock();
    }
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
    return m_real.open(path, flags, mode, fd);
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
