// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "FileSystem.h"

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace platform {

class Directory;

// Answers whether something exists under a path with its last name compared without regard
// to letter case, so that ROSE.PES is found where rose.pes lies. Design files come from a
// world where names differ only by their letters, never by their case.
class ExistingEntries {
public:
    ExistingEntries() = default;
    // For names in one open directory: one listing of it decides, and only a name found in
    // it is asked about, relative to the directory. Names elsewhere are looked up by path.
    explicit ExistingEntries(const Directory& directory) : m_held(&directory) {}

    // True when an entry exists; status then describes it (the exact name first, otherwise
    // the entry that matches ignoring case).
    bool find(const std::string& path, FileSystem::Status& status);
    // The same; found then names the entry as file calls take it with directoryFd() (relative
    // to the held directory, or the whole path), so that it can be opened.
    bool find(const std::string& path, FileSystem::Status& status, std::string& found);
    int directoryFd() const;

    // Whether a listing was made, and the names it found.
    bool hasListing() const { return m_listed && !m_listingFailed; }
    std::vector<std::string> listedNames() const;

private:
    bool findInHeld(const std::string& name, FileSystem::Status& status, std::string& found);
    // Lists directory unless it is the one listed last; false when it cannot be listed.
    bool list(const std::string& directory);

    const Directory* m_held = nullptr;
    // The directory whose listing is held, and its names by upper-cased name.
    std::string m_directory;
    bool m_listed = false;
    bool m_listingFailed = false;
    std::unordered_map<std::string, std::string> m_names;
    std::unordered_set<std::string> m_exact;
};

} // namespace platform
