// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "FileSystem.h"

#include "DirectoryListing.h"
#include "LinkLoops.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <new>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

void describe(const struct stat& st, FileSystem::Status& status) {
    status.isDirectory = S_ISDIR(st.st_mode);
    status.isRegular = S_ISREG(st.st_mode);
    status.size = static_cast<std::uint64_t>(st.st_size);
    status.device = static_cast<std::uint64_t>(st.st_dev);
    status.inode = static_cast<std::uint64_t>(st.st_ino);
    status.modified =
        static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

class PosixFileSystem final : public FileSystem {
public:
    int open(const char* path, int flags, mode_t mode, int& fd) override {
        do {
            fd = ::open(path, flags | O_CLOEXEC, mode);
        } while (fd < 0 && errno == EINTR);
        return fd < 0 ? errno : 0;
    }

    int fileSize(int fd, std::uint64_t& size) override {
        struct statx known {};
        if (::statx(fd, "", AT_EMPTY_PATH | AT_STATX_DONT_SYNC, STATX_SIZE, &known) == 0) {
            size = known.stx_size;
            return 0;
        }
        if (errno != ENOSYS)
            return errno;
        struct stat st {};
        if (::fstat(fd, &st) != 0)
            return errno;
        size = static_cast<std::uint64_t>(st.st_size);
        return 0;
    }

    int fileStatus(int fd, Status& status) override {
        struct stat st {};
        if (::fstat(fd, &st) != 0)
            return errno;
        describe(st, status);
        return 0;
    }

    int read(int fd, void* buffer, std::size_t count, std::size_t& done) override {
        ssize_t n;
        do {
            n = ::read(fd, buffer, count);
        } while (n < 0 && errno == EINTR);
        done = n < 0 ? 0 : static_cast<std::size_t>(n);
        return n < 0 ? errno : 0;
    }

    int write(int fd, const void* buffer, std::size_t count, std::size_t& done) override {
        ssize_t n;
        do {
            n = ::write(fd, buffer, count);
        } while (n < 0 && errno == EINTR);
        done = n < 0 ? 0 : static_cast<std::size_t>(n);
        return n < 0 ? errno : 0;
    }

    int sync(int fd) override { return ::fsync(fd) == 0 ? 0 : errno; }

    void startWriteback(int fd) override { ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE); }

    // A close interrupted by a signal has still released the descriptor on Linux.
    int close(int fd) override { return ::close(fd) == 0 || errno == EINTR ? 0 : errno; }

    int remove(const char* path) override { return ::unlink(path) == 0 ? 0 : errno; }

    int rename(const char* from, const char* to) override {
        return ::rename(from, to) == 0 ? 0 : errno;
    }

    int renameNoReplace(const char* from, const char* to) override {
        return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0 ? 0 : errno;
    }

    int link(const char* from, const char* to) override {
        return ::link(from, to) == 0 ? 0 : errno;
    }

    int openTemporary(const char* directory, int& fd) override {
        do {
            fd = ::open(directory, O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
        } while (fd < 0 && errno == EINTR);
        return fd < 0 ? errno : 0;
    }

    int linkTemporary(int fd, const char* path) override {
        // Linking by the descriptor itself needs a privilege most users lack; the descriptor's
        // entry under /proc does the same for anyone.
        if (::linkat(fd, "", AT_FDCWD, path, AT_EMPTY_PATH) == 0)
            return 0;
        if (errno != ENOENT && errno != EPERM)
            return errno;
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path, AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
    }

    int tryLock(int fd) override {
        int result;
        do {
            result = ::flock(fd, LOCK_EX | LOCK_NB);
        } while (result != 0 && errno == EINTR);
        return result == 0 ? 0 : errno;
    }

    int status(const char* path, Status& status) override {
        struct stat st {};
        if (::stat(path, &st) != 0)
            return errno;
        describe(st, status);
        return 0;
    }

    int makeDirectory(const char* path) override { return ::mkdir(path, 0777) == 0 ? 0 : errno; }

    int openDirectory(const char* path, void*& dir) override {
        // An empty path names no directory; for openDirectoryAt it means dir itself.
        if (*path == '\0') {
            dir = nullptr;
            return ENOENT;
        }
        return openDirectoryAt(AT_FDCWD, path, dir);
    }

    int openAt(int dir, const char* name, int flags, mode_t mode, int& fd) override {
        int askedForLinks = 0;
        do {
            fd = ::openat(dir, name, flags | O_CLOEXEC, mode);
        } while (fd < 0 && askAgain(errno, askedForLinks));
        return fd < 0 ? errno : 0;
    }

    int statusAt(int dir, const char* name, Status& status) override {
        struct stat st {};
        if (::fstatat(dir, name, &st, 0) != 0)
            return errno;
        describe(st, status);
        return 0;
    }

    int removeAt(int dir, const char* name) override {
        return ::unlinkat(dir, name, 0) == 0 ? 0 : errno;
    }

    int renameAt(int dir, const char* from, const char* to) override {
        return ::renameat(dir, from, dir, to) == 0 ? 0 : errno;
    }

    int renameNoReplaceAt(int dir, const char* from, const char* to) override {
        return ::renameat2(dir, from, dir, to, RENAME_NOREPLACE) == 0 ? 0 : errno;
    }

    int linkAt(int dir, const char* from, const char* to) override {
        return ::linkat(dir, from, dir, to, 0) == 0 ? 0 : errno;
    }

    int linkOpenAt(int fd, int dir, const char* from, const char* to) override {
        // The descriptor's entry under /proc leads to the file itself, whatever its name.
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        if (::linkat(AT_FDCWD, self.c_str(), dir, to, AT_SYMLINK_FOLLOW) == 0)
            return 0;
        const int error = errno;
        // Without /proc, by its name. A file that lost its name (another program's file took
        // it) stays without one: linking by the name would publish that other file.
        struct stat entry {};
        return error == ENOENT && ::lstat(self.c_str(), &entry) != 0 ? linkAt(dir, from, to)
                                                                     : error;
    }

    int openTemporaryAt(int dir, const char* name, int& fd) override {
        do {
            fd = ::openat(dir, name, O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
        } while (fd < 0 && errno == EINTR);
        return fd < 0 ? errno : 0;
    }

    int linkTemporaryAt(int fd, int dir, const char* name) override {
        // As linkTemporary: by the descriptor where allowed, else by its entry under /proc.
        if (::linkat(fd, "", dir, name, AT_EMPTY_PATH) == 0)
            return 0;
        if (errno != ENOENT && errno != EPERM)
            return errno;
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        return ::linkat(AT_FDCWD, self.c_str(), dir, name, AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
    }

    int openDirectoryAt(int dir, const char* name, void*& listing) override {
        listing = nullptr;
        int fd = -1;
        if (*name == '\0') {
            // A second descriptor shares the position, which goes back to the start: the
            // system then lists the directory afresh.
            fd = ::fcntl(dir, F_DUPFD_CLOEXEC, 0);
            if (fd < 0)
                return errno;
            ::lseek(fd, 0, SEEK_SET);
        } else if (const int error = openAt(dir, name, O_RDONLY | O_DIRECTORY, 0, fd)) {
            return error;
        }
        try {
            listing = new DirectoryListing(fd);
        } catch (const std::bad_alloc&) {
            ::close(fd);
            return ENOMEM;
        }
        return 0;
    }

    int openSubdirectory(int parentFd, const char* name, bool followLink, int& fd) override {
        const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW);
        int askedForLinks = 0;
        do {
            fd = ::openat(parentFd, name, flags);
        } while (fd < 0 && askAgain(errno, askedForLinks));
        return fd < 0 ? errno : 0;
    }

    int linkStatusAt(int dirFd, const char* name, Status& status) override {
        struct stat st {};
        if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return errno;
        describe(st, status);
        return 0;
    }
};

FileSystem* installed = nullptr;

} // namespace

FileSystem& posixFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

FileSystem& fileSystem() {
    return installed ? *installed : posixFileSystem();
}

void setFileSystem(FileSystem* fs) {
    installed = fs;
}

} // namespace platform
