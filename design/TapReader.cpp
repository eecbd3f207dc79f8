// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Happy TAP files: DST's stitch records from the first byte on, without its header.
#include "Readers.h"

void readTap(ByteSpan bytes, DesignSink& out) {
    readDstRecords(bytes, 0, out);
    // A file without moves has no extent rather than the bounds' start values DST keeps.
    if (out.width < 0) {
        out.bounds = Bounds{0, 0, 0, 0};
        out.width = 0;
        out.height = 0;
    }
}
