// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "DesignCopy.h"

#include "platform/ModalQuestions.h"
#include "platform/Names.h"
#include "platform/SameBytes.h"
#include "platform/WholeFile.h"

#include <cstdint>

namespace {
constexpr char kSchonVorhanden[] = "Datei schon vorhanden";
constexpr char kNichtUmbenennbar[] = "Datei kann nicht mehr automatisch umbenannt werden.";
// Copies written before they are flushed; each holds a file open.
constexpr std::size_t kMostPending = 16;
// How often a name may be found taken at the commit and free again at the test that follows
// before it counts as taken for good (something keeps making and removing it).
constexpr int kMostVanishings = 8;

void report(const platform::FileError& error) {
    platform::modalQuestions().messageBox(platform::fileErrorText(error));
}
} // namespace

std::size_t DesignCopy::readSource() {
    // Once read, the bytes stay in the buffer for the rest of the run: a share is asked once,
    // and every copy holds the same design even if another program rewrites the source
    // meanwhile. A read that failed leaves nothing to reuse, so the next copy tries again.
    if (m_sourceLength)
        return *m_sourceLength;
    const std::string& path = m_context.strFilePath;
    if (!m_sourceDirectory)
        m_sourceDirectory =
            std::make_unique<platform::Directory>(std::string(platform::directoryPart(path)));
    const platform::Directory& directory = *m_sourceDirectory;
    platform::WholeFile file;
    // A file that shrank meanwhile is copied as far as it delivered.
    platform::readWholeFileAt(directory.fd(), directory.at(platform::namePart(path)), path,
                              m_context.puffer, platform::BufferRoom::AtLeastSizePlusOne,
                              UINT64_MAX, file);
    m_sourceAsRead = file.status;
    m_sourceLength = file.length;
    return file.length;
}

std::unique_ptr<platform::Directory> DesignCopy::openDestination(const std::string& destination) {
    if (!m_target && !m_context.strZiel.empty())
        m_target = std::make_unique<platform::Directory>(m_context.strZiel);
    const std::string path = platform::withTrailingSeparator(destination);
    if (m_target && path.size() >= m_target->path().size() &&
        path.compare(0, m_target->path().size(), m_target->path()) == 0)
        return std::make_unique<platform::Directory>(
            *m_target, path.substr(m_target->path().size()), platform::Directory::Use::Listing);
    return std::make_unique<platform::Directory>(path, platform::Directory::Use::Listing);
}

std::optional<DesignCopy::Target> DesignCopy::settleName(CopyNames& names, std::size_t length,
                                                         platform::ExistingEntries& existing) {
    platform::FileSystem::Status status;
    std::string found;
    while (existing.find(names.candidate(), status, found)) {
        if (m_context.bDateienNichtUmbenennen) {
            std::string chosen;
            const std::string& first = names.first();
            const std::string extension(platform::lastCharacters(names.candidate(), 3));
            if (!platform::modalQuestions().askSaveFileName(
                    first, std::string(platform::directoryPart(first)), extension, chosen))
                return std::nullopt;
            return Target{chosen, true};
        }
        // Only the same bytes make the same design; a file of another size cannot hold them,
        // so only one of the same size is read. A directory has no bytes to compare.
        if (!status.isDirectory && status.size == length &&
            platform::holdsSameBytes(existing.directoryFd(), found, m_context.puffer.data(),
                                     length)) {
            platform::modalQuestions().messageBox(kSchonVorhanden);
            return std::nullopt;
        }
        if (!names.advance()) {
            platform::modalQuestions().messageBox(kNichtUmbenennbar);
            return std::nullopt;
        }
    }
    return Target{names.candidate(), false};
}

bool DesignCopy::isSource(const std::string& path) const {
    platform::FileSystem& fs = platform::fileSystem();
    platform::FileSystem::Status target, source;
    return fs.status(path.c_str(), target) == 0 &&
           fs.status(m_context.strFilePath.c_str(), source) == 0 &&
           target.device == source.device && target.inode == source.inode;
}

bool DesignCopy::sourceUnchanged() const {
    platform::FileSystem::Status now;
    if (!m_sourceAsRead || platform::fileSystem().status(m_context.strFilePath.c_str(), now) != 0)
        return false;
    const platform::FileSystem::Status& then = *m_sourceAsRead;
    return now.device == then.device && now.inode == then.inode && now.size == then.size &&
           now.modified == then.modified;
}

std::unique_ptr<platform::AtomicFileWriter>
DesignCopy::writeTo(const Target& target, std::size_t length, const platform::Directory* directory,
                    const platform::ExistingEntries* existing) {
    // Saving onto the source itself would change nothing, but a move would then remove the
    // only copy: the design stays where it is.
    if (target.replace && isSource(target.path)) {
        m_wentOntoSource = true;
        ++m_made;
        return nullptr;
    }
    using Mode = platform::AtomicFileWriter::Mode;
    std::unique_ptr<platform::AtomicFileWriter> writer;
    // A path picked in the save dialog may lie anywhere: it is named by its whole path.
    if (!target.replace && directory && directory->holds(target.path)) {
        writer = std::make_unique<platform::AtomicFileWriter>(target.path, Mode::KeepExisting,
                                                              *directory);
        if (existing && existing->hasListing())
            writer->useListing(existing->listedNames());
    } else {
        writer = std::make_unique<platform::AtomicFileWriter>(
            target.path, target.replace ? Mode::Replace : Mode::KeepExisting);
    }
    writer->write(m_context.puffer.data(), length);
    return writer;
}

bool DesignCopy::start(const std::string& destination) {
    if (m_pending.size() >= kMostPending)
        finish();
    CopyNames names(platform::withTrailingSeparator(destination), m_context.strFileName);
    try {
        const std::size_t length = readSource();
        auto directory = openDestination(destination);
        // A fresh listing for every copy: the name may have been taken since the last one.
        platform::ExistingEntries existing(*directory);
        const std::optional<Target> target = settleName(names, length, existing);
        if (!target)
            return false;
        if (auto writer = writeTo(*target, length, directory.get(), &existing))
            m_pending.push_back(Pending{std::move(directory), std::move(writer), names, length});
        return true;
    } catch (const platform::FileError& error) {
        report(error);
        return false;
    }
}

void DesignCopy::commit(Pending& pending) {
    int vanishings = 0;
    while (!pending.writer->commit()) {
        // Taken since it was tested: the clash rule once more, from this name on.
        const std::string taken = pending.writer->path();
        // A fresh listing: the one the name was chosen by is out of date.
        platform::ExistingEntries existing(*pending.directory);
        std::optional<Target> target = settleName(pending.names, pending.length, existing);
        if (!target)
            return;
        if (target->replace) {
            // A path picked in the save dialog may lie anywhere: the copy is made there anew.
            pending.writer.reset();
            pending.length = readSource();
            pending.writer = writeTo(*target, pending.length, nullptr, nullptr);
            if (pending.writer)
                commit(pending); // replaces, so it cannot find the name taken
            return;
        }
        if (target->path == taken && ++vanishings > kMostVanishings) {
            // Something keeps making and removing this name: leave it to them.
            if (!pending.names.advance()) {
                platform::modalQuestions().messageBox(kNichtUmbenennbar);
                return;
            }
            target->path = pending.names.candidate();
        }
        pending.writer->setPath(target->path);
    }
    m_copied.push_back(pending.writer->path());
    ++m_made;
}

int DesignCopy::finish() {
    for (Pending& copy : m_pending) {
        try {
            commit(copy);
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
