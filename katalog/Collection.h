// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <functional>
#include <string>
#include <vector>

namespace katalog {

// A design file of a folder, by its name: nothing of it has been read yet.
struct CatalogFile {
    std::string name; // exactly as on disk
    std::string path;
    // A FIFO, socket or device named like a design: reading it could wait for ever.
    bool special = false;
};

// The designs of one folder, in the order the sorter lists them.
struct Section {
    std::string heading; // the folder's name, or its path below a given folder
    std::string folder;
    std::vector<CatalogFile> files;
    bool unreadable = false; // the folder could not be listed
};

// The sections of the catalogue: each folder given with its design files, and with recursive
// each sub-folder after them, depth first, in the same order by name. Folders without designs
// make no section, unless they could not be listed: that is said where they would stand.
// Symbolic links to folders are not followed, so a link back up cannot walk for ever. One
// listing per folder and no request per design: its name says whether it is one. With
// recursive, a name that is no design's and that the listing does not call a folder (a share's
// listing may carry names only) is asked about.
std::vector<Section> collectSections(const std::vector<std::string>& folders, bool recursive);

// The name a folder argument stands for: its last part, also for ".", ".." or a trailing
// separator (asking costs no request); the argument itself for the root.
std::string folderName(const std::string& folder);

// How many design files the sections hold.
std::size_t designCount(const std::vector<Section>& sections);

} // namespace katalog
