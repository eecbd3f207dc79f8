// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Filling the category list from a target of 1000 sub-directories, with the directories in
// the cache as they are after the first opening: at once, by whole paths as the walk did
// before it opened each directory below its parent, and on the walk's own thread.
#include "TempDir.h"
#include "WholePathWalk.h"

#include "platform/DirectoryReader.h"
#include "platform/Names.h"
#include "sort/CategorySearch.h"
#include "sort/CategoryWalk.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

namespace {

// Ten categories of 99 sub-categories each: 1000 in all, two levels deep.
struct Target {
    TempDir dir;
    std::string ziel = dir.path() + "/";
    Target() {
        for (int i = 0; i < 10; ++i)
            for (int k = 0; k < 99; ++k)
                std::filesystem::create_directories(dir.path() + "/Kategorie " + std::to_string(i) +
                                                    "/Unterkategorie " + std::to_string(k));
        int n = 0;
        CategoryList warm;
        CategoryWalk(ziel, n, warm).FillCategories();
    }
};

// The list as every filling starts it: the target's own entry alone.
void startList(CategoryList& list, const std::string& ziel) {
    list.clear();
    list.insert(CategoryWalk::EntryFor(ziel, 0, kZielverzeichnis));
}

void check(benchmark::State& state, const CategoryList& list) {
    if (list.count() != 1001)
        state.SkipWithError("the walk did not list 1000 categories");
}

} // namespace

static void BM_FillCategoriesOf1000(benchmark::State& state) {
    Target target;
    int nKategorien = 0;
    CategoryList list;
    for (auto _ : state) {
        CategoryWalk(target.ziel, nKategorien, list).FillCategories();
        benchmark::DoNotOptimize(list.count());
    }
    check(state, list);
}
BENCHMARK(BM_FillCategoriesOf1000)->Unit(benchmark::kMillisecond);

static void BM_FillCategoriesOf1000ByWholePaths(benchmark::State& state) {
    Target target;
    CategoryList list;
    for (auto _ : state) {
        startList(list, target.ziel);
        int n = 1;
        for (const std::string& path : categoriesByWholePaths(target.ziel, kMaxKategorien))
            list.insert(CategoryWalk::EntryFor(target.ziel, n++, path));
        benchmark::DoNotOptimize(list.count());
    }
    check(state, list);
}
BENCHMARK(BM_FillCategoriesOf1000ByWholePaths)->Unit(benchmark::kMillisecond);

// From the start of the walk to the last entry in the list, taken as the window takes them.
static void BM_SearchCategoriesOf1000(benchmark::State& state) {
    Target target;
    CategoryList list;
    for (auto _ : state) {
        startList(list, target.ziel);
        CategorySearch search(target.ziel);
        std::vector<std::string> paths;
        bool ended = false;
        while (!ended) {
            ended = search.waitUntilEnded(std::chrono::milliseconds(1));
            paths.clear();
            ended = search.take(paths) && ended;
            for (const std::string& path : paths)
                list.insert(CategoryWalk::EntryFor(target.ziel, 1, path));
        }
        benchmark::DoNotOptimize(list.count());
    }
    check(state, list);
}
BENCHMARK(BM_SearchCategoriesOf1000)->Unit(benchmark::kMillisecond);
