#pragma once

#include "CopyContext.h"

#include "platform/AtomicWrite.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// Copies the current design file into destination directories under its upper-cased name,
// refusing duplicates and renaming on a clash. A run of copies is written first and flushed
// together, so the disk is waited for once rather than once per category.
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

private:
    // Reads the whole source into the buffer; returns the number of bytes read.
    std::size_t readSource();
    // The candidate path to write to, or empty when the copy is not to be made.
    std::string chooseCandidate(const std::string& directory, std::size_t length);
    bool isSource(const std::string& path) const;

    const CopyContext& m_context;
    bool m_wentOntoSource = false;
    int m_made = 0;
    // Written, not yet flushed. Each holds a file open, so a long run is flushed in parts.
    std::vector<std::unique_ptr<platform::AtomicFileWriter>> m_pending;
    std::vector<std::string> m_copied; // the paths of the copies made
};
