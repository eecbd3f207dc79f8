// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The source scan over a large directory, with the directory already in the cache.
#include "TempDir.h"
#include "sort/DesignBrowser.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_ScanSource10000Files(benchmark::State& state) {
    static const char* const kTypes[] = {".pes", ".PEC", ".dst", ".txt", ".Sew"};
    TempDir dir;
    for (int i = 0; i < 10000; ++i)
        dir.write("Muster " + std::to_string(i) + kTypes[i % 5], "");
    DesignBrowser browser;
    browser.ScanSource(dir.path()); // warms the cache
    int found = 0;
    for (auto _ : state)
        found = browser.ScanSource(dir.path());
    state.counters["accepted"] = found;
}
BENCHMARK(BM_ScanSource10000Files)->Unit(benchmark::kMillisecond);

} // namespace
