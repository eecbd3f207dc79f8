// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// ZSK DSZ files: a 512-byte header as in DST, then records of the y and x magnitudes and a
// control byte.
#include "MagnitudeRecords.h"

namespace {
constexpr int kStitches = 512;

RecordAction dszAction(std::uint8_t control) {
    if ((control & 0x1F) == 0)
        return RecordAction::Stitch;
    if ((control & 0x1F) == 1)
        return RecordAction::Jump;
    if (control == 0x82 || control == 0x9B) // stop, trim
        return RecordAction::Other;
    if (control >= 0x83 && control <= 0x9A) // needle changes
        return RecordAction::ThreadChange;
    return RecordAction::End;
}
} // namespace

void readDsz(ByteSpan bytes, DesignSink& out) {
    readMagnitudeRecords<RecordLayout{2, 0, 1, 0x40, 0x20, false, true}, dszAction>(bytes,
                                                                                    kStitches, out);
}
