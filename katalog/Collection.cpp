// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "Collection.h"

#include "design/SourceFileList.h"
#include "platform/DirectoryReader.h"
#include "platform/Names.h"
#include "thumbnailer/DesignKind.h"

#include <filesystem>
#include <set>
#include <utility>

namespace katalog {

namespace {

std::string joined(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + '/' + name;
}

// A directory itself, not a link to one.
bool isFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() ==
           std::filesystem::file_type::directory;
}

// The names in ascending order of their upper-cased forms, byte by byte, as the sorter's
// source listing has them.
std::vector<std::string> inSorterOrder(std::vector<std::string> names) {
    SourceFileList list(0, 64);
    for (auto& name : names)
        list.add(SourceFileName::fromDisk(std::move(name)));
    list.sortFrom(0);
    std::vector<std::string> sorted;
    sorted.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        sorted.push_back(std::move(list[i].diskName));
    return sorted;
}

void collectFolder(const std::string& folder, const std::string& heading, bool recursive,
                   std::vector<Section>& sections) {
    Section section{heading, folder, {}, false};
    platform::DirectoryReader reader;
    if (!reader.open(folder, platform::EntryTypes::FromListing)) {
        section.unreadable = true;
        sections.push_back(std::move(section));
        return;
    }
    std::vector<std::string> designs;
    std::set<std::string> specials;
    std::vector<std::string> subFolders;
    platform::DirectoryEntry entry;
    while (reader.next(entry)) {
        if (entry.isDirectory) {
            if (recursive && !entry.isSymlink)
                subFolders.push_back(std::move(entry.name));
        } else if (thumbnailer::kindFromName(entry.name)) {
            if (entry.isSpecial)
                specials.insert(entry.name);
            designs.push_back(std::move(entry.name));
        } else if (recursive && isFolder(joined(folder, entry.name))) {
            // A share's listing may carry names only; only names that are no design's are
            // asked about, so the designs still cost nothing beyond the listing.
            subFolders.push_back(std::move(entry.name));
        }
    }
    reader.close();

    for (auto& name : inSorterOrder(std::move(designs))) {
        const bool special = specials.contains(name);
        section.files.push_back({name, joined(folder, name), special});
    }
    if (!section.files.empty())
        sections.push_back(std::move(section));
    for (const auto& name : inSorterOrder(std::move(subFolders)))
        collectFolder(joined(folder, name), heading.empty() ? name : heading + '/' + name, true,
                      sections);
}

} // namespace

std::vector<Section> collectSections(const std::vector<std::string>& folders, bool recursive) {
    std::vector<Section> sections;
    for (std::string folder : folders) {
        while (folder.size() > 1 && folder.back() == '/')
            folder.pop_back();
        collectFolder(folder, folderName(folder), recursive, sections);
    }
    return sections;
}

std::string folderName(const std::string& folder) {
    const auto path = std::filesystem::absolute(folder).lexically_normal();
    std::string name(platform::namePart(path.string()));
    if (name.empty()) // "a/b/" keeps its separator
        name = path.parent_path().filename().string();
    return name.empty() ? folder : name;
}

std::size_t designCount(const std::vector<Section>& sections) {
    std::size_t n = 0;
    for (const auto& s : sections)
        n += s.files.size();
    return n;
}

} // namespace katalog
