// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "CopyContext.h"
#include "CopyNames.h"

#include "platform/AtomicWrite.h"
#include "platform/Directory.h"
#include "platform/ExistingEntries.h"
#include "platform/FileSystem.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Copies the current design file into destination directories under its upper-cased name,
// refusing duplicates and renaming on a clash. A run of copies reads the source once, is
// written first and flushed together, so the disk is waited for once rather than once per
// category. A copy takes its name only where nothing has it by then: a file that turned up
// under the name meanwhile (another program's, or another marked category's that is the same
// directory) meets the clash rule as if it had been there from the start.
class DesignCopy {
public:
    explicit DesignCopy(const CopyContext& context) : m_context(context) {}

    // One whole copy: returns 1 when its bytes are on the disk under its name, 0 when it
    // failed (reported), was refused (reported) or the save dialog was cancelled (silent).
    int CopyTo(const std::string& destination);

    // Reads the source and writes its copy into destination as CopyTo does, without waiting
    // for the disk; false when the copy is not made (reported as CopyTo reports it).
    bool start(const std::string& destination);
    // Waits until every started copy is on the disk under its name (reporting those that
    // fail); returns how many copies have been made in all.
    int finish();

    // Makes the names of every copy made so far survive a crash; due before the source of a
    // move is removed.
    void syncCopiedNames() const;

    // Whether a copy went onto the source file itself (a path picked in the save dialog); the
    // source must then not be removed as moved.
    bool wentOntoSource() const { return m_wentOntoSource; }

    // Whether the source is still the file the copies were read from, unchanged since (same
    // file, size and time of its last change). A source that another program was still
    // writing must not be removed as moved: its copies may hold older bytes than it does.
    bool sourceUnchanged() const;

private:
    // Where a copy goes: the path, and whether the user chose it to replace what is there.
    struct Target {
        std::string path;
        bool replace = false;
    };
    struct Pending {
        // The destination held open while its copy waits; its writer goes first.
        std::unique_ptr<platform::Directory> directory;
        std::unique_ptr<platform::AtomicFileWriter> writer;
        CopyNames names;
        std::size_t length;
    };

    // The whole source in the buffer, read by the first call that succeeds; returns its
    // length.
    std::size_t readSource();
    // The clash rule from names' candidate on, with existing looking in its directory: the
    // target, or none when the copy is not to be made (refused and reported, or the save
    // dialog cancelled).
    std::optional<Target> settleName(CopyNames& names, std::size_t length,
                                     platform::ExistingEntries& existing);
    // Writes the buffer's first length bytes for target; the writer that holds them, or none
    // when the target is the source itself (nothing to write). A target in directory is
    // written relative to it, with existing's listing. Throws FileError.
    std::unique_ptr<platform::AtomicFileWriter> writeTo(const Target& target, std::size_t length,
                                                        const platform::Directory* directory,
                                                        const platform::ExistingEntries* existing);
    // The destination directory held open, relative to the target where it lies below it, so
    // that its path is looked up once for the whole copy.
    std::unique_ptr<platform::Directory> openDestination(const std::string& destination);
    // Gives a written copy its name, applying the clash rule again while the name turns out
    // to be taken. Throws FileError.
    void commit(Pending& pending);
    bool isSource(const std::string& path) const;

    const CopyContext& m_context;
    // Held for a whole run of copies: the target, and the source's directory.
    std::unique_ptr<platform::Directory> m_target;
    std::unique_ptr<platform::Directory> m_sourceDirectory;
    bool m_wentOntoSource = false;
    int m_made = 0;
    std::optional<platform::FileSystem::Status> m_sourceAsRead; // at the read
    std::optional<std::size_t> m_sourceLength; // the bytes the read left in the buffer
    // Written, not yet flushed. Each holds a file open, so a long run is flushed in parts.
    std::vector<Pending> m_pending;
    std::vector<std::string> m_copied; // the paths of the copies made
};
