#pragma once

#include "CopyContext.h"

#include <cstddef>
#include <string>
#include <vector>

// Copies the current design file into one destination directory under its upper-cased name,
// refusing duplicates and renaming on a clash.
class DesignCopy {
public:
    explicit DesignCopy(const CopyContext& context) : m_context(context) {}

    // Returns 1 when the copy's bytes are on the disk under its name, 0 when it failed
    // (reported), was refused (reported) or the save dialog was cancelled (silent).
    int CopyTo(const std::string& destination);

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
    std::vector<std::string> m_copied; // the paths of the copies made
};
