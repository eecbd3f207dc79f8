// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#include "SameBytes.h"

#include "File.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace platform {

namespace {
// Large enough that a design is mostly compared in one request, small enough to stop early.
constexpr std::size_t kPiece = 64 * 1024;
} // namespace

bool holdsSameBytes(int dir, const std::string& name, const std::uint8_t* bytes,
                    std::size_t length) {
    try {
        File file;
        file.openForReadingAt(dir, name, name);
        if (file.statusWhenOpened().size != length)
            return false;
        std::vector<std::uint8_t> piece(std::min(kPiece, length) + 1);
        std::size_t compared = 0;
        while (compared < length) {
            const std::size_t wanted = std::min(kPiece, length - compared);
            if (file.read(piece.data(), wanted) != wanted ||
                std::memcmp(piece.data(), bytes + compared, wanted) != 0)
                return false;
            compared += wanted;
        }
        // Nothing more than the bytes: a file that grew meanwhile is another design.
        return file.read(piece.data(), 1) == 0;
    } catch (const FileError&) {
        return false;
    }
}

} // namespace platform
