// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// A crafted multi-part PES file through the reader as a load runs it, at three sizes: the time
// and the model's memory must grow with the file's size, not with its size times its parts.
#include "design/DesignModel.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr std::size_t kParts = 255;
constexpr std::size_t kFirstBlock = 16;
constexpr std::size_t kStitchData = 532; // from a block's start
constexpr std::size_t kMarkerSpacing = 64;

// 255 declared parts whose block markers lie 64 bytes apart at the start of the first part's
// stitch data, which runs in two-byte stitches to one end record at the file's end: every
// part's stitches reach that end.
std::vector<std::uint8_t> crowdedPartsPes(std::size_t size) {
    std::vector<std::uint8_t> file(size, 0x01);
    const std::uint8_t head[] = {'#',         'P', 'E', 'S', '0',    '0', '3', '0',
                                 kFirstBlock, 0,   0,   0,   kParts, 0,   0,   0};
    std::copy(std::begin(head), std::end(head), file.begin());
    std::fill_n(file.begin() + kFirstBlock, kStitchData, 0);
    const std::uint8_t marker[] = {'L', 'A', ':'};
    std::copy(std::begin(marker), std::end(marker), file.begin() + kFirstBlock);
    for (std::size_t part = 1; part < kParts; ++part) {
        const auto at = kFirstBlock + kStitchData + (part - 1) * kMarkerSpacing;
        std::copy(std::begin(marker), std::end(marker), file.begin() + static_cast<long>(at));
    }
    file[size - 2] = 0xFF;
    file[size - 1] = 0x00;
    return file;
}

// A fresh model per load, as the thumbnailer has one: the entry arrays grow from their start.
void BM_ReadCrowdedPartsPES(benchmark::State& state) {
    const auto file = crowdedPartsPes(static_cast<std::size_t>(state.range(0)));
    const int length = static_cast<int>(file.size());
    std::size_t modelBytes = 0;
    std::size_t entries = 0;
    for (auto _ : state) {
        state.PauseTiming();
        DesignModel model;
        model.m_FileData.assign(file.begin(), file.end());
        state.ResumeTiming();
        model.ReadPES(length);
        benchmark::DoNotOptimize(model.m_StitchX.data());
        state.PauseTiming();
        modelBytes = model.m_FileData.capacity() +
                     (model.m_StitchX.capacity() + model.m_StitchY.capacity()) * 2 +
                     model.m_StitchCmd.capacity();
        entries = 0;
        while (model.m_StitchCmd[entries] != CMD_END)
            ++entries;
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
    state.counters["entries"] = static_cast<double>(entries);
    state.counters["modelMiB"] = static_cast<double>(modelBytes) / (1 << 20);
}

} // namespace

BENCHMARK(BM_ReadCrowdedPartsPES)
    ->Arg(100 << 10)
    ->Arg(1 << 20)
    ->Arg(4 << 20)
    ->Unit(benchmark::kMillisecond);
