#pragma once

#include "platform/FileSystem.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>

// The real file system, except that one chosen operation fails with a chosen errno, or hangs
// until released. Installs itself as the program's file system while it lives. Calls may come
// from several threads.
class FaultyFileSystem : public platform::FileSystem {
public:
    enum class Op {
        None,
        Open,
        FileSize,
        Read,
        Write,
        Sync,
        Close,
        Remove,
        Rename,
        RenameNoReplace,
        Link,
        OpenTemporary,
        LinkTemporary,
        TryLock,
        FileStatus,
        Status,
        MakeDirectory,
        OpenDirectory,
        Count
    };

    FaultyFileSystem();
    ~FaultyFileSystem() override;

    // Makes the next calls of op fail with error. With pathPart set, only calls whose path
    // contains it fail (for operations that take a path). skip lets that many calls pass first;
    // times limits how many fail after them (all of them when negative).
    void failOn(Op op, int error, std::string pathPart = {}, int skip = 0, int times = -1);
    // Makes every call of op fail with error, besides what failOn sets up: a file system that
    // lacks what op needs (unnamed files, links, renaming without replacing).
    void lacks(Op op, int error) {
        std::lock_guard lock(m_mutex);
        m_lacking[static_cast<int>(op)] = error;
    }
    // Makes calls of op whose path contains pathPart wait until release(): a drive that stops
    // answering. The calls then go on as they would have. Going away releases them too, and
    // waits until they have left.
    void holdOn(Op op, std::string pathPart);
    void release();
    // How many calls wait in holdOn's hold now.
    int held() const;

    // The ways a file system may offer to give a written file its name without replacing
    // another: files without a name, renaming that refuses to replace, links, and (FAT) none
    // of these. Each says which calls such a file system lacks.
    enum class Naming { Unnamed, RenameNoReplace, Link, Claim };
    static constexpr Naming kNamings[] = {Naming::Unnamed, Naming::RenameNoReplace, Naming::Link,
                                          Naming::Claim};
    static const char* nameOf(Naming naming);
    // Makes this file system lack what a file system with only that way of naming lacks.
    void namesBy(Naming naming);
    // Runs action once, just before the next call of op: another program acting at the
    // worst moment.
    void before(Op op, std::function<void()> action) {
        std::lock_guard lock(m_mutex);
        m_beforeOp = op;
        m_before = std::move(action);
    }
    // Makes reads deliver at most this many bytes in all (a file that shrank meanwhile).
    void limitReadsTo(std::size_t total) { m_readLimit = total; }

    int calls(Op op) const {
        std::lock_guard lock(m_mutex);
        return m_calls[static_cast<int>(op)];
    }

    int open(const char* path, int flags, mode_t mode, int& fd) override;
    int fileSize(int fd, std::uint64_t& size) override;
    int fileStatus(int fd, Status& status) override;
    int read(int fd, void* buffer, std::size_t count, std::size_t& done) override;
    int write(int fd, const void* buffer, std::size_t count, std::size_t& done) override;
    int sync(int fd) override;
    void startWriteback(int fd) override { m_real.startWriteback(fd); }
    int close(int fd) override;
    int remove(const char* path) override;
    int rename(const char* from, const char* to) override;
    int renameNoReplace(const char* from, const char* to) override;
    int link(const char* from, const char* to) override;
    int openTemporary(const char* directory, int& fd) override;
    int linkTemporary(int fd, const char* path) override;
    int tryLock(int fd) override;
    int status(const char* path, Status& status) override;
    int makeDirectory(const char* path) override;
    int openDirectory(const char* path, void*& dir) override;

private:
    int check(Op op, const char* path);

    platform::FileSystem& m_real;
    mutable std::mutex m_mutex; // guards everything below
    std::condition_variable m_holdChanged;
    Op m_holdOp = Op::None;
    std::string m_holdPart;
    int m_held = 0;
    Op m_beforeOp = Op::None;
    std::function<void()> m_before;
    Op m_op = Op::None;
    int m_error = 0;
    std::string m_pathPart;
    int m_skip = 0;
    int m_times = -1;
    std::size_t m_readLimit = static_cast<std::size_t>(-1);
    int m_calls[static_cast<int>(Op::Count)] = {};
    int m_lacking[static_cast<int>(Op::Count)] = {};
};
