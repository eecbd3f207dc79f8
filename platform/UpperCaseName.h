// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

// Apart from the other name functions: the letters' upper-case forms come from Qt's tables, and
// the programs that draw designs without Qt do not need them.

#include <string>
#include <string_view>

namespace platform {

// Upper-cases every letter of a UTF-8 name that has an upper-case form; bytes that are not
// valid UTF-8 are kept as they are.
std::string upperCaseName(std::string_view name);

} // namespace platform
