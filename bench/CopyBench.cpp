// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Copying a 10 MB design into ten categories, against what the same copies take with cp and
// a sync afterwards, both timed in the same run.
#include "TempDir.h"

#include "sort/SortCommands.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kCategories = 10;
constexpr std::size_t kSize = 10 * 1024 * 1024;

using Clock = std::chrono::steady_clock;

bool run(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void removeCopies(const std::string& ziel) {
    for (int i = 0; i < kCategories; ++i)
        std::filesystem::remove(ziel + "K" + std::to_string(i) + "/ROSE.PES");
    run({"sync"}); // neither side pays for the other's write-back
}

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

} // namespace

static void BM_CopyTenMegabytesIntoTenCategories(benchmark::State& state) {
    TempDir dir;
    const std::string source = dir.path() + "/rose.pes";
    {
        std::vector<char> bytes(kSize);
        for (std::size_t i = 0; i < kSize; ++i)
            bytes[i] = static_cast<char>(i * 31 + (i >> 12));
        std::ofstream(source, std::ios::binary).write(bytes.data(), kSize);
    }
    const std::string ziel = dir.path() + "/ziel/";
    CategoryList list;
    list.insert({kZielverzeichnis, "", true, false});
    for (int i = 0; i < kCategories; ++i) {
        const std::string name = "K" + std::to_string(i);
        std::filesystem::create_directories(ziel + name);
        list.insert({name, name, false, true});
    }
    const std::string fileName = "ROSE.PES";
    std::vector<std::uint8_t> puffer;
    const CopyContext context{ziel, source, fileName, 0, 0, 1, 0, puffer};

    double ours = 0, theirs = 0;
    removeCopies(ziel);
    for (auto _ : state) {
        auto start = Clock::now();
        OnCopy(context, list);
        const double thisRun = seconds(Clock::now() - start);
        ours += thisRun;
        state.SetIterationTime(thisRun);

        removeCopies(ziel);
        start = Clock::now();
        for (int i = 0; i < kCategories; ++i)
            run({"cp", source, ziel + "K" + std::to_string(i) + "/ROSE.PES"});
        run({"sync"});
        theirs += seconds(Clock::now() - start);
        removeCopies(ziel);
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["nadelix_ms"] = ours / n * 1000;
    state.counters["cp_sync_ms"] = theirs / n * 1000;
    state.counters["ratio"] = ours / theirs;
}
BENCHMARK(BM_CopyTenMegabytesIntoTenCategories)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
