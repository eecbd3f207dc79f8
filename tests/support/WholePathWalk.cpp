// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "WholePathWalk.h"

#include "platform/DirectoryReader.h"
#include "platform/Names.h"

namespace {

void walk(const std::string& directory, int limit, int& n, std::vector<std::string>& out) {
    if (n > limit)
        return;
    std::vector<std::string> subDirectories;
    {
        platform::DirectoryReader reader;
        if (!reader.open(directory))
            return;
        platform::DirectoryEntry entry;
        while (reader.next(entry))
            if (entry.isDirectory)
                subDirectories.push_back(entry.name);
    }
    for (const std::string& name : subDirectories) {
        const std::string path = platform::joinPath(directory, name);
        out.push_back(path);
        if (++n > limit)
            break;
        walk(path, limit, n, out);
        if (n > limit)
            break;
    }
}

} // namespace

std::vector<std::string> categoriesByWholePaths(const std::string& target, int limit) {
    std::vector<std::string> out;
    int n = 1; // the target's own entry comes first
    walk(target, limit, n, out);
    return out;
}
