#include "DesignCopy.h"

#include "platform/AtomicWrite.h"
#include "platform/ExistingEntries.h"
#include "platform/File.h"
#include "platform/ModalQuestions.h"
#include "platform/Names.h"

#include <cerrno>
#include <cstdio>
#include <new>

namespace {
constexpr char kSchonVorhanden[] = "Datei schon vorhanden";
constexpr char kNichtUmbenennbar[] = "Datei kann nicht mehr automatisch umbenannt werden.";
constexpr int kMaxUmbenennungen = 99;
// Copies written before they are flushed; each holds a file open.
constexpr std::size_t kMostPending = 16;

void report(const platform::FileError& error) {
    platform::modalQuestions().messageBox(platform::fileErrorText(error));
}
} // namespace

std::size_t DesignCopy::readSource() {
    platform::File file;
    file.openForReading(m_context.strFilePath);
    const std::uint64_t size = file.length();
    if (size == 0)
        return 0;
    std::vector<std::uint8_t>& puffer = m_context.puffer;
    // The buffer only grows, so the next copy of a file this size needs no new memory.
    if (puffer.size() < size + 1) {
        try {
            puffer.resize(static_cast<std::size_t>(size + 1));
        } catch (const std::bad_alloc&) {
            throw platform::FileError(platform::causeFromErrno(ENOMEM), {});
        } catch (const std::length_error&) {
            throw platform::FileError(platform::causeFromErrno(ENOMEM), {});
        }
    }
    // A file that shrank meanwhile is copied as far as it delivered.
    const std::size_t length = file.read(puffer.data(), static_cast<std::size_t>(size));
    file.close();
    return length;
}

std::string DesignCopy::chooseCandidate(const std::string& directory, std::size_t length) {
    const std::string first = directory + m_context.strFileName;
    // Characters, not bytes, so that a name never loses half a letter.
    const std::string suffix(platform::lastCharacters(first, 4));
    const std::string base = first.substr(0, first.size() - suffix.size());

    platform::ExistingEntries existing;
    std::string candidate = first;
    platform::FileSystem::Status status;
    for (int counter = 0; existing.find(candidate, status);) {
        if (m_context.bDateienNichtUmbenennen) {
            std::string chosen;
            const std::string extension(platform::lastCharacters(candidate, 3));
            if (!platform::modalQuestions().askSaveFileName(first, directory, extension, chosen))
                return {};
            return chosen;
        }
        // Same name and size count as the same design. A directory has no size to compare.
        if (!status.isDirectory && status.size == length) {
            platform::modalQuestions().messageBox(kSchonVorhanden);
            return {};
        }
        if (++counter > kMaxUmbenennungen) {
            platform::modalQuestions().messageBox(kNichtUmbenennbar);
            return {};
        }
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02d", counter);
        candidate = base + digits + suffix;
    }
    return candidate;
}

bool DesignCopy::isSource(const std::string& path) const {
    platform::FileSystem& fs = platform::fileSystem();
    platform::FileSystem::Status target, source;
    return fs.status(path.c_str(), target) == 0 &&
           fs.status(m_context.strFilePath.c_str(), source) == 0 &&
           target.device == source.device && target.inode == source.inode;
}

bool DesignCopy::start(const std::string& destination) {
    if (m_pending.size() >= kMostPending)
        finish();
    const std::string directory = platform::withTrailingSeparator(destination);
    try {
        const std::size_t length = readSource();
        const std::string candidate = chooseCandidate(directory, length);
        if (candidate.empty())
            return false;
        // Saving onto the source itself would change nothing, but a move would then remove
        // the only copy: the design stays where it is.
        if (m_context.bDateienNichtUmbenennen && isSource(candidate)) {
            m_wentOntoSource = true;
            ++m_made;
            return true;
        }
        auto writer = std::make_unique<platform::AtomicFileWriter>(candidate);
        writer->write(m_context.puffer.data(), length);
        m_pending.push_back(std::move(writer));
    } catch (const platform::FileError& error) {
        report(error);
        return false;
    }
    return true;
}

int DesignCopy::finish() {
    for (const auto& writer : m_pending) {
        try {
            writer->commit();
            m_copied.push_back(writer->path());
            ++m_made;
        } catch (const platform::FileError& error) {
            report(error);
        }
    }
    m_pending.clear();
    return m_made;
}

int DesignCopy::CopyTo(const std::string& destination) {
    const int before = finish();
    return start(destination) && finish() > before ? 1 : 0;
}

void DesignCopy::syncCopiedNames() const {
    for (const std::string& path : m_copied)
        platform::syncDirectoryOf(path);
}
