// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <string_view>

namespace platform {

// A name or path as a window shows it: its bytes read as UTF-8, with bytes that are not UTF-8
// shown as replacement characters. The program keeps and uses the bytes themselves.
inline QString shownText(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace platform
