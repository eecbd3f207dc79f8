// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "DirectoryProbe.h"

#include "platform/DirectoryReader.h"
#include "platform/FileSystem.h"
#include "platform/Names.h"

namespace dirchooser {

bool hasSubdirectory(const std::string& path) {
    return hasSubdirectory(path, platform::fileSystem());
}

bool hasSubdirectory(const std::string& path, platform::FileSystem& fs) {
    platform::DirectoryReader reader(fs);
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
    return listSubdirectories(path, platform::fileSystem());
}

std::optional<std::vector<std::string>> listSubdirectories(const std::string& path,
                                                           platform::FileSystem& fs,
                                                           const std::function<bool()>& keepGoing) {
    platform::DirectoryReader reader(fs);
    if (!reader.open(platform::withTrailingSeparator(path)))
        return std::nullopt;
    std::vector<std::string> names;
    platform::DirectoryEntry entry;
    while (reader.next(entry)) {
        if (entry.isDirectory)
            names.push_back(std::move(entry.name));
        if (keepGoing && !keepGoing())
            break;
    }
    return names;
}

} // namespace dirchooser
