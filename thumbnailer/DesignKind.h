// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "design/DesignData.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace thumbnailer {

// The five formats that have a stitch picture.
using DesignKind = StitchFormat;

// The kind a file's name gives it by its extension, in either letter case, as the desktop's
// file types do (*.pes, *.PES); empty for any other name.
std::optional<DesignKind> kindFromName(const std::string& name);

// The kind a file's first bytes show, for the formats that carry a signature (PES, PEC, DST);
// a file the desktop typed by its content may have any name.
std::optional<DesignKind> kindFromSignature(const std::uint8_t* data, std::size_t size);

// Whether the bytes hold a whole design of that kind: its signature where it has one, and
// the end of its stitch data inside the file. The readers draw whatever a cut-off file still
// holds; a thumbnail of half a design would look like a good one, so it is refused here.
bool isComplete(DesignKind kind, const std::uint8_t* data, std::size_t size);

} // namespace thumbnailer
