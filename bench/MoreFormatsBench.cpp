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

BENCHMARK_CAPTURE(decodeRealFile, U01, StitchFormat::U01, "Cake_3.u01");
BENCHMARK_CAPTURE(decodeRealFile, TAP, StitchFormat::Tap, "Cake_3.tap");
BENCHMARK_CAPTURE(decodeRealFile, SHV, StitchFormat::Shv, "Cake_3.shv");
BENCHMARK_CAPTURE(decodeRealFile, 10O, StitchFormat::Ext10o, "Cake_3.10o");
BENCHMARK_CAPTURE(decodeRealFile, DSB, StitchFormat::Dsb, "Cake_3.dsb");
BENCHMARK_CAPTURE(decodeRealFile, DSZ, StitchFormat::Dsz, "Cake_3.dsz");
BENCHMARK_CAPTURE(decodeRealFile, KSM, StitchFormat::Ksm, "Cake_3.ksm");
BENCHMARK_CAPTURE(decodeRealFile, STX, StitchFormat::Stx, "Cake_3.stx");
BENCHMARK_CAPTURE(decodeRealFile, EMD, StitchFormat::Emd, "Cake_3.emd");
BENCHMARK_CAPTURE(decodeRealFile, PHB, StitchFormat::Phb, "Cake_3.phb");
BENCHMARK_CAPTURE(decodeRealFile, PHC, StitchFormat::Phc, "Cake_3.phc");
BENCHMARK_CAPTURE(decodeRealFile, JPX, StitchFormat::Jpx, "Cake_3.jpx");
BENCHMARK_CAPTURE(decodeRealFile, MAX, StitchFormat::Max, "Cake_3.max");
