// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Memory while browsing 1,000 designs one after the other: after the buffers have grown to
// the largest file, stepping on must not take any more.
#include "ScriptedQuestions.h"
#include "TempDir.h"
#include "platform/UserMessages.h"
#include "sort/KopierenSortieren.h"
#include "view/DesignAnsicht.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

// Resident memory now and at its peak, in KiB, from the kernel's accounting of this process.
long residentKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size()));
    return -1;
}

void BM_Browse1000Designs(benchmark::State& state) {
    // The real test designs, copied round-robin into one source folder of 1,000 files.
    TempDir dir;
    std::vector<std::filesystem::path> designs;
    for (const auto& item : std::filesystem::directory_iterator(NADELIX_TEST_DATA)) {
        const auto ext = item.path().extension().string();
        if (ext.size() == 4 && ext != ".HUS" && ext != ".hus" && ext != ".tsv" && ext != ".md")
            designs.push_back(item.path());
    }
    for (int i = 0; i < 1000; ++i) {
        const auto& from = designs[static_cast<std::size_t>(i) % designs.size()];
        const std::string name = "D" + std::to_string(1000 + i) + from.extension().string();
        std::filesystem::copy_file(from, dir.file(name));
    }

    platform::ScriptedQuestions questions;
    CKopierenSortieren dialog;
    CDesignAnsicht view;
    view.resize(1280, 960);
    view.show();
    QApplication::processEvents();
    view.m_pSortierDialog = &dialog;
    dialog.m_strQuelle = dir.path();

    long afterFirstRound = 0;
    long afterAll = 0;
    for (auto _ : state) {
        platform::sendUserMessage(&view, platform::WM_QUELLE_EINLESEN);
        // One pass over every design lets the buffers reach the largest file.
        for (int i = 1; i < 1000; ++i)
            platform::sendUserMessage(&view, platform::WM_NAECHSTE_DATEI);
        afterFirstRound = residentKiB("VmRSS:");
        platform::sendUserMessage(&view, platform::WM_QUELLE_EINLESEN);
        for (int i = 1; i < 1000; ++i)
            platform::sendUserMessage(&view, platform::WM_NAECHSTE_DATEI);
        afterAll = residentKiB("VmRSS:");
    }
    if (view.m_nAktuell != 999 || !questions.shown.empty())
        state.SkipWithError("browsing did not reach the last design");
    state.counters["rss_after_first_1000_KiB"] = static_cast<double>(afterFirstRound);
    state.counters["rss_after_second_1000_KiB"] = static_cast<double>(afterAll);
    state.counters["peak_rss_KiB"] = static_cast<double>(residentKiB("VmHWM:"));
    view.m_pSortierDialog = nullptr;
}
BENCHMARK(BM_Browse1000Designs)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
