// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "UpperCaseName.h"

#include "Utf8.h"

#include <QChar>

namespace platform {

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

} // namespace platform
