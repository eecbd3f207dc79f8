// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#include "SourceScan.h"

#include "platform/DirectoryReader.h"

#include <string_view>

namespace {
constexpr std::string_view kTypeCodes[] = {"PES", "PEC", "PCS", "DST", "SEW", "ART", "HUS", "KRZ"};
} // namespace

bool SourceTypes::accepts(const std::string& shownName) const {
    // A name shorter than three characters is compared whole, and so never matches.
    const std::string_view name = shownName;
    const std::string_view last = name.size() > 3 ? name.substr(name.size() - 3) : name;
    for (std::size_t i = 0; i < accepted.size(); ++i) {
        if (last == kTypeCodes[i])
            return accepted[i];
    }
    return false;
}

int scanSource(const std::string& directory, const SourceTypes& types, SourceFileList& list) {
    platform::DirectoryReader reader;
    // One listing and nothing more: where it does not say what an entry is (many network
    // shares), the name decides, and reading the file refuses a directory or FIFO later.
    if (!reader.open(directory, platform::EntryTypes::FromListing))
        return 0;
    int added = 0;
    const std::size_t first = list.size();
    platform::DirectoryEntry entry;
    while (reader.next(entry)) {
        // Sub-directories are not searched; FIFOs and devices are no design files, and
        // reading one could wait for ever.
        if (entry.isDirectory || entry.isSpecial)
            continue;
        SourceFileName name = SourceFileName::fromDisk(std::move(entry.name));
        if (!types.accepts(name.name))
            continue;
        list.add(std::move(name));
        ++added;
    }
    // File systems here list in hash or creation order, which looks random; users expect
    // their designs by name, as a folder lists them where names are kept sorted.
    list.sortFrom(first);
    return added;
}
