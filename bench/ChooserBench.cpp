// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Opening a large directory in the directory chooser: listing, probing every sub-directory
// for one of its own, sorting, inserting and drawing the tree; and, on a slow drive, how long
// the window's thread goes without a turn meanwhile.
#include "SlowMount.h"
#include "StallCounters.h"
#include "TempDir.h"
#include "dirchooser/VerzeichnisAuswahl.h"
#include "platform/Drives.h"

#include <QApplication>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

// Turns the event loop until the chooser has every answer it waits for.
void settle(const CVerzeichnisAuswahl& dialog) {
    do
        QApplication::processEvents();
    while (dialog.IsReading());
}

// range(0): whether every sub-directory has one of its own, so that each gets an expand
// button.
void BM_ExpandDirectoryOf5000Subdirectories(benchmark::State& state) {
    TempDir scratch;
    const std::string parent = scratch.path() + "/gross";
    for (int i = 0; i < 5000; ++i) {
        const fs::path dir = fs::path(parent) / ("Ordner " + std::to_string(i));
        fs::create_directories(state.range(0) ? dir / "innen" : dir);
    }
    platform::setDriveProvider([] {
        return platform::DriveList{{"/", platform::DriveType::Fixed}};
    });

    CVerzeichnisAuswahl dialog;
    dialog.m_Verzeichnis = parent;
    dialog.show();
    settle(dialog);
    QTreeWidgetItem* item = dialog.m_Verzeichnisbaum->currentItem();
    if (!item || dialog.ItemPath(item) != parent || item->childCount() != 5000) {
        state.SkipWithError("the chooser did not open the directory");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        dialog.CollapseItem(item);
        settle(dialog);
        state.ResumeTiming();
        dialog.ExpandItem(item);
        settle(dialog); // every answer in, laid out and drawn
    }
    state.counters["items"] = item->childCount();
    platform::setDriveProvider({});
}

// A network share with a folder of 300 sub-folders, every other one with a folder of its own.
struct SlowShare {
    SlowMount mount;
    std::string folder;

    bool prepare(benchmark::State& state) {
        if (!mount.mounted()) {
            state.SkipWithError(mount.skipReason().c_str());
            return false;
        }
        for (int i = 0; i < 300; ++i) {
            const fs::path dir =
                fs::path(mount.backing()) / "gross" / ("Ordner " + std::to_string(i));
            fs::create_directories(i % 2 ? dir / "innen" : dir);
        }
        folder = mount.path() + "/gross";
        const std::string root = mount.path();
        platform::setDriveProvider([root] {
            return platform::DriveList{{"/", platform::DriveType::Fixed},
                                       {root, platform::DriveType::Remote}};
        });
        mount.setDelay(static_cast<int>(state.range(0)));
        return true;
    }
    ~SlowShare() { platform::setDriveProvider({}); }
};

// range(0): milliseconds per request. Opening on the folder reads the share down to it.
void BM_ChooserOpenOnSlowFolder(benchmark::State& state) {
    SlowShare share;
    if (!share.prepare(state))
        return;
    StallCounters stalls;
    for (auto _ : state) {
        CVerzeichnisAuswahl dialog;
        dialog.m_Verzeichnis = share.folder;
        share.mount.resetRequests();
        stalls.add(
            StallMeter::measure([&] { dialog.show(); }, [&] { return !dialog.IsReading(); }));
        stalls.addRequests(share.mount.requests());
        const QTreeWidgetItem* current = dialog.m_Verzeichnisbaum->currentItem();
        if (!current || dialog.ItemPath(current) != share.folder) {
            state.SkipWithError("the chooser did not open the folder");
            return;
        }
    }
    stalls.report(state);
}

// range(0): milliseconds per request. The user opens the folder on a share already open.
void BM_ChooserExpandSlowFolder(benchmark::State& state) {
    SlowShare share;
    if (!share.prepare(state))
        return;
    CVerzeichnisAuswahl dialog;
    dialog.m_Verzeichnis = share.mount.path();
    dialog.show();
    settle(dialog);
    QTreeWidgetItem* share_item = dialog.m_Verzeichnisbaum->currentItem();
    QTreeWidgetItem* item =
        share_item && share_item->childCount() == 1 ? share_item->child(0) : nullptr;
    if (!item || dialog.ItemPath(item) != share.folder) {
        state.SkipWithError("the chooser did not show the folder");
        return;
    }
    StallCounters stalls;
    for (auto _ : state) {
        share.mount.resetRequests();
        stalls.add(StallMeter::measure([&] { dialog.ExpandItem(item); },
                                       [&] { return !dialog.IsReading(); }));
        stalls.addRequests(share.mount.requests());
        state.PauseTiming();
        if (item->childCount() != 300)
            state.SkipWithError("the folder did not open");
        dialog.CollapseItem(item);
        settle(dialog);
        state.ResumeTiming();
    }
    stalls.report(state);
}

} // namespace

BENCHMARK(BM_ExpandDirectoryOf5000Subdirectories)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5);
// Every request answered after 0, 1 or 10 ms. Each iteration reads the share afresh only once
// the kernel has forgotten it: one is enough.
static void atShareDelays(benchmark::internal::Benchmark* b) {
    b->Arg(0)->Arg(1)->Arg(10)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_ChooserOpenOnSlowFolder)->Apply(atShareDelays);
BENCHMARK(BM_ChooserExpandSlowFolder)->Apply(atShareDelays);
