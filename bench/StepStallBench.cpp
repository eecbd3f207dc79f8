// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
//
// "nächste" with the source on a share: how long the window's thread goes without a turn of its
// event loop while the next design's file hangs until it is given up, and, where every request
// is answered after 0 or 10 ms, how long a step takes until its design is shown. Skipped where
// FUSE is not available.
#include "ScriptedQuestions.h"
#include "SlowMount.h"
#include "StallCounters.h"
#include "StallMeter.h"

#include "platform/UserMessages.h"
#include "sort/KopierenSortieren.h"
#include "view/DesignAnsicht.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace {

// The share, made once: three designs of one stitch in quelle/.
SlowMount& share() {
    static SlowMount* mount = [] {
        auto* m = new SlowMount(SlowMount::Options{0, true});
        if (!m->mounted())
            return m;
        std::string bytes(512 + 6, ' ');
        bytes.replace(512, 6, std::string("\x01\x00\x00\x00\x00\xF3", 6));
        for (const char* name : {"a.dst", "b.dst", "c.dst"})
            m->backingDir().write(std::string("quelle/") + name, bytes);
        return m;
    }();
    return *mount;
}

// The design view with the copy-and-sort dialog open on the share's source, its first design
// shown.
struct Browsing {
    platform::ScriptedQuestions questions;
    CKopierenSortieren dialog;
    CDesignAnsicht view;

    explicit Browsing(SlowMount& mount) {
        view.resize(640, 480);
        view.show();
        QApplication::processEvents();
        view.m_pSortierDialog = &dialog;
        dialog.m_strQuelle = mount.path() + "/quelle";
        platform::sendUserMessage(&view, platform::WM_QUELLE_EINLESEN);
    }
    ~Browsing() { view.m_pSortierDialog = nullptr; }

    // Sends message and turns the event loop until the file at index is shown.
    StallMeter::Result step(int message, int index) {
        const std::string shown = view.m_FileList[std::size_t(index)].name;
        return StallMeter::measure([&] { platform::sendUserMessage(&view, message); },
                                   [&] { return view.m_strFileName == shown; },
                                   std::chrono::seconds(20));
    }
};

double msSince(StallMeter::Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(StallMeter::Clock::now() - start).count();
}

} // namespace

// A step into a file that hangs, until it is given up with its error.
static void BM_StepIntoHungFile(benchmark::State& state) {
    SlowMount& mount = share();
    if (!mount.mounted()) {
        state.SkipWithError(mount.skipReason().c_str());
        return;
    }
    StallCounters stalls;
    double givenUpMs = 0;
    for (auto _ : state) {
        Browsing browsing(mount);
        mount.hang("/quelle/" + browsing.view.m_FileList[1].diskName);
        const auto started = StallMeter::Clock::now();
        stalls.add(browsing.step(platform::WM_NAECHSTE_DATEI, 1));
        givenUpMs += msSince(started);
        mount.release();
        if (browsing.questions.shown.size() != 1)
            state.SkipWithError("the hung file was not given up with its error");
    }
    stalls.report(state);
    state.counters["given_up_ms"] = givenUpMs / double(state.iterations());
}
BENCHMARK(BM_StepIntoHungFile)->Iterations(2)->Unit(benchmark::kMillisecond);

// Steps between the first two designs, every request answered after 0 or 10 ms.
static void BM_StepOnShare(benchmark::State& state) {
    SlowMount& mount = share();
    if (!mount.mounted()) {
        state.SkipWithError(mount.skipReason().c_str());
        return;
    }
    Browsing browsing(mount);
    mount.setDelay(int(state.range(0)));
    StallCounters stalls;
    for (auto _ : state) {
        const bool forward = browsing.view.m_nAktuell == 0;
        stalls.add(browsing.step(
            forward ? platform::WM_NAECHSTE_DATEI : platform::WM_VORHERIGE_DATEI, forward ? 1 : 0));
    }
    mount.setDelay(0);
    if (!browsing.questions.shown.empty())
        state.SkipWithError("a step was refused or failed");
    stalls.report(state);
}
BENCHMARK(BM_StepOnShare)->Arg(0)->Arg(10)->Unit(benchmark::kMillisecond);
