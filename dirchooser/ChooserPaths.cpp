// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "ChooserPaths.h"

#include "platform/Names.h"
#include "platform/ShownText.h"

#include <QCollator>
#include <QLocale>
#include <QString>
#include <algorithm>
#include <numeric>

namespace dirchooser {

bool beginsWithDriveRoot(std::string_view path, const platform::DriveList& drives) {
    return !platform::driveRootOf(path, drives).empty();
}

bool isNoLongerThanDriveRoot(std::string_view path, const platform::DriveList& drives) {
    const std::string root = platform::driveRootOf(path, drives);
    return root.empty() || path.size() <= root.size();
}

std::string startingRoot(std::string_view directory, std::string_view currentDirectory,
                         const platform::DriveList& drives) {
    if (beginsWithDriveRoot(directory, drives))
        return platform::driveRootOf(directory, drives);
    return platform::driveRootOf(currentDirectory, drives);
}

std::vector<std::string> walkPrefixes(std::string_view path, std::string_view root) {
    std::vector<std::string> prefixes;
    if (path.size() <= root.size())
        return prefixes;
    // The walk starts at the separator that ends the root: the root's own last character
    // for "/", the one after it for a mount path such as "/media/usb".
    std::size_t from = platform::endsWithSeparator(root) ? root.size() : root.size() + 1;
    for (;;) {
        const std::size_t pos =
            from < path.size() ? path.find(platform::kSeparator, from) : std::string_view::npos;
        if (pos == std::string_view::npos) {
            prefixes.emplace_back(path);
            return prefixes;
        }
        prefixes.emplace_back(path.substr(0, pos));
        from = pos + 1;
    }
}

void sortFolderNames(std::vector<std::string>& names) {
    QCollator collator{QLocale(QLocale::German, QLocale::Germany)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(names.size());
    for (const std::string& name : names)
        keys.push_back(collator.sortKey(platform::shownText(name)));

    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int c = keys[a].compare(keys[b]);
        return c != 0 ? c < 0 : names[a] < names[b];
    });
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(names[i]));
    names = std::move(sorted);
}

} // namespace dirchooser
