// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "FileSystem.h"

#include <string>
#include <unordered_map>

namespace platform {

// Answers whether something exists under a path with its last name compared without regard
// to letter case, so that ROSE.PES is found where rose.pes lies. Design files come from a
// world where names differ only by their letters, never by their case.
class ExistingEntries {
public:
    // True when an entry exists; status then describes it (the exact name first, otherwise
    // the entry that matches ignoring case).
    bool find(const std::string& path, FileSystem::Status& status);

private:
    // The directory whose listing is held, and its names by upper-cased name.
    std::string m_directory;
    bool m_listed = false;
    std::unordered_map<std::string, std::string> m_names;
};

} // namespace platform
