// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Filling the category list from a target of 1000 sub-directories, with the directories in
// the cache as they are after the first opening.
#include "TempDir.h"

#include "sort/CategoryWalk.h"

#include <benchmark/benchmark.h>

#include <filesystem>

static void BM_FillCategoriesOf1000(benchmark::State& state) {
    TempDir dir;
    // Ten categories of 99 sub-categories each: 1000 in all, two levels deep.
    for (int i = 0; i < 10; ++i)
        for (int k = 0; k < 99; ++k)
            std::filesystem::create_directories(dir.path() + "/Kategorie " + std::to_string(i) +
                                                "/Unterkategorie " + std::to_string(k));
    const std::string ziel = dir.path() + "/";
    int nKategorien = 0;
    CategoryList list;
    CategoryWalk(ziel, nKategorien, list).FillCategories(); // warms the cache

    for (auto _ : state) {
        CategoryWalk(ziel, nKategorien, list).FillCategories();
        benchmark::DoNotOptimize(list.count());
    }
    if (list.count() != 1001)
        state.SkipWithError("the walk did not list 1000 categories");
}
BENCHMARK(BM_FillCategoriesOf1000)->Unit(benchmark::kMillisecond);
