// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
//
// The source scan and the copies on a slow share (every request answered the argument's
// milliseconds late): the longest time the window's thread goes without a turn, and the
// requests the file system answered.
#include "SlowMount.h"
#include "StallCounters.h"
#include "StallMeter.h"

#include "ScriptedQuestions.h"
#include "platform/BesideWindow.h"
#include "sort/DesignBrowser.h"
#include "sort/SortCommands.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace {

// 2,000 designs among a few other files, as a collection folder holds them.
void BM_SlowScanSource(benchmark::State& state) {
    const int delay = static_cast<int>(state.range(0));
    SlowMount mount(SlowMount::Options{.delayMs = 0, .listingTypes = state.range(1) != 0});
    if (!mount.mounted()) {
        state.SkipWithError(mount.skipReason().c_str());
        return;
    }
    static const char* const kTypes[] = {".pes", ".PEC", ".dst", ".Sew", ".pes"};
    for (int i = 0; i < 2000; ++i)
        mount.backingDir().write("Muster " + std::to_string(i) + kTypes[i % 5], "");
    for (int i = 0; i < 50; ++i)
        mount.backingDir().write("Notiz " + std::to_string(i) + ".txt", "");
    mount.setDelay(delay);
    DesignBrowser browser;
    StallCounters counters;
    int found = 0;
    for (auto _ : state) {
        mount.resetRequests();
        counters.add(StallMeter::measure([&] { found = browser.ScanSource(mount.path()); }));
        counters.addRequests(mount.requests());
    }
    counters.report(state);
    state.counters["accepted"] = found;
}
BENCHMARK(BM_SlowScanSource)
    ->ArgNames({"ms", "types"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({10, 0})
    ->Args({10, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// A design of 4000 bytes on the share and categories K0, K1 … beside it, each holding others
// designs already, all marked; the context of copying it, moves and questions off.
struct CopyOnShare {
    CopyOnShare(SlowMount& mount, int categories, int others)
        : ziel(mount.path() + "/ziel/"), path(mount.path() + "/quelle/rose.pes") {
        mount.backingDir().write("quelle/rose.pes", std::string(4000, 'x'));
        list.insert({kZielverzeichnis, "", true, false});
        for (int i = 0; i < categories; ++i) {
            const std::string name = "K" + std::to_string(i);
            mount.backingDir().makeDir("ziel/" + name);
            for (int j = 0; j < others; ++j)
                mount.backingDir().write("ziel/" + name + "/M" + std::to_string(j) + ".PES", "m");
            list.insert({name, name, false, true});
        }
    }

    const std::string ziel, path, fileName = "ROSE.PES";
    std::vector<std::uint8_t> puffer;
    CategoryList list;
    const CopyContext context{ziel, path, fileName, 0, 0, 1, 0, puffer};
};

// One design copied into five categories, the source on the share as well; each category
// empty or holding other designs already.
void BM_SlowCopyIntoFiveCategories(benchmark::State& state) {
    const int delay = static_cast<int>(state.range(0));
    const int others = static_cast<int>(state.range(1));
    SlowMount mount(SlowMount::Options{.cacheSeconds = double(state.range(2))});
    if (!mount.mounted()) {
        state.SkipWithError(mount.skipReason().c_str());
        return;
    }
    CopyOnShare copy(mount, 5, others);
    CategoryList& list = copy.list;
    const CopyContext& context = copy.context;
    mount.setDelay(delay);
    StallCounters counters;
    for (auto _ : state) {
        mount.resetRequests();
        counters.add(StallMeter::measure([&] { OnCopy(context, list); }));
        counters.addRequests(mount.requests());
        if (std::getenv("NADELIX_REQUEST_LOG"))
            std::fprintf(stderr, "%s\n", mount.requestLog().c_str());
        state.PauseTiming();
        // Through the mount, so that names the kernel keeps are gone as well.
        mount.setDelay(0);
        for (int i = 0; i < 5; ++i)
            std::filesystem::remove(mount.path() + "/ziel/K" + std::to_string(i) + "/ROSE.PES");
        mount.setDelay(delay);
        state.ResumeTiming();
    }
    counters.report(state);
}
BENCHMARK(BM_SlowCopyIntoFiveCategories)
    ->ArgNames({"ms", "others", "cache_s"})
    ->Args({0, 0, 0})
    ->Args({0, 20, 0})
    ->Args({1, 0, 0})
    ->Args({10, 0, 0})
    ->Args({10, 20, 0})
    ->Args({10, 0, 1})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// One design copied into two categories of which the first stops answering at the copy's name:
// the window's longest stall while the copy waits for it, gives it up and goes on.
void BM_SlowCopyBesideAHungCategory(benchmark::State& state) {
    SlowMount mount(SlowMount::Options{.delayMs = static_cast<int>(state.range(0))});
    if (!mount.mounted()) {
        state.SkipWithError(mount.skipReason().c_str());
        return;
    }
    CopyOnShare copy(mount, 2, 0);
    CategoryList& list = copy.list;
    const CopyContext& context = copy.context;
    platform::ScriptedQuestions questions; // takes the hung category's file error
    StallCounters counters;
    for (auto _ : state) {
        mount.hang("ziel/K0/ROSE.PES");
        counters.add(StallMeter::measure([&] { OnCopy(context, list); }));
        state.PauseTiming();
        mount.release();
        while (platform::besideWindowRunning() > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        for (const char* name : {"K0", "K1"})
            std::filesystem::remove(mount.backing() + "/ziel/" + name + "/ROSE.PES");
        state.ResumeTiming();
    }
    counters.report(state);
    state.counters["errors"] = double(questions.shown.size()) / double(state.iterations());
}
BENCHMARK(BM_SlowCopyBesideAHungCategory)
    ->ArgNames({"ms"})
    ->Arg(0)
    ->Arg(10)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

} // namespace
