// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "SourceFileList.h"

#include "platform/Names.h"

#include <algorithm>

SourceFileName SourceFileName::fromDisk(std::string diskName) {
    SourceFileName entry;
    entry.name = platform::upperCaseName(diskName);
    entry.diskName = std::move(diskName);
    return entry;
}

SourceFileList::SourceFileList(std::size_t initialSize, std::size_t growBy)
    : m_names(initialSize), m_growBy(growBy ? growBy : 1) {}

void SourceFileList::add(SourceFileName name) {
    // Grows by at least the step, and geometrically beyond it, so long listings stay linear.
    if (m_names.size() == m_names.capacity())
        m_names.reserve(m_names.capacity() + std::max(m_growBy, m_names.capacity() / 2));
    m_names.push_back(std::move(name));
}

void SourceFileList::removeAt(std::size_t i) {
    if (i < m_names.size())
        m_names.erase(m_names.begin() + static_cast<std::ptrdiff_t>(i));
}

void SourceFileList::sortFrom(std::size_t from) {
    if (from >= m_names.size())
        return;
    // std::string compares its bytes as unsigned values, as an ordinal comparison does.
    std::sort(m_names.begin() + static_cast<std::ptrdiff_t>(from), m_names.end(),
              [](const SourceFileName& a, const SourceFileName& b) {
                  if (const int byName = a.name.compare(b.name))
                      return byName < 0;
                  return a.diskName < b.diskName;
              });
}
