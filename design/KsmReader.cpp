// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Pfaff KSM files: a 512-byte header, then records of the y and x magnitudes and a control
// byte. Every record moves the needle by its displacement, whatever it commands.
#include "MagnitudeRecords.h"

namespace {
constexpr int kStitches = 0x200;

RecordAction ksmAction(std::uint8_t control) {
    const int command = control & 0x1F;
    if (command == 0)
        return RecordAction::Stitch;
    // Needles 1 to 8 by their own codes; the higher ones by 0x1C to 0x1E, 0x1C after 0x1B.
    if ((command >= 0x0B && command <= 0x12) || (command >= 0x1C && command <= 0x1E))
        return RecordAction::ThreadChange;
    // Stop, trims, sewing on after a trim, and what precedes a higher needle or the end.
    if (command == 0x05 || command == 0x07 || command == 0x13 ||
        (command >= 0x17 && command <= 0x19) || command == 0x1B)
        return RecordAction::Other;
    return RecordAction::End; // 0x08, or a code no writer uses
}
} // namespace

void readKsm(ByteSpan bytes, DesignSink& out) {
    readMagnitudeRecords<RecordLayout{2, 0, 1, 0x40, 0x20, true, false}, ksmAction>(bytes,
                                                                                    kStitches, out);
}
