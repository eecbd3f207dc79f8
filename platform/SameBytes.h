// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// Whether the regular file name in the open directory dir (see FileSystem::openAt) holds
// exactly the length bytes at bytes. Reads piece by piece and stops at the first difference,
// so that a share is asked no more than it must be. A file that cannot be read holds nothing
// the same.
bool holdsSameBytes(int dir, const std::string& name, const std::uint8_t* bytes,
                    std::size_t length);

} // namespace platform
