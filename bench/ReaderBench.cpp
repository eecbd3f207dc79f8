// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Decoding speed of every reader on a generated 1 MiB file or a real one, and the whole load
// step of a PES file from the page cache.
#include "AllocationCounter.h"
#include "TempDir.h"
#include "design/DesignModel.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kMiB = 1 << 20;

// PEC stitch data: mostly short moves, some long ones and colour changes, about 400,000
// stitches to the MiB.
std::vector<std::uint8_t> pecStitches(std::size_t bytes) {
    std::mt19937 random(7);
    std::vector<std::uint8_t> out;
    out.reserve(bytes + 8);
    while (out.size() + 6 < bytes) {
        const auto r = random() % 100;
        if (r < 1) {
            out.insert(out.end(), {0xFE, 0xB0, 0x01});
        } else if (r < 30) {
            out.push_back(static_cast<std::uint8_t>(0x80 | (random() & 0x0F)));
            out.push_back(static_cast<std::uint8_t>(random()));
            out.push_back(static_cast<std::uint8_t>(random() & 0x7F));
        } else {
            out.push_back(static_cast<std::uint8_t>(random() & 0x7F));
            out.push_back(static_cast<std::uint8_t>(random() & 0x7F));
        }
    }
    out.insert(out.end(), {0xFF, 0x00});
    out.resize(bytes);
    return out;
}

std::vector<std::uint8_t> pesFile() {
    std::vector<std::uint8_t> file(1000, 0);
    const char head[] = "#PES0001";
    std::copy(head, head + 8, file.begin());
    file[8] = 0x10; // the PEC block at 16
    file[16 + 48] = 3;
    const auto stitches = pecStitches(kMiB - (16 + 532));
    file.resize(16 + 532);
    file.insert(file.end(), stitches.begin(), stitches.end());
    return file;
}

std::vector<std::uint8_t> pecFile() {
    std::vector<std::uint8_t> file(540, 0);
    file[56] = 3;
    const auto stitches = pecStitches(kMiB - 540);
    file.insert(file.end(), stitches.begin(), stitches.end());
    return file;
}

std::vector<std::uint8_t> dstFile() {
    std::mt19937 random(3);
    std::vector<std::uint8_t> file(512, ' ');
    while (file.size() + 3 <= kMiB) {
        const bool colorChange = random() % 200 == 0;
        file.push_back(static_cast<std::uint8_t>(random()));
        file.push_back(static_cast<std::uint8_t>(random()));
        file.push_back(colorChange ? 0xC3 : static_cast<std::uint8_t>(0x03 | (random() & 0x3C)));
    }
    file.resize(kMiB);
    return file;
}

std::vector<std::uint8_t> pcsFile() {
    std::mt19937 random(5);
    std::vector<std::uint8_t> file(70, 0);
    file[68] = 0xFF;
    file[69] = 0xFF;
    std::int32_t x = 1 << 20, y = 1 << 20;
    while (file.size() + 9 <= kMiB) {
        const bool colorChange = random() % 200 == 0;
        x += static_cast<std::int32_t>(random() % 4001) - 2000;
        y += static_cast<std::int32_t>(random() % 4001) - 2000;
        for (std::int32_t v : {x, y})
            for (int b = 0; b < 4; ++b)
                file.push_back(static_cast<std::uint8_t>(v >> (8 * b)));
        file.push_back(colorChange ? 3 : 0);
    }
    file.resize(kMiB);
    return file;
}

std::vector<std::uint8_t> sewFile() {
    std::mt19937 random(9);
    std::vector<std::uint8_t> file(7544, 0);
    file[0] = 4;
    while (file.size() + 4 <= kMiB) {
        const auto r = random() % 100;
        if (r == 0) {
            file.insert(file.end(), {0x80, 0x01});
        } else if (r == 1) {
            file.insert(file.end(), {0x80, 0x02, static_cast<std::uint8_t>(random()), 0x10});
        } else {
            file.push_back(static_cast<std::uint8_t>(random() % 0x7F));
            file.push_back(static_cast<std::uint8_t>(random()));
        }
    }
    file.resize(kMiB);
    return file;
}

