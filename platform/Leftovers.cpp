// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "Leftovers.h"

#include "Directory.h"
#include "DirectoryReader.h"
#include "FileSystem.h"
#include "Names.h"

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <random>
#include <unordered_map>

namespace platform {

namespace {

constexpr std::string_view kTemporaryPrefix = ".nadelix-";
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::string_view kIntentSuffix = ".claim";
constexpr std::size_t kTemporaryDigits = 12;
constexpr std::size_t kTemporaryLength =
    kTemporaryPrefix.size() + kTemporaryDigits + kTemporarySuffix.size();
// Words, so that whoever opens a claim learns what it is; no design format starts like this.
constexpr std::string_view kClaimPrefix = "Nadelix claims this name for ";
constexpr std::size_t kClaimSize = kClaimPrefix.size() + kTemporaryLength + 1;
// Longer than any name a directory can hold, with its line end.
constexpr std::size_t kLongestIntent = 1024;

bool hasIdAfterPrefix(std::string_view name, std::string_view suffix) {
    if (name.size() != kTemporaryPrefix.size() + kTemporaryDigits + suffix.size() ||
        !name.starts_with(kTemporaryPrefix) || !name.ends_with(suffix))
        return false;
    for (const char c : name.substr(kTemporaryPrefix.size(), kTemporaryDigits))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

bool isIntentName(std::string_view name) {
    return hasIdAfterPrefix(name, kIntentSuffix);
}

std::string temporaryOfIntent(std::string_view intent) {
    return std::string(intent.substr(0, intent.size() - kIntentSuffix.size())) +
           std::string(kTemporarySuffix);
}

void writeAll(FileSystem& fs, int fd, std::string_view content) {
    std::size_t written = 0, done = 0;
    while (written < content.size() &&
           fs.write(fd, content.data() + written, content.size() - written, done) == 0 && done > 0)
        written += done;
}

// Up to size bytes of the file at path; false when it cannot be opened.
bool readStart(FileSystem& fs, int dir, const std::string& path, char* buffer, std::size_t size,
               std::size_t& got, FileSystem::Status& status) {
    int fd = -1;
    if (fs.openAt(dir, path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW, 0, fd) != 0)
        return false;
    got = 0;
    std::size_t done = 0;
    while (got < size && fs.read(fd, buffer + got, size - got, done) == 0 && done > 0)
        got += done;
    const bool known = fs.fileStatus(fd, status) == 0;
    // Closed before anything is removed: a FUSE file system hides a removed open file instead.
    fs.close(fd);
    return known;
}

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
        std::vector<const std::string*> intents;
        for (const std::string& name : names) {
            if (isTemporaryName(name))
                lockIfLeftOver(name);
            else if (isIntentName(name))
                intents.push_back(&name);
        }
        // A claim outlives its writer only beside the writer's intent: without one no other
        // file is asked about.
        for (const std::string* intent : intents)
            settle(*intent);
        // Last, so that a tidying cut short still leaves the way to the claims.
        for (const auto& [name, fd] : m_leftOver)
            m_fs.removeAt(m_dir, m_at(name).c_str());
    }

private:
    enum class Writer { Dead, Alive, Gone };

    Writer lockIfLeftOver(const std::string& name) {
        // A writer holds its temporary file locked until it commits; a lock that can be had
        // belongs to nobody, because a dead program's locks go with it.
        int fd = -1;
        const int error =
            m_fs.openAt(m_dir, m_at(name).c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW, 0, fd);
        if (error)
            return error == ENOENT ? Writer::Gone : Writer::Alive;
        // A listing without types may offer a directory or a FIFO under such a name.
        FileSystem::Status status;
        if (m_fs.fileStatus(fd, status) == 0 && status.isRegular && m_fs.tryLock(fd) == 0) {
            m_leftOver.emplace(name, fd);
            return Writer::Dead;
        }
        m_fs.close(fd);
        return Writer::Alive;
    }

