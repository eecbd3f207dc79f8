// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Toyota 10O files: no header, records of a control byte and the y and x magnitudes from the
// first byte on.
#include "MagnitudeRecords.h"

namespace {
RecordAction action10o(std::uint8_t control) {
    if ((control & 0x1F) == 0)
        return RecordAction::Stitch;
    if ((control & 0x1F) == 0x10)
        return RecordAction::Jump;
    if (control == 0x8A || control == 0x82 || control == 0x81) // start, stop, trim
        return RecordAction::Other;
    if (control == 0x85)
        return RecordAction::ThreadChange;
    return RecordAction::End; // 0x87, or a code no writer uses
}
} // namespace

void read10o(ByteSpan bytes, DesignSink& out) {
    readMagnitudeRecords<RecordLayout{0, 1, 2, 0x20, 0x40, false, true}, action10o>(bytes, 0, out);
}