using Reader = void (DesignModel::*)(int);

void runReader(benchmark::State& state, const std::vector<std::uint8_t>& file, Reader reader) {
    DesignModel model;
    model.m_FileData.resize(file.size() + 1);
    std::copy(file.begin(), file.end(), model.m_FileData.begin());
    const int length = static_cast<int>(file.size());
    (model.*reader)(length); // sizes the entry arrays once
    const std::size_t before = allocationCount();
    for (auto _ : state) {
        (model.*reader)(length);
        benchmark::DoNotOptimize(model.m_StitchX.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
    state.counters["allocations"] = static_cast<double>(allocationCount() - before);
    std::size_t entries = 0;
    while (model.m_StitchCmd[entries] != CMD_END)
        ++entries;
    state.counters["entries"] = static_cast<double>(entries);
}

void BM_ReadPES(benchmark::State& s) {
    runReader(s, pesFile(), &DesignModel::ReadPES);
}
void BM_ReadPEC(benchmark::State& s) {
    runReader(s, pecFile(), &DesignModel::ReadPEC);
}
void BM_ReadDST(benchmark::State& s) {
    runReader(s, dstFile(), &DesignModel::ReadDST);
}
void BM_ReadPCS(benchmark::State& s) {
    runReader(s, pcsFile(), &DesignModel::ReadPCS);
}
void BM_ReadSEW(benchmark::State& s) {
    runReader(s, sewFile(), &DesignModel::ReadSEW);
}

// A real file through the decode step, as the thumbnailer decodes it.
void runDecode(benchmark::State& state, const char* name, StitchFormat format) {
    const auto file = readBytes(std::string(NADELIX_TEST_DATA) + "/" + name);
    DesignData design;
    decodeDesign(design, format, file); // sizes the entry arrays once
    const std::size_t before = allocationCount();
    for (auto _ : state) {
        decodeDesign(design, format, file);
        benchmark::DoNotOptimize(design.m_StitchX.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
    state.counters["allocations"] = static_cast<double>(allocationCount() - before);
}

void BM_DecodeVP3(benchmark::State& s) {
    runDecode(s, "Hopea.vp3", StitchFormat::Vp3);
}
void BM_DecodeEXP(benchmark::State& s) {
    runDecode(s, "Hopea.exp", StitchFormat::Exp);
}
void BM_DecodeJEF(benchmark::State& s) {
    runDecode(s, "Hopea.jef", StitchFormat::Jef);
}
void BM_DecodeXXX(benchmark::State& s) {
    runDecode(s, "Embroidermodder.XXX", StitchFormat::Xxx);
}

// The load step: open, one read into the reused buffer, dispatch and decode.
void BM_LoadFilePES(benchmark::State& state) {
    const auto file = pesFile();
    char dir[] = "/tmp/nadelix-bench-XXXXXX";
    if (!::mkdtemp(dir)) {
        state.SkipWithError("no temporary directory");
        return;
    }
    const std::string path = std::string(dir) + "/BENCH.PES";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));

    DesignModel model;
    model.m_strSourceDir = std::string(dir) + "/";
    model.m_FileList.removeAll();
    model.m_FileList.add(SourceFileName{"BENCH.PES", "BENCH.PES"});
    model.LoadFile(0);
    for (auto _ : state)
        model.LoadFile(0);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
    std::remove(path.c_str());
    ::rmdir(dir);
}

} // namespace

BENCHMARK(BM_ReadPES)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadPEC)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadDST)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadPCS)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadSEW)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeVP3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeEXP)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeJEF)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeXXX)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadFilePES)->Unit(benchmark::kMicrosecond);
