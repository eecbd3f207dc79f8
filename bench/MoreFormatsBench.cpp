// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Decoding speed of the later thumbnail formats' readers on real files, through the decode
// step the thumbnailer takes.
#include "design/DesignData.h"

#include "TempDir.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void decodeRealFile(benchmark::State& state, StitchFormat format, const char* name) {
    const auto file = readBytes(std::string(NADELIX_TEST_DATA) + "/" + name);
    DesignData design;
    decodeDesign(design, format, file); // sizes the entry arrays once
    for (auto _ : state) {
        decodeDesign(design, format, file);
        benchmark::DoNotOptimize(design.m_StitchX.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

} // namespace

BENCHMARK_CAPTURE(decodeRealFile, U01, StitchFormat::U01, "Star.u01");
BENCHMARK_CAPTURE(decodeRealFile, TAP, StitchFormat::Tap, "Star.TAP");
BENCHMARK_CAPTURE(decodeRealFile, SHV, StitchFormat::Shv, "Embroidermodder.SHV");
BENCHMARK_CAPTURE(decodeRealFile, 10O, StitchFormat::Ext10o, "Star.10O");
BENCHMARK_CAPTURE(decodeRealFile, DSB, StitchFormat::Dsb, "Embroidermodder.DSB");
BENCHMARK_CAPTURE(decodeRealFile, DSZ, StitchFormat::Dsz, "Embroidermodder.DSZ");
BENCHMARK_CAPTURE(decodeRealFile, KSM, StitchFormat::Ksm, "Star.ksm");
BENCHMARK_CAPTURE(decodeRealFile, STX, StitchFormat::Stx, "Star.STX");
BENCHMARK_CAPTURE(decodeRealFile, PHB, StitchFormat::Phb, "Star.phb");
