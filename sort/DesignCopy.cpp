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

int DesignCopy::CopyTo(const std::string& destination) {
    const std::string directory = platform::withTrailingSeparator(destination);
    try {
        const std::size_t length = readSource();
        const std::string candidate = chooseCandidate(directory, length);
        if (candidate.empty())
            return 0;
        // Saving onto the source itself would change nothing, but a move would then remove
        // the only copy: the design stays where it is.
        if (m_context.bDateienNichtUmbenennen && isSource(candidate)) {
            m_wentOntoSource = true;
            return 1;
        }
        platform::writeFileAtomically(candidate, m_context.puffer.data(), length);
        m_copied.push_back(candidate);
    } catch (const platform::FileError& error) {
        report(error);
        return 0;
    }
    return 1;
}

void DesignCopy::syncCopiedNames() const {
    for (const std::string& path : m_copied)
        platform::syncDirectoryOf(path);
}
