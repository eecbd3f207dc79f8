// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Barudan DSB files: a 512-byte header as in DST, then records of a control byte and the y
// and x magnitudes.
#include "MagnitudeRecords.h"

namespace {
constexpr int kStitches = 512;

RecordAction dsbAction(std::uint8_t control) {
    if ((control & 0x1F) == 0)
        return RecordAction::Stitch;
    if ((control & 0x1F) == 1)
        return RecordAction::Jump;
    if (control == 0xE7 || control == 0xE8) // trim, stop
        return RecordAction::Other;
    if (control >= 0xE9 && control <= 0xF7) // needles 1 to 15
        return RecordAction::ThreadChange;
    return RecordAction::End; // 0xF8, or a code no writer uses
}
} // namespace

void readDsb(ByteSpan bytes, DesignSink& out) {
    readMagnitudeRecords<RecordLayout{0, 1, 2, 0x20, 0x40, false, true}, dsbAction>(bytes,
                                                                                    kStitches, out);
}
