// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Barudan U01 files: a 256-byte header, then records of a control byte and the y and x
// magnitudes. Every command record may move the needle as well.
#include "MagnitudeRecords.h"

namespace {
constexpr int kStitches = 0x100;

RecordAction u01Action(std::uint8_t control) {
    const int command = control & 0x1F;
    if (command == 0)
        return RecordAction::Stitch;
    if (command == 1)
        return RecordAction::Jump;
    if (command <= 0x08) // speed changes, trims and stops
        return RecordAction::Other;
    if (command <= 0x17) // needles 1 to 15
        return RecordAction::ThreadChange;
    return RecordAction::End;
}
} // namespace

void readU01(ByteSpan bytes, DesignSink& out) {
    readMagnitudeRecords<RecordLayout{0, 1, 2, 0x20, 0x40, true, true}, u01Action>(bytes, kStitches,
                                                                                   out);
}
