// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// VIP files: not decoded yet; an empty design, so that they get no picture.
#include "Readers.h"

void readVip(ByteSpan, DesignSink& out) {
    out.put(0, 0, 0, CMD_FIRST);
    out.end(1);
}
