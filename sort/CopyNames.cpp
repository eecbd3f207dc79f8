// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "CopyNames.h"

#include "platform/Names.h"

CopyNames::CopyNames(const std::string& directory, const std::string& fileName)
    : m_directory(directory), m_first(directory + fileName), m_candidate(m_first) {
    // Characters, not bytes, so that a name never loses half a letter.
    m_suffix = platform::lastCharacters(fileName, 4);
    m_base = fileName.substr(0, fileName.size() - m_suffix.size());
}

bool CopyNames::advance() {
    if (++m_counter > kMostRenamings)
        return false;
    const char digits[] = {static_cast<char>('0' + m_counter / 10),
                           static_cast<char>('0' + m_counter % 10), '\0'};
    m_candidate = m_directory + m_base + digits + m_suffix;
    return true;
}
