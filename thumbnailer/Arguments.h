// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <optional>
#include <string>

namespace thumbnailer {

// The command line of an external thumbnailer: -s SIZE INPUT OUTPUT.
struct Arguments {
    int size = 0;
    std::string input;  // a local path, also when a file:// URI was given
    std::string output; // written as given
};

// The arguments, or empty with error saying what is wrong.
std::optional<Arguments> parseArguments(int argc, const char* const* argv, std::string& error);

// The local path of a file:// URI (host empty or localhost; %XX decoded byte for byte, so a
// name that is not UTF-8 keeps its bytes), an argument without a scheme as it is, and empty
// for any other URI.
std::optional<std::string> localPath(const std::string& argument);

} // namespace thumbnailer
