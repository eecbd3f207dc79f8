// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <string_view>

namespace platform {

inline constexpr char kSeparator = '/';

// Characters of a name: every valid UTF-8 sequence is one, and so is every byte that is not
// part of one. Cutting by characters never splits a letter in two.
std::size_t characterCount(std::string_view text);
// The first count characters of text (all of it when it is shorter).
std::string_view firstCharacters(std::string_view text, std::size_t count);
// The last count characters of text (all of it when it is shorter).
std::string_view lastCharacters(std::string_view text, std::size_t count);

bool endsWithSeparator(std::string_view path);
// The path with the separator appended unless it already ends in one.
std::string withTrailingSeparator(std::string_view path);
// The directory part of path, up to and with its last separator; empty for a bare name.
std::string_view directoryPart(std::string_view path);
// The last name of path, after its last separator.
std::string_view namePart(std::string_view path);
// directory + name, with exactly the separator the directory lacks.
std::string joinPath(std::string_view directory, std::string_view name);

} // namespace platform
