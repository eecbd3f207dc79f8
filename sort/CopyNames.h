// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>

// The names a copy may take in its destination directory: the file's own name, then the
// numbered ones ROSE01.PES to ROSE99.PES. The number goes before the name's last four
// characters (normally the dot and the type); a name of four characters or fewer keeps them
// all, so PES becomes 01PES and is still a PES file. Only the name is ever changed, never
// the directory.
class CopyNames {
public:
    CopyNames(const std::string& directory, const std::string& fileName);

    // The first name, the file's own, with its directory.
    const std::string& first() const { return m_first; }
    const std::string& candidate() const { return m_candidate; }
    // Moves on to the next numbered name; false after the last one.
    bool advance();

    static constexpr int kMostRenamings = 99;

private:
    std::string m_directory;
    std::string m_base;
    std::string m_suffix;
    std::string m_first;
    std::string m_candidate;
    int m_counter = 0;
};
