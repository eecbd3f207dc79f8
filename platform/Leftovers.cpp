// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "Leftovers.h"

#include "Directory.h"
#include "DirectoryReader.h"
#include "FileSystem.h"
#include "Names.h"

#include <fcntl.h>
#include <functional>
#include <random>
#include <unordered_map>

namespace platform {

namespace {

constexpr std::string_view kTemporaryPrefix = ".nadelix-";
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::size_t kTemporaryDigits = 12;
constexpr std::size_t kTemporaryLength =
    kTemporaryPrefix.size() + kTemporaryDigits + kTemporarySuffix.size();
// Words, so that whoever opens a claim learns what it is; no design format starts like this.
constexpr std::string_view kClaimPrefix = "Nadelix claims this name for ";
constexpr std::size_t kClaimSize = kClaimPrefix.size() + kTemporaryLength + 1;

// One tidying of a directory. Dead writers' temporary files stay locked by it to its end, so
// that no other tidying counts them as its own meanwhile.
class Tidying {
public:
    Tidying(int dir, std::function<std::string(const std::string&)> at)
        : m_dir(dir), m_at(std::move(at)) {}
    Tidying(const Tidying&) = delete;
    Tidying& operator=(const Tidying&) = delete;
    ~Tidying() {
        for (const auto& [name, fd] : m_leftOver)
            m_fs.close(fd);
    }

    void run(const std::vector<std::string>& names) {
        std::vector<const std::string*> others;
        for (const std::string& name : names) {
            if (isTemporaryName(name))
                lockIfLeftOver(name);
            else
                others.push_back(&name);
        }
        // A claim outlives its writer only beside the writer's temporary file: without one
        // there is no claim to look for, and no file is asked about.
        if (m_leftOver.empty())
            return;
        for (const std::string* name : others)
            removeIfClaim(*name);
        // After the claims, so that a tidying cut short still leaves the way to them.
        for (const auto& [name, fd] : m_leftOver)
            m_fs.removeAt(m_dir, m_at(name).c_str());
    }

private:
    void lockIfLeftOver(const std::string& name) {
        // A writer holds its temporary file locked until it commits; a lock that can be had
        // belongs to nobody, because a dead program's locks go with it.
        int fd = -1;
        if (m_fs.openAt(m_dir, m_at(name).c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW, 0, fd) != 0)
            return;
        // A listing without types may offer a directory or a FIFO under such a name.
        FileSystem::Status status;
        if (m_fs.fileStatus(fd, status) == 0 && status.isRegular && m_fs.tryLock(fd) == 0)
            m_leftOver.emplace(name, fd);
        else
            m_fs.close(fd);
    }

    // Removes name if it holds exactly a claim for a dead writer's temporary file. Its size
    // is asked first, so that no other file is opened.
    void removeIfClaim(const std::string& name) {
        const std::string path = m_at(name);
        FileSystem::Status status;
        if (m_fs.statusAt(m_dir, path.c_str(), status) != 0 || !status.isRegular ||
            status.size != kClaimSize)
            return;
        int fd = -1;
        if (m_fs.openAt(m_dir, path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW, 0, fd) != 0)
            return;
        char buffer[kClaimSize + 1];
        std::size_t size = 0, done = 0;
        while (size < sizeof buffer &&
               m_fs.read(fd, buffer + size, sizeof buffer - size, done) == 0 && done > 0)
            size += done;
        FileSystem::Status read;
        const bool readWhole = m_fs.fileStatus(fd, read) == 0;
        // Closed before removing: a FUSE file system hides a removed open file instead.
        m_fs.close(fd);
        if (!readWhole || size != kClaimSize)
            return;
        const std::string_view content(buffer, size);
        const std::string temporary(content.substr(kClaimPrefix.size(), kTemporaryLength));
        if (!m_leftOver.count(temporary) || content != claimContent(temporary))
            return;
        // Still the file read, not one that took the name meanwhile.
        if (m_fs.statusAt(m_dir, path.c_str(), status) == 0 && status.device == read.device &&
            status.inode == read.inode)
            m_fs.removeAt(m_dir, path.c_str());
    }

    FileSystem& m_fs = fileSystem();
    const int m_dir;
    const std::function<std::string(const std::string&)> m_at;
    // Dead writers' temporary files by name, with the descriptor that holds each one's lock.
    std::unordered_map<std::string, int> m_leftOver;
};

} // namespace

// A short name, so that a temporary file fits where a long final name only just fits.
std::string temporaryName(const std::string& directory) {
    static std::mt19937_64 random{std::random_device{}()};
    static const char digits[] = "0123456789abcdef";
    std::string name = directory + std::string(kTemporaryPrefix);
    auto bits = random();
    for (std::size_t i = 0; i < kTemporaryDigits; ++i, bits >>= 4)
        name += digits[bits & 0xF];
    return name + std::string(kTemporarySuffix);
}

bool isTemporaryName(std::string_view name) {
    if (name.size() != kTemporaryLength || !name.starts_with(kTemporaryPrefix) ||
        !name.ends_with(kTemporarySuffix))
        return false;
    for (const char c : name.substr(kTemporaryPrefix.size(), kTemporaryDigits))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

std::string claimContent(std::string_view temporary) {
    return std::string(kClaimPrefix) + std::string(temporary) + '\n';
}

void markClaim(FileSystem& fs, int fd, std::string_view temporary) {
    const std::string content = claimContent(temporary);
    std::size_t written = 0, done = 0;
    while (written < content.size() &&
           fs.write(fd, content.data() + written, content.size() - written, done) == 0 && done > 0)
        written += done;
}

void removeLeftoverTemporaries(const std::string& directory) {
    DirectoryReader reader;
    if (!reader.open(directory.empty() ? "." : directory))
        return;
    std::vector<std::string> names;
    DirectoryEntry entry;
    while (reader.next(entry))
        if (!entry.isDirectory && !entry.isSpecial && !entry.isSymlink)
            names.push_back(std::move(entry.name));
    Tidying(AT_FDCWD, [&](const std::string& name) {
        return joinPath(directory, name);
    }).run(names);
}

void removeLeftoverTemporaries(const Directory& directory, const std::vector<std::string>* listed) {
    std::vector<std::string> names;
    if (!listed) {
        DirectoryReader reader;
        if (!reader.open(directory, EntryTypes::FromListing))
            return;
        DirectoryEntry entry;
        while (reader.next(entry))
            if (!entry.isDirectory && !entry.isSpecial && !entry.isSymlink)
                names.push_back(std::move(entry.name));
        listed = &names;
    }
    Tidying(directory.fd(), [&](const std::string& name) {
        return directory.at(name);
    }).run(*listed);
}

} // namespace platform
