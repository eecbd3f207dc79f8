#pragma once

#include "platform/FileSystem.h"

#include <string>

// The real file system, except that one chosen operation fails with a chosen errno.
// Installs itself as the program's file system while it lives.
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
    // Makes reads deliver at most this many bytes in all (a file that shrank meanwhile).
    void limitReadsTo(std::size_t total) { m_readLimit = total; }

    int calls(Op op) const { return m_calls[static_cast<int>(op)]; }

    int open(const char* path, int flags, mode_t mode, int& fd) override;
    int fileSize(int fd, std::uint64_t& size) override;
    int read(int fd, void* buffer, std::size_t count, std::size_t& done) override;
    int write(int fd, const void* buffer, std::size_t count, std::size_t& done) override;
    int sync(int fd) override;
    void startWriteback(int fd) override { m_real.startWriteback(fd); }
    int close(int fd) override;
    int remove(const char* path) override;
    int rename(const char* from, const char* to) override;
    int status(const char* path, Status& status) override;
    int makeDirectory(const char* path) override;
    int openDirectory(const char* path, void*& dir) override;

private:
    int check(Op op, const char* path);

    platform::FileSystem& m_real;
    Op m_op = Op::None;
    int m_error = 0;
    std::string m_pathPart;
    int m_skip = 0;
    int m_times = -1;
    std::size_t m_readLimit = static_cast<std::size_t>(-1);
    int m_calls[static_cast<int>(Op::Count)] = {};
};
