// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
//
// nadelix-katalog (the whole process) on a slow share: the requests the file system answers for
// two folders of 100 designs, per design and per folder and by kind; and what a design that
// stops answering does to the catalogue and to Ctrl+C.
#include "SlowMount.h"
#include "TempDir.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPerFolder = 100;

struct Sample {
    std::string extension; // ".pes"
    std::string bytes;
};

// Every design file of the test data, read once.
const std::vector<Sample>& samples() {
    static const std::vector<Sample> all = [] {
        std::vector<Sample> found;
        for (const auto& item : std::filesystem::directory_iterator(NADELIX_TEST_DATA)) {
            const auto extension = item.path().extension().string();
            if (extension == ".md" || extension == ".tsv")
                continue;
            std::ifstream in(item.path(), std::ios::binary);
            found.push_back({extension, std::string(std::istreambuf_iterator<char>(in), {})});
        }
        return found;
    }();
    return all;
}

// Folders A and B on the share, kPerFolder designs each.
void fillShare(const SlowMount& mount) {
    const auto& all = samples();
    int n = 0;
    for (const char* folder : {"A", "B"})
        for (int i = 0; i < kPerFolder; ++i, ++n) {
            const Sample& sample = all[n % all.size()];
            char name[32];
            std::snprintf(name, sizeof name, "/Muster %03d", i);
            mount.backingDir().write(folder + (name + sample.extension), sample.bytes);
        }
}

struct Outcome {
    pid_t pid = -1;
    bool finished = false;
    int exitCode = -1;
    double seconds = 0;
};

// Runs the catalogue; sends SIGINT after interruptAfter (if given) and SIGKILL after limit. A
// process waiting on a hung request ends only once that is answered: then finished is false and
// the caller collects it with collect() after releasing the hang.
Outcome runKatalog(const std::vector<std::string>& arguments, Clock::duration interruptAfter,
                   Clock::duration limit) {
    std::vector<char*> argv{const_cast<char*>(NADELIX_KATALOG_PROGRAM)};
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    Outcome outcome;
    if (posix_spawn(&outcome.pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return outcome;
    const auto start = Clock::now();
    bool interrupted = false;
    for (;;) {
        int status = 0;
        if (waitpid(outcome.pid, &status, WNOHANG) == outcome.pid) {
            outcome.finished = true;
            outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        const auto now = Clock::now();
        if (!interrupted && interruptAfter > Clock::duration::zero() &&
            now - start > interruptAfter) {
            kill(outcome.pid, SIGINT);
            interrupted = true;
        }
        if (now - start > limit) {
            kill(outcome.pid, SIGKILL);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    outcome.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return outcome;
}

// 200 designs in two folders, named as two arguments or found by --recursive from their parent,
// the kernel keeping names and attributes for cache_s seconds or not at all; every request of
// the run counted by kind ("read/design", "readdir/folder").
void BM_KatalogOnShare(benchmark::State& state) {
    const int delay = static_cast<int>(state.range(0));
    const bool recursive = state.range(1) != 0;
    SlowMount mount(SlowMount::Options{.cacheSeconds = double(state.range(2))});
    if (!mount.mounted()) {
        state.SkipWithError(mount.skipReason().c_str());
        return;
    }
    fillShare(mount);
    mount.setDelay(delay);
    TempDir local;
    const std::string pdf = local.path() + "/katalog.pdf";
    const std::vector<std::string> arguments =
        recursive ? std::vector<std::string>{"--quiet", "-r", mount.path(), "-o", pdf}
                  : std::vector<std::string>{"--quiet", mount.path() + "/A", mount.path() + "/B",
                                             "-o", pdf};
    const double designs = 2 * kPerFolder;
    const double folders = recursive ? 3 : 2;
    std::map<std::string, long> byKind;
    long requests = 0;
    for (auto _ : state) {
        mount.resetRequests();
        const Outcome outcome = runKatalog(arguments, {}, std::chrono::minutes(5));
        if (!outcome.finished || outcome.exitCode != 0) {
            state.SkipWithError("nadelix-katalog failed");
            return;
        }
        requests += mount.requests();
        std::istringstream log(mount.requestLog());
        std::string line;
        while (std::getline(log, line))
            ++byKind[line.substr(0, line.find(' '))];
        if (std::getenv("NADELIX_REQUEST_LOG"))
            std::fprintf(stderr, "%s\n", mount.requestLog().c_str());
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["requests"] = static_cast<double>(requests) / runs;
    state.counters["per_design"] = static_cast<double>(requests) / runs / designs;
    for (const auto& [kind, count] : byKind) {
        const bool listing = kind.find("dir") != std::string::npos;
        state.counters[kind + (listing ? "/folder" : "/design")] =
            static_cast<double>(count) / runs / (listing ? folders : designs);
    }
}
BENCHMARK(BM_KatalogOnShare)
    ->ArgNames({"ms", "recursive", "cache_s"})
    ->Args({0, 0, 0})
    ->Args({0, 1, 0})
    ->Args({0, 0, 1})
    ->Args({10, 0, 0})
    ->Args({10, 0, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One design of A stops answering: whether the catalogue is still written (written: the design
// is given up after 20 seconds, and the rest of its folder, stuck behind it on the share, after
// 20 more) and the process ends (finished: not before the share answers, as the kernel holds
// the stuck thread), and whether Ctrl+C two seconds in ends it (interrupt=1); the process is
// killed after 60 seconds.
void BM_KatalogBesideAHungDesign(benchmark::State& state) {
    const bool interrupt = state.range(0) != 0;
    SlowMount mount;
    if (!mount.mounted()) {
        state.SkipWithError(mount.skipReason().c_str());
        return;
    }
    fillShare(mount);
    TempDir local;
    const std::vector<std::string> arguments{"--quiet", mount.path() + "/A", mount.path() + "/B",
                                             "-o", local.path() + "/katalog.pdf"};
    Outcome outcome;
    bool written = false;
    for (auto _ : state) {
        mount.hang("A/Muster 050" + samples()[50 % samples().size()].extension);
        outcome = runKatalog(arguments,
                             interrupt ? Clock::duration(std::chrono::seconds(2))
                                       : Clock::duration::zero(),
                             std::chrono::seconds(60));
        written = std::filesystem::exists(local.path() + "/katalog.pdf");
        mount.release();
        if (!outcome.finished)
            waitpid(outcome.pid, nullptr, 0);
    }
    state.counters["finished"] = outcome.finished;
    state.counters["exit_code"] = outcome.exitCode;
    state.counters["written"] = written;
}
BENCHMARK(BM_KatalogBesideAHungDesign)
    ->ArgNames({"interrupt"})
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
