// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

// One reader per decoded format. Each decodes the file's bytes (those past the end read as
// 0) into the sink: entry 0 and on, the end entry, the colours it knows, the bounds and the
// extents. Sizing the entry arrays before, the display flags and the repaint after are the
// model's part.

#include "DecodeLoop.h"
#include "DesignSink.h"

void readPes(ByteSpan bytes, DesignSink& out);
void readPec(ByteSpan bytes, DesignSink& out);
void readDst(ByteSpan bytes, DesignSink& out);
void readPcs(ByteSpan bytes, DesignSink& out);
void readSew(ByteSpan bytes, DesignSink& out);

// The formats only the thumbnailer draws. Each moves the needle as the file says, every jump
// and trim a line like a stitch (as DST jumps are drawn), and either fills out.threadColors
// with each colour block's thread or, where the format stores no colours, calls
// takeDstColors.
void readJef(ByteSpan bytes, DesignSink& out);
void readVp3(ByteSpan bytes, DesignSink& out);
void readExp(ByteSpan bytes, DesignSink& out);
void readXxx(ByteSpan bytes, DesignSink& out);
void readHus(ByteSpan bytes, DesignSink& out);
void readVip(ByteSpan bytes, DesignSink& out);

// The colours a DST design's blocks get, for the formats that store none: block k takes PEC
// thread k + 2, so that neighbouring blocks differ. Call it after the colour count is known.
void takeDstColors(DesignSink& out);

// Where PEC stitch data ended: the next free entry and the last position.
struct PecStitchesEnd {
    int k;
    std::int16_t x;
    std::int16_t y;
};
// A PEC block's colour table, the block starting at block: its thread indices go into
// out.colorList from index first on, as far as the list reaches. Returns the next free index.
int readPecColors(ByteSpan bytes, std::int64_t block, int first, DesignSink& out);

// Decodes the PEC stitch data from start into entries from k on, widening out.bounds and
// counting colour changes in out.colors. PES files carry the same data.
PecStitchesEnd decodePecStitches(ByteSpan bytes, std::int64_t start, int k, DesignSink& out);

// The stitches HUS and VIP files share: entry 0 and on, the colour count, the bounds and the
// end entry. The colours are the readers' own.
void readHusStitches(ByteSpan bytes, DesignSink& out);
// Later formats only the thumbnailer draws, as those above.
void readU01(ByteSpan bytes, DesignSink& out);
void readTap(ByteSpan bytes, DesignSink& out);
void readShv(ByteSpan bytes, DesignSink& out);
void read10o(ByteSpan bytes, DesignSink& out);
void readDsb(ByteSpan bytes, DesignSink& out);
void readDsz(ByteSpan bytes, DesignSink& out);
void readKsm(ByteSpan bytes, DesignSink& out);
void readStx(ByteSpan bytes, DesignSink& out);
void readPhb(ByteSpan bytes, DesignSink& out);
// PEC stitch data from start on as PHB carries it, with their bounds and colour count.
void readBrotherStitches(ByteSpan bytes, std::int64_t start, DesignSink& out);
// DST's stitch records from start on, for DST (after its header) and TAP (without one).
void readDstRecords(ByteSpan bytes, int start, DesignSink& out);
