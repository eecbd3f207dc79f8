// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "SortCommands.h"

#include "DesignCopy.h"

#include "platform/BesideWindow.h"
#include "platform/ExistingEntries.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/ModalQuestions.h"
#include "platform/Names.h"

#include <string_view>
#include <vector>

namespace {
constexpr char kWirklichLoeschen[] = "Datei wirklich löschen ?";
constexpr char kNichtAngelegt[] = "Verzeichnis kann nicht angelegt werden.";

// Removes a file; false after reporting why it could not be removed.
bool removeFile(const std::string& path) {
    try {
        platform::File::remove(path);
    } catch (const platform::FileError& error) {
        platform::modalQuestions().messageBox(platform::fileErrorText(error));
        return false;
    }
    return true;
}
} // namespace

namespace {
NextStep copyMarked(const CopyContext& context, CategoryMarks& marks) {
    const int count = marks.count();
    std::vector<int> marked;
    std::vector<std::string> destinations;
    for (int position = 0; position < count; ++position) {
        if (!marks.isMarked(position))
            continue;
        marked.push_back(position);
        destinations.push_back(platform::withTrailingSeparator(context.strZiel) +
                               marks.relativePath(position));
    }
    DesignCopy copy(context);
    copy.startAll(destinations);
    // Every attempt clears its mark, failed or not.
    if (!context.bMarkenBehalten)
        for (const int position : marked)
            marks.unmark(position);
    // The copies are flushed together; only those on the disk count.
    if (copy.finish() == 0)
        return NextStep::Nothing;
    if (context.bQuelleLoeschen && !copy.wentOntoSource())
        return copy.removeMovedSource() ? NextStep::SourceRemoved : NextStep::Nothing;
    return context.bWeiterblaettern ? NextStep::Advance : NextStep::Nothing;
}
} // namespace

NextStep OnCopy(const CopyContext& context, CategoryMarks& marks) {
    try {
        return copyMarked(context, marks);
    } catch (const platform::ProgramEnding&) {
        return NextStep::Nothing; // nothing more is to happen
    }
}

NextStep OnLoeschen(const std::string& strFilePath, const std::string& strFileName) {
    // A name this short cannot be a design's: no file is current.
    if (platform::characterCount(strFileName) < 4)
        return NextStep::Nothing;
    if (!platform::modalQuestions().askYesNo(kWirklichLoeschen))
        return NextStep::Nothing;
    return removeFile(strFilePath) ? NextStep::SourceRemoved : NextStep::Nothing;
}

std::string newCategoryParent(const std::string& strZiel, const CategoryEntry* clicked) {
    if (!clicked || clicked->isTarget)
        return platform::withTrailingSeparator(strZiel);
    return platform::withTrailingSeparator(platform::joinPath(strZiel, clicked->relativePath));
}

namespace {
// Whether a typed name is one new folder in the place shown: not this folder or its parent,
// no path of folders, nothing the system would cut short.
bool isOneFolderName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string::npos;
}
} // namespace

bool CreateCategory(const std::string& strAktuell, const std::string& strName) {
    const std::string path = strAktuell + strName;
    platform::ExistingEntries existing;
    platform::FileSystem::Status status;
    const bool made = isOneFolderName(strName) && !existing.find(path, status) &&
                      platform::fileSystem().makeDirectory(path.c_str()) == 0;
    if (!made)
        platform::modalQuestions().messageBox(kNichtAngelegt);
    return made;
}

NewCategoryResult OnRclickKategorien(const std::string& strZiel, const CategoryEntry* clicked) {
    const std::string parent = newCategoryParent(strZiel, clicked);
    std::string name;
    if (!platform::modalQuestions().askNewCategory(parent, name))
        return NewCategoryResult::Cancelled;
    return CreateCategory(parent, name) ? NewCategoryResult::Created : NewCategoryResult::Failed;
}
