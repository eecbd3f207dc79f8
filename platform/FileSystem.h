// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <sys/types.h>

namespace platform {

// The operating system's file calls, behind an interface so that tests can make any of
// them fail. Every call returns 0 (or a count) on success and an errno value on failure;
// none of them touches the global errno of the caller.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    struct Status {
        bool isDirectory = false;
        bool isRegular = false;
        std::uint64_t size = 0;
        // Together they tell whether two paths name the same file.
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        // The last change of the file's bytes, in nanoseconds since the epoch.
        std::int64_t modified = 0;
    };

    virtual int open(const char* path, int flags, mode_t mode, int& fd) = 0;
    // The size as the system last learned it, without asking a share again where it keeps the
    // file's attributes: right after fileStatus, as fresh as that and without a request.
    virtual int fileSize(int fd, std::uint64_t& size) = 0;
    virtual int fileStatus(int fd, Status& status) = 0;
    // Reads up to count bytes; done holds the number read (0 at the end of the file).
    virtual int read(int fd, void* buffer, std::size_t count, std::size_t& done) = 0;
    virtual int write(int fd, const void* buffer, std::size_t count, std::size_t& done) = 0;
    virtual int sync(int fd) = 0;
    // Sets the written bytes on their way to the disk without waiting for them, so that a later
    // sync of several files waits once for all. Only a hint: nothing can fail.
    virtual void startWriteback(int fd) = 0;
    virtual int close(int fd) = 0;
    virtual int remove(const char* path) = 0;
    virtual int rename(const char* from, const char* to) = 0;
    // Gives from the name to only where nothing has that name: EEXIST when something has.
    // EINVAL or ENOSYS where the file system cannot promise that.
    virtual int renameNoReplace(const char* from, const char* to) = 0;
    // A second name for a file; EEXIST when to is taken.
    virtual int link(const char* from, const char* to) = 0;
    // Opens a file without a name in directory, for writing: it vanishes with its descriptor
    // unless linkTemporary gives it a name. EOPNOTSUPP, EISDIR or EINVAL where the file
    // system has no such files.
    virtual int openTemporary(const char* directory, int& fd) = 0;
    // Names the unnamed file fd; EEXIST when path is taken, which is never replaced.
    virtual int linkTemporary(int fd, const char* path) = 0;
    // Takes an exclusive lock on fd without waiting: EWOULDBLOCK while another holds one.
    // Locks go with the descriptor, so a process that dies releases them.
    virtual int tryLock(int fd) = 0;
    virtual int status(const char* path, Status& status) = 0;
    virtual int makeDirectory(const char* path) = 0;
    // Starts a directory listing; dir is the open DirectoryListing, which its reader deletes.
    virtual int openDirectory(const char* path, void*& dir) = 0;

    // The calls above for a name in the open directory dir (see Directory), so that the
    // directory's path is not looked up again: on a network share every component of a path
    // costs a request. With dir AT_FDCWD, name is a whole path and they are the calls above.
    virtual int openAt(int dir, const char* name, int flags, mode_t mode, int& fd) = 0;
    virtual int statusAt(int dir, const char* name, Status& status) = 0;
    virtual int removeAt(int dir, const char* name) = 0;
    virtual int renameAt(int dir, const char* from, const char* to) = 0;
    virtual int renameNoReplaceAt(int dir, const char* from, const char* to) = 0;
    virtual int linkAt(int dir, const char* from, const char* to) = 0;
    // linkAt for from held open as fd: where the system links a file by its descriptor, from
    // is not looked up again, which costs a request on a share. Otherwise linkAt itself.
    virtual int linkOpenAt(int fd, int dir, const char* from, const char* to) {
        (void)fd;
        return linkAt(dir, from, to);
    }
    // name is the directory the unnamed file goes in: "." for dir itself.
    virtual int openTemporaryAt(int dir, const char* name, int& fd) = 0;
    virtual int linkTemporaryAt(int fd, int dir, const char* name) = 0;
    // A listing of the directory name ("." for dir itself), as openDirectory starts it; ""
    // lists dir itself from its start through its own descriptor, which must be open for
    // reading, without opening it again.
    virtual int openDirectoryAt(int dir, const char* name, void*& listing) = 0;

    // Opens the directory name inside the open directory parentFd (AT_FDCWD: name is a path of
    // its own), for listing and for opening what lies below it by a name alone. A final link
    // is followed only with followLink; otherwise it gives ELOOP.
    virtual int openSubdirectory(int parentFd, const char* name, bool followLink, int& fd) = 0;
    // The status of name inside the open directory dirFd; a final link is not followed, so a
    // link is neither directory nor regular file.
    virtual int linkStatusAt(int dirFd, const char* name, Status& status) = 0;
};

// The real file system.
FileSystem& posixFileSystem();

// The file system the program works on: the real one unless a test installed another.
FileSystem& fileSystem();
// Installs fs as the program's file system (nullptr goes back to the real one).
void setFileSystem(FileSystem* fs);

} // namespace platform
