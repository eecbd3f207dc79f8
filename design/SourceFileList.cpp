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
