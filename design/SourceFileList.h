// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One accepted name of the source listing: the upper-cased name that is shown, dispatched on
// and given to copies, and the exact name on disk that file access needs.
struct SourceFileName {
    std::string name;
    std::string diskName;

    static SourceFileName fromDisk(std::string diskName);
};

// The source listing: a growable array of names that grows in steps.
class SourceFileList {
public:
    SourceFileList(std::size_t initialSize, std::size_t growBy);

    std::size_t size() const { return m_names.size(); }
    bool isEmpty() const { return m_names.empty(); }
    const SourceFileName& operator[](std::size_t i) const { return m_names[i]; }
    SourceFileName& operator[](std::size_t i) { return m_names[i]; }

    void removeAll() { m_names.clear(); }
    void add(SourceFileName name);
    void removeAt(std::size_t i);
    // Puts the names from index from on in ascending order of their shown names, compared
    // byte by byte (ROSE10.PES before ROSE2.PES); names shown alike keep a fixed order by their
    // names on disk.
    void sortFrom(std::size_t from);

private:
    std::vector<SourceFileName> m_names;
    std::size_t m_growBy;
};
