// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "Names.h"

#include <QChar>

namespace platform {

namespace {

// Decodes one UTF-8 sequence at s[i]; returns its length, or 0 if the bytes there are not
// a valid, shortest-form sequence of a scalar value.
std::size_t decodeUtf8(std::string_view s, std::size_t i, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    std::size_t len;
    char32_t min;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > s.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The byte length of the character at s[i].
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

std::string upperCaseName(std::string_view name) {
    // Names are mostly ASCII: they change in place, a byte at a time, up to the first byte
    // that may start a longer character.
    std::string out(name);
    std::size_t i = 0;
    for (; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (c >= 0x80)
            break;
        if (c >= 'a' && c <= 'z')
            out[i] = static_cast<char>(c - 'a' + 'A');
    }
    if (i == out.size())
        return out;
    out.resize(i);
    while (i < name.size()) {
        const char c = name[i];
        if (c >= 'a' && c <= 'z') { // the common case, without decoding
            out += static_cast<char>(c - 'a' + 'A');
            ++i;
            continue;
        }
        char32_t cp = 0;
        const std::size_t len = decodeUtf8(name, i, cp);
        if (len <= 1) {
            out += c;
            ++i;
            continue;
        }
        appendUtf8(out, QChar::toUpper(cp));
        i += len;
    }
    return out;
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
