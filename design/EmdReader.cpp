// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Elna EMD files: a 48-byte header, then EXP-like moves whose escapes mostly stand alone:
// only a jump (0x80 0x80) carries a move.
#include "EscapedMoves.h"

namespace {
constexpr int kStitches = 0x30;

Escape emdEscape(std::uint8_t control) {
    switch (control) {
    case 0x80:
        return {EscapeAction::Jump, true};
    case 0x2A:
        return {EscapeAction::ColorChange, false};
    case 0x7D: // met at the start
    case 0xAD: // trims
    case 0x90:
        return {EscapeAction::Ignore, false};
    default: // 0xFD, or a code no writer uses
        return {EscapeAction::End, false};
    }
}
} // namespace

void readEmd(ByteSpan bytes, DesignSink& out) {
    readEscapedMoves(bytes, kStitches, emdEscape, out);
    takeDstColors(out);
}
