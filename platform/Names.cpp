// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "Names.h"

#include "Utf8.h"

namespace platform {

namespace {

std::size_t characterLength(std::string_view s, std::size_t i) {
    char32_t cp = 0;
    const std::size_t len = decodeUtf8(s, i, cp);
    return len == 0 ? 1 : len;
}

// The byte offset after the first count characters of s.
std::size_t offsetOfCharacter(std::string_view s, std::size_t count) {
    std::size_t i = 0;
    for (std::size_t n = 0; n < count && i < s.size(); ++n)
        i += characterLength(s, i);
    return i;
}

} // namespace

std::size_t characterCount(std::string_view text) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); i += characterLength(text, i))
        ++n;
    return n;
}

std::string_view firstCharacters(std::string_view text, std::size_t count) {
    return text.substr(0, offsetOfCharacter(text, count));
}

std::string_view lastCharacters(std::string_view text, std::size_t count) {
    const std::size_t total = characterCount(text);
    if (total <= count)
        return text;
    return text.substr(offsetOfCharacter(text, total - count));
}

bool endsWithSeparator(std::string_view path) {
    return !path.empty() && path.back() == kSeparator;
}

std::string withTrailingSeparator(std::string_view path) {
    std::string out(path);
    if (!endsWithSeparator(path))
        out += kSeparator;
    return out;
}

std::string joinPath(std::string_view directory, std::string_view name) {
    std::string out = withTrailingSeparator(directory);
    out += name;
    return out;
}

std::string_view directoryPart(std::string_view path) {
    const auto at = path.rfind(kSeparator);
    return at == std::string_view::npos ? std::string_view() : path.substr(0, at + 1);
}

std::string_view namePart(std::string_view path) {
    return path.substr(directoryPart(path).size());
}

} // namespace platform
