// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
//
// Opening "Kopieren und Sortieren" on a slow share (2,000 designs, 500 categories; every request
// of the file system answered after 0, 1 or 10 ms): how long the window's thread goes without
// a turn of its event loop. The whole opening (the source scan, the first design, the dialog)
// and the dialog alone, whose category walk runs beside the window. Skipped where FUSE is not
// available.
#include "SlowMount.h"
#include "StallCounters.h"
#include "StallMeter.h"
#include "WholePathWalk.h"

#include "platform/DirectoryReader.h"
#include "platform/FileSystem.h"
#include "platform/Names.h"
#include "sort/CategoryFinder.h"
#include "sort/KategorieListe.h"
#include "sort/KopierenSortieren.h"
#include "view/DesignAnsicht.h"

#include <QCoreApplication>
#include <QMainWindow>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>

namespace {

// A DST design of one stitch.
std::vector<std::uint8_t> design() {
    std::vector<std::uint8_t> bytes(512 + 6, 0x20);
    const std::uint8_t end[] = {0x01, 0x00, 0x00, 0x00, 0x00, 0xF3};
    std::copy(std::begin(end), std::end(end), bytes.end() - 6);
    return bytes;
}

// The share, made once: the designs in quelle/, and ziel/ with 50 categories of 9 each.
SlowMount& share() {
    static SlowMount* mount = [] {
        auto* m = new SlowMount(SlowMount::Options{0, true});
        if (!m->mounted())
            return m;
        const std::vector<std::uint8_t> bytes = design();
        for (int i = 0; i < 2000; ++i)
            m->backingDir().write("quelle/Muster" + std::to_string(i) + ".dst", bytes);
        for (int i = 0; i < 50; ++i)
            for (int k = 0; k < 9; ++k)
                m->backingDir().makeDir("ziel/Kategorie " + std::to_string(i) + "/Unter " +
                                        std::to_string(k));
        return m;
    }();
    return *mount;
}

void runDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Measures open until the dialog lists entries categories and, where there is a view, the view
// shows the rescanned source.
template <typename Open>
void measureOpening(benchmark::State& state, const Open& open, int entries = 501,
                    const CDesignAnsicht* view = nullptr) {
    SlowMount& mount = share();
    if (!mount.mounted()) {
        state.SkipWithError(mount.skipReason().c_str());
        return;
    }
    mount.setDelay(int(state.range(0)));
    StallCounters stalls;
    double walkMs = 0;
    for (auto _ : state) {
        mount.resetRequests();
        CKopierenSortieren* dialog = nullptr;
        const auto started = StallMeter::Clock::now();
        const StallMeter::Result result =
            StallMeter::measure([&] { dialog = open(mount); },
                                [&] {
                                    return dialog && !dialog->IsSearchingCategories() &&
                                           !(view && view->IsOpeningSource());
                                });
        walkMs +=
            std::chrono::duration<double, std::milli>(StallMeter::Clock::now() - started).count();
        stalls.add(result);
        stalls.addRequests(mount.requests());
        if (!dialog || dialog->m_KategorieListe->GetItemCount() != entries)
            state.SkipWithError("the list did not show the categories");
        if (view && (view->m_FileList.size() != 2000 || view->m_strFileName.empty()))
            state.SkipWithError("the view did not show the source");
        if (dialog)
            dialog->reject();
        runDeferredDeletes();
    }
    stalls.report(state);
    state.counters["listed_ms"] = walkMs / double(state.iterations());
    mount.setDelay(0);
}

// The menu command as the user gives it in a main window, with the source on the share and,
// where withTarget, the target too.
void openThroughView(benchmark::State& state, bool withTarget) {
    QMainWindow frame;
    auto* view = new CDesignAnsicht(&frame);
    frame.setCentralWidget(view);
    frame.show();
    measureOpening(
        state,
        [&](SlowMount& mount) {
            view->m_strQuelle = mount.path() + "/quelle";
            view->m_strZiel = withTarget ? mount.path() + "/ziel/" : std::string();
            view->m_pSortierDialog = nullptr; // the last one is closed; this frame does not relay
            view->OnNachKategorien();
            return view->m_pSortierDialog;
        },
        withTarget ? 501 : 0, view);
}

// Every request of the share answered after 0, 1 or 10 ms; one iteration each, as the share
// is read afresh only once the kernel has forgotten it.
void atShareDelays(benchmark::internal::Benchmark* b) {
    b->Arg(0)->Arg(1)->Arg(10)->Iterations(1)->Unit(benchmark::kMillisecond);
}

} // namespace

// The whole opening, with a source and a target remembered.
static void BM_OpenSortDialogWhole(benchmark::State& state) {
    openThroughView(state, true);
}
BENCHMARK(BM_OpenSortDialogWhole)->Apply(atShareDelays);

// The same without a target: the source scan and the first design, beside the window.
static void BM_OpenSortDialogSourceOnly(benchmark::State& state) {
    openThroughView(state, false);
}
BENCHMARK(BM_OpenSortDialogSourceOnly)->Apply(atShareDelays);

// The dialog alone: what its category walk leaves on the window's thread.
static void BM_OpenSortDialogCategories(benchmark::State& state) {
    measureOpening(state, [](SlowMount& mount) {
        auto* dialog = new CKopierenSortieren;
        dialog->m_strZiel = mount.path() + "/ziel/";
        dialog->Create(nullptr);
        dialog->show();
        return dialog;
    });
}
BENCHMARK(BM_OpenSortDialogCategories)->Apply(atShareDelays);

// The walk itself on the share, at once on this thread: by names below open directories, and
// by whole paths as it went before (requests and time per walk).
static void BM_CategoryWalkOnShare(benchmark::State& state) {
    SlowMount& mount = share();
    if (!mount.mounted()) {
        state.SkipWithError(mount.skipReason().c_str());
        return;
    }
    mount.setDelay(int(state.range(0)));
    const bool byNames = state.range(1) != 0;
    const std::string ziel = mount.path() + "/ziel/";
    long requests = 0;
    std::size_t found = 0;
    for (auto _ : state) {
        mount.resetRequests();
        std::vector<std::string> paths;
        int n = 1;
        if (byNames)
            CategoryFinder(platform::fileSystem(), n, [&](const std::string& p) {
                paths.push_back(p);
            }).scan(ziel);
        else
            paths = categoriesByWholePaths(ziel, kMaxKategorien);
        requests += mount.requests();
        found = paths.size();
    }
    if (found != 500)
        state.SkipWithError("the walk did not find 500 categories");
    state.counters["requests"] =
        benchmark::Counter(double(requests), benchmark::Counter::kAvgIterations);
    mount.setDelay(0);
}
BENCHMARK(BM_CategoryWalkOnShare)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"ms", "byNames"})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
