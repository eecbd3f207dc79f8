// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "DesignBrowser.h"

#include "platform/DirectoryReader.h"
#include "platform/Names.h"

#include <string_view>

namespace {
struct TypeCode {
    std::string_view code;
    int DesignBrowser::*setting;
};
constexpr TypeCode kTypeCodes[] = {
    {"PES", &DesignBrowser::m_bPES}, {"PEC", &DesignBrowser::m_bPEC},
    {"PCS", &DesignBrowser::m_bPCS}, {"DST", &DesignBrowser::m_bDST},
    {"SEW", &DesignBrowser::m_bSEW}, {"ART", &DesignBrowser::m_bART},
    {"HUS", &DesignBrowser::m_bHUS}, {"KRZ", &DesignBrowser::m_bKRZ},
};
} // namespace

bool DesignBrowser::IsAcceptedName(const std::string& shownName) const {
    // A name shorter than three characters is compared whole, and so never matches.
    const std::string_view name = shownName;
    const std::string_view last = name.size() > 3 ? name.substr(name.size() - 3) : name;
    for (const TypeCode& type : kTypeCodes) {
        if (last == type.code)
            return this->*type.setting != 0;
    }
    return false;
}

int DesignBrowser::ScanSource(const std::string& directory) {
    m_FileList.removeAll();
    platform::DirectoryReader reader;
    // One listing and nothing more: where it does not say what an entry is (many network
    // shares), the name decides, and reading the file refuses a directory or FIFO later.
    if (!reader.open(directory, platform::EntryTypes::FromListing))
        return 0;
    int added = 0;
    platform::DirectoryEntry entry;
    while (reader.next(entry)) {
        // Sub-directories are not searched; FIFOs and devices are no design files, and
        // reading one could wait for ever.
        if (entry.isDirectory || entry.isSpecial)
            continue;
        SourceFileName name = SourceFileName::fromDisk(std::move(entry.name));
        if (!IsAcceptedName(name.name))
            continue;
        m_FileList.add(std::move(name));
        ++added;
    }
    return added;
}

void DesignBrowser::RescanSource(const std::string& directory) {
    m_strSourceDir = platform::withTrailingSeparator(directory);
    m_FileList.removeAll();
    m_nAktuell = 0;
    ScanSource(m_strSourceDir);
}
