// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "Thumbnail.h"

#include <string>

namespace thumbnailer {

// The picture as PNG bytes; empty if it cannot be encoded.
std::string encodePng(const Picture& picture);

// Writes the bytes to path so that path never names a part of them: it keeps its old file
// until the new one is whole (not flushed: a thumbnail is a cache). An empty file that path named
// before gets the bytes too, for a caller that holds it open. Throws platform::FileError.
void writeWhole(const std::string& path, const std::string& bytes);

} // namespace thumbnailer
