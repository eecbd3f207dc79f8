#include "FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

class PosixFileSystem final : public FileSystem {
public:
    int open(const char* path, int flags, mode_t mode, int& fd) override {
        do {
            fd = ::open(path, flags | O_CLOEXEC, mode);
        } while (fd < 0 && errno == EINTR);
        return fd < 0 ? errno : 0;
    }

    int fileSize(int fd, std::uint64_t& size) override {
        struct stat st {};
        if (::fstat(fd, &st) != 0)
            return errno;
        size = static_cast<std::uint64_t>(st.st_size);
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

    int status(const char* path, Status& status) override {
        struct stat st {};
        if (::stat(path, &st) != 0)
            return errno;
        status.isDirectory = S_ISDIR(st.st_mode);
        status.size = static_cast<std::uint64_t>(st.st_size);
        status.device = static_cast<std::uint64_t>(st.st_dev);
        status.inode = static_cast<std::uint64_t>(st.st_ino);
        return 0;
    }

    int makeDirectory(const char* path) override { return ::mkdir(path, 0777) == 0 ? 0 : errno; }

    int openDirectory(const char* path, void*& dir) override {
        dir = ::opendir(path);
        return dir ? 0 : errno;
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
