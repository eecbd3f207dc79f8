// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "design/DesignData.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace thumbnailer {

// The formats that have a stitch picture.
using DesignKind = StitchFormat;

// The kind a file's name gives it by its extension, in either letter case, as the desktop's
// file types do (*.pes, *.PES); empty for any other name.
std::optional<DesignKind> kindFromName(const std::string& name);

// The extension that names a kind, in capitals ("PES", "10O"): the format as users know it.
std::string_view extensionOf(DesignKind kind);

// The kind a file's first bytes show, for the formats that carry a signature; it decides over
// the name, since files are often saved or renamed under another format's extension.
std::optional<DesignKind> kindFromSignature(const std::uint8_t* data, std::size_t size);

// The reader for a file: its signature's, else its name's.
std::optional<DesignKind> kindOf(const std::string& name, const std::uint8_t* data,
                                 std::size_t size);

} // namespace thumbnailer
