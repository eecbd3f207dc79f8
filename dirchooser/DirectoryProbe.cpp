// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "DirectoryProbe.h"

#include "platform/DirectoryReader.h"
#include "platform/Names.h"

namespace dirchooser {

bool hasSubdirectory(const std::string& path) {
    platform::DirectoryReader reader;
    if (!reader.open(platform::withTrailingSeparator(path)))
        return false;
    platform::DirectoryEntry entry;
    while (reader.next(entry)) {
        if (entry.isDirectory)
            return true;
    }
    return false;
}

std::optional<std::vector<std::string>> listSubdirectories(const std::string& path) {
    platform::DirectoryReader reader;
    if (!reader.open(platform::withTrailingSeparator(path)))
        return std::nullopt;
    std::vector<std::string> names;
    platform::DirectoryEntry entry;
    while (reader.next(entry)) {
        if (entry.isDirectory)
            names.push_back(std::move(entry.name));
    }
    return names;
}

} // namespace dirchooser
