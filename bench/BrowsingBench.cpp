// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// From the message "nächste" to the next design painted, for designs of 50,000 stitches in a
// 1280 x 960 view with the copy-and-sort dialog open.
#include "ScriptedQuestions.h"
#include "TempDir.h"
#include "platform/UserMessages.h"
#include "sort/KopierenSortieren.h"
#include "view/DesignAnsicht.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

// A DST design of rows of stitches 0.9 mm apart, with a colour change every 10,000 stitches.
std::vector<std::uint8_t> dstDesign(int stitches) {
    std::vector<std::uint8_t> bytes(512, 0x20);
    const int perRow = 250;
    bool right = true;
    for (int i = 1; i <= stitches; ++i) {
        if (i % perRow == 0) {
            bytes.insert(bytes.end(), {0x20, 0x00, 0x03}); // one row down
            right = !right;
        } else {
            bytes.insert(bytes.end(), {static_cast<std::uint8_t>(right ? 0x04 : 0x08), 0x00, 0x03});
        }
        if (i % 10000 == 0)
            bytes.insert(bytes.end(), {0x00, 0x00, 0xC3});
    }
    bytes.insert(bytes.end(), {0x00, 0x00, 0xF3});
    return bytes;
}

void BM_NaechsteToPaintedDesign50000Stitches(benchmark::State& state) {
    TempDir dir;
    dir.write("a.dst", dstDesign(50000));
    dir.write("b.dst", dstDesign(50000));
    platform::ScriptedQuestions questions;
    CKopierenSortieren dialog;
    CDesignAnsicht view;
    view.resize(1280, 960);
    view.show();
    QApplication::processEvents();
    view.m_pSortierDialog = &dialog;
    dialog.m_strQuelle = dir.path();
    platform::sendUserMessage(&view, platform::WM_QUELLE_EINLESEN);

    // Two files: every step goes to the other one, so each message loads and paints a design.
    for (auto _ : state) {
        const int message =
            view.m_nAktuell == 0 ? platform::WM_NAECHSTE_DATEI : platform::WM_VORHERIGE_DATEI;
        platform::sendUserMessage(&view, message);
    }
    if (!questions.shown.empty() || view.m_FileList.size() != 2 || view.m_nColors != 6)
        state.SkipWithError("browsing did not step between the two designs");
    view.m_pSortierDialog = nullptr;
}
BENCHMARK(BM_NaechsteToPaintedDesign50000Stitches)->Unit(benchmark::kMillisecond);

} // namespace
