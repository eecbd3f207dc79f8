// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Opening a large directory in the directory chooser: listing, probing every sub-directory
// for one of its own, sorting, inserting and drawing the tree.
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
    QApplication::processEvents();
    QTreeWidgetItem* item = dialog.m_Verzeichnisbaum->currentItem();
    if (!item || dialog.ItemPath(item) != parent || item->childCount() != 5000) {
        state.SkipWithError("the chooser did not open the directory");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        dialog.CollapseItem(item);
        QApplication::processEvents();
        state.ResumeTiming();
        dialog.ExpandItem(item);
        QApplication::processEvents(); // lay out and draw what was added
    }
    state.counters["items"] = item->childCount();
    platform::setDriveProvider({});
}

} // namespace

BENCHMARK(BM_ExpandDirectoryOf5000Subdirectories)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5);
