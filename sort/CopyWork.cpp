// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "CopyWork.h"

#include "platform/File.h"
#include "platform/Names.h"
#include "platform/SameBytes.h"
#include "platform/WholeFile.h"

#include <cstdint>

namespace {

// Once read, the bytes stay for the rest of the run: a share is asked once, and every copy
// holds the same design even if another program rewrites the source meanwhile.
void readSource(CopyHoldings& held, const std::string& path) {
    if (held.length)
        return;
    if (!held.sourceDirectory)
        held.sourceDirectory =
            std::make_shared<platform::Directory>(std::string(platform::directoryPart(path)));
    const platform::Directory& directory = *held.sourceDirectory;
    platform::WholeFile file;
    // A file that shrank meanwhile is copied as far as it delivered.
    platform::readWholeFileAt(directory.fd(), directory.at(platform::namePart(path)), path,
                              *held.bytes, platform::BufferRoom::AtLeastSizePlusOne, UINT64_MAX,
                              file);
    held.sourceAsRead = file.status;
    held.length = file.length;
}

// The destination held open, relative to the target where it lies below it, so that its path
// is looked up once for the whole copy.
std::shared_ptr<const platform::Directory>
openDestination(CopyHoldings& held, const std::string& strZiel, const std::string& destination) {
    if (!held.target && !strZiel.empty())
        held.target = std::make_shared<platform::Directory>(strZiel);
    const std::string path = platform::withTrailingSeparator(destination);
    const platform::Directory* target = held.target.get();
    if (target && path.size() >= target->path().size() &&
        path.compare(0, target->path().size(), target->path()) == 0)
        return std::make_shared<platform::Directory>(*target, path.substr(target->path().size()),
                                                     platform::Directory::Use::Listing);
    return std::make_shared<platform::Directory>(path, platform::Directory::Use::Listing);
}

bool isSource(const std::string& path, const std::string& source) {
    platform::FileSystem& fs = platform::fileSystem();
    platform::FileSystem::Status target, status;
    return fs.status(path.c_str(), target) == 0 && fs.status(source.c_str(), status) == 0 &&
           target.device == status.device && target.inode == status.inode;
}

} // namespace

Clash settleClash(CopyNames& names, std::size_t length, const std::vector<std::uint8_t>& bytes,
                  platform::ExistingEntries& existing, bool askWhereToSave) {
    platform::FileSystem::Status status;
    std::string found;
    while (existing.find(names.candidate(), status, found)) {
        if (askWhereToSave)
            return Clash::AskWhereToSave;
        // Only the same bytes make the same design; a file of another size cannot hold them,
        // so only one of the same size is read. A directory has no bytes to compare.
        if (!status.isDirectory && status.size == length &&
            platform::holdsSameBytes(existing.directoryFd(), found, bytes.data(), length))
            return Clash::SameDesign;
        if (!names.advance())
            return Clash::NoMoreNames;
    }
    return Clash::Free;
}

std::unique_ptr<platform::AtomicFileWriter>
writeCopy(const CopyHoldings& held, const CopyTarget& target, const std::string& source,
          const platform::Directory* directory, const platform::ExistingEntries* existing,
          bool& ontoSource) {
    // Saving onto the source itself would change nothing, but a move would then remove the
    // only copy: the design stays where it is.
    if (target.replace && isSource(target.path, source)) {
        ontoSource = true;
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
    writer->write(held.bytes->data(), *held.length);
    return writer;
}

CategoryStep copyIntoCategory(CopyHoldings held, const CopyPaths& paths,
                              const std::string& destination, CopyNames names,
                              std::atomic<bool>& sourceRead) {
    CategoryStep step;
    try {
        readSource(held, paths.strFilePath);
        sourceRead = true;
        auto directory = openDestination(held, paths.strZiel, destination);
        // A fresh listing for every copy: the name may have been taken since the last one.
        platform::ExistingEntries existing(*directory);
        step.clash = settleClash(names, *held.length, *held.bytes, existing, paths.askWhereToSave);
        auto pending = std::make_shared<PendingCopy>(
            PendingCopy{directory, nullptr, std::move(names), *held.length});
        if (step.clash == Clash::Free)
            pending->writer =
                writeCopy(held, CopyTarget{pending->names.candidate(), false}, paths.strFilePath,
                          directory.get(), &existing, step.ontoSource);
        step.pending = std::move(pending);
    } catch (const platform::FileError& error) {
        step.error = error;
    }
    step.held = std::move(held);
    return step;
}

CommitStep commitCopy(PendingCopy& pending, const std::vector<std::uint8_t>& bytes,
                      bool askWhereToSave) {
    if (pending.writer->commit())
        return CommitStep{true, Clash::Free};
    // Taken since it was tested. A fresh listing: the one the name was chosen by is out of date.
    platform::ExistingEntries existing(*pending.directory);
    return CommitStep{false,
                      settleClash(pending.names, pending.length, bytes, existing, askWhereToSave)};
}

bool unchangedSince(const std::string& source, const platform::FileSystem::Status& asRead) {
    platform::FileSystem::Status now;
    if (platform::fileSystem().status(source.c_str(), now) != 0)
        return false;
    return now.device == asRead.device && now.inode == asRead.inode && now.size == asRead.size &&
           now.modified == asRead.modified;
}

SourceRemoval removeMovedSource(const std::vector<std::string>& copied, const std::string& source,
                                const std::optional<platform::FileSystem::Status>& asRead,
                                std::optional<platform::FileError>& error) {
    // Every copy's bytes are on the disk; once their names are too, a move cannot lose the
    // design whatever happens next.
    for (const std::string& path : copied)
        platform::syncDirectoryOf(path);
    // Another program changed the source while it was copied: its newest bytes may be in no
    // copy, so it stays.
    if (!asRead || !unchangedSince(source, *asRead))
        return SourceRemoval::Changed;
    try {
        platform::File::remove(source);
    } catch (const platform::FileError& e) {
        error = e;
        return SourceRemoval::Failed;
    }
    return SourceRemoval::Removed;
}