    // An intent of a dead writer goes, with the claim it names if that is still only a claim.
    // Without its temporary file the bytes were moved onto the name already: the file named
    // is the design then, however short.
    void settle(const std::string& intent) {
        const std::string temporary = temporaryOfIntent(intent);
        if (!m_leftOver.count(temporary)) {
            // Not listed, or a live writer's, or taken by another tidying that is about to
            // remove it: only the first is this tidying's to settle.
            const Writer writer = lockIfLeftOver(temporary);
            if (writer == Writer::Alive)
                return;
            if (writer == Writer::Gone) {
                m_fs.removeAt(m_dir, m_at(intent).c_str());
                return;
            }
        }
        std::string claimed;
        if (readIntent(intent, claimed))
            removeIfClaim(claimed, temporary);
        m_fs.removeAt(m_dir, m_at(intent).c_str());
    }

    // The name an intent holds; false for one its writer did not finish, which it died
    // before acting on.
    bool readIntent(const std::string& intent, std::string& claimed) {
        char buffer[kLongestIntent];
        std::size_t size = 0;
        FileSystem::Status status;
        if (!readStart(m_fs, m_dir, m_at(intent), buffer, sizeof buffer, size, status))
            return false;
        const std::string_view content(buffer, size);
        if (content.size() < 2 || content.find('\n') != content.size() - 1)
            return false;
        claimed = content.substr(0, content.size() - 1);
        return claimed.find('/') == std::string::npos && claimed != "." && claimed != "..";
    }

    // Removes name if it is still what the writer of temporary made of it: an empty file (the
    // writer died creating it) or one holding exactly its note. Its size is asked first, so
    // that no other file is opened.
    void removeIfClaim(const std::string& name, const std::string& temporary) {
        const std::string path = m_at(name);
        FileSystem::Status found;
        if (m_fs.statusAt(m_dir, path.c_str(), found) != 0 || !found.isRegular ||
            (found.size != 0 && found.size != kClaimSize))
            return;
        if (found.size != 0) {
            char buffer[kClaimSize + 1];
            std::size_t size = 0;
            FileSystem::Status read;
            if (!readStart(m_fs, m_dir, path, buffer, sizeof buffer, size, read) ||
                std::string_view(buffer, size) != claimContent(temporary) ||
                read.device != found.device || read.inode != found.inode)
                return;
        }
        // Still the file looked at, not one that took the name meanwhile.
        FileSystem::Status now;
        if (m_fs.statusAt(m_dir, path.c_str(), now) == 0 && now.device == found.device &&
            now.inode == found.inode && now.size == found.size)
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
    // One per thread: copies run on several threads at once.
    thread_local std::mt19937_64 random{std::random_device{}()};
    static const char digits[] = "0123456789abcdef";
    std::string name = directory + std::string(kTemporaryPrefix);
    auto bits = random();
    for (std::size_t i = 0; i < kTemporaryDigits; ++i, bits >>= 4)
        name += digits[bits & 0xF];
    return name + std::string(kTemporarySuffix);
}

bool isTemporaryName(std::string_view name) {
    return hasIdAfterPrefix(name, kTemporarySuffix);
}

std::string intentName(std::string_view temporary) {
    return std::string(temporary.substr(0, temporary.size() - kTemporarySuffix.size())) +
           std::string(kIntentSuffix);
}

std::string claimContent(std::string_view temporary) {
    return std::string(kClaimPrefix) + std::string(temporary) + '\n';
}

void noteIntent(FileSystem& fs, int dir, const char* intent, std::string_view name) {
    int fd = -1;
    if (fs.openAt(dir, intent, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, 0666, fd) != 0)
        return;
    writeAll(fs, fd, std::string(name) + '\n');
    fs.close(fd);
}

void markClaim(FileSystem& fs, int fd, std::string_view temporary) {
    writeAll(fs, fd, claimContent(temporary));
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
