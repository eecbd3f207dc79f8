// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <optional>
#include <string>
#include <vector>

namespace katalog {

enum class PaperSize { A4, Letter };

// The command line: options in English as command lines have them, FOLDER... and -o FILE.
struct Arguments {
    std::vector<std::string> folders;
    std::string output;
    PaperSize paper = PaperSize::A4;
    bool landscape = false;
    int columns = 3;
    int rows = 4;
    std::optional<std::string> title; // the folders' names when not given
    bool recursive = false;
    bool quiet = false;
    bool help = false;
    bool version = false;
};

// The largest grid: more designs on a page leave no room to see them.
inline constexpr int kMaxColumns = 10;
inline constexpr int kMaxRows = 12;

// The arguments, or empty with error saying in German what is wrong.
std::optional<Arguments> parseArguments(int argc, const char* const* argv, std::string& error);

// The text of --help, in German as the program's interface is.
std::string helpText();

} // namespace katalog
