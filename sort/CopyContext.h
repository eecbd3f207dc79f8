// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the copy-and-sort dialog's file operations read of its members, and the buffer they
// reuse. The dialog hands in its own members.
struct CopyContext {
    const std::string& strZiel;     // m_strZiel
    const std::string& strFilePath; // m_strFilePath: the current file as it is on disk
    const std::string& strFileName; // m_strFileName: its upper-cased name, which copies get
    int bQuelleLoeschen = 0;
    int bDateienNichtUmbenennen = 0;
    int bMarkenBehalten = 0;
    int bWeiterblaettern = 0;
    std::vector<std::uint8_t>& puffer; // m_Puffer
};

// What the dialog does after a file operation: nothing, or tell the design view that the
// current file has left the source, or that it is to show the next one.
enum class NextStep { Nothing, SourceRemoved, Advance };

// The user message the dialog sends to the main window for step; 0 for none.
int messageFor(NextStep step);
