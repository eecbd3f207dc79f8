// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Painting a design into a 1280 x 960 client area, as a full repaint of the view does.
#include "view/DesignAnsicht.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int kClientWidth = 1280;
constexpr int kClientHeight = 960;

// A design of the given number of stitches in colour blocks of 5000: a random walk of
// stitches up to 4 mm in either direction (2.6 mm on average, like the sample designs) inside
// a square of extent design units. In 10 x 10 cm, 50,000 stitches are about four times as
// dense as the densest sample design, so the lines cover more pixels than usual.
void makeDesign(DesignModel& m, int stitches, int extent) {
    std::mt19937 random(42);
    std::uniform_int_distribution<int> step(-40, 40);
    const std::size_t n = static_cast<std::size_t>(stitches) + stitches / 5000 + 2;
    m.m_StitchX.assign(n, 0);
    m.m_StitchY.assign(n, 0);
    m.m_StitchCmd.assign(n, CMD_STITCH);
    m.m_StitchCmd[0] = CMD_FIRST;
    int x = extent / 2;
    int y = extent / 2;
    std::size_t i = 1;
    for (int s = 1; s <= stitches; ++s) {
        if (s % 5000 == 0)
            m.m_StitchCmd[i++] = CMD_COLOR_CHANGE;
        x = std::clamp(x + step(random), 0, extent);
        y = std::clamp(y + step(random), 0, extent);
        m.m_StitchX[i] = static_cast<std::int16_t>(x);
        m.m_StitchY[i] = static_cast<std::int16_t>(y);
        ++i;
    }
    m.m_StitchCmd[i] = CMD_END;
    m.m_nMinX = 0;
    m.m_nMinY = 0;
    m.m_nWidth = extent;
    m.m_nHeight = extent;
    for (int c = 0; c < DesignModel::kColorListSize; ++c)
        m.m_ColorList[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c % 60 + 1);
    m.m_bShowDesign = 1;
    m.m_bStitchGraphics = 1;
}

// The painter alone on an image like the window's backing store; extent sets the scale
// (1000 units: under one pixel per unit, thin lines; 300: three-pixel-wide lines).
void BM_PaintStitches(benchmark::State& state) {
    DesignModel model;
    makeDesign(model, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const PecPalette pec = pecPaletteColors();
    const SewPalette sew = sewPaletteColors();
    QImage image(kClientWidth, kClientHeight, QImage::Format_ARGB32_Premultiplied);
    DesignPainter painter;
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        p.setClipRect(image.rect());
        painter.paint(p, image.rect(), model, pec, sew, Qt::white, Qt::black);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PaintStitches)
    ->Args({50000, 1000})
    ->Args({500000, 1000})
    ->Args({5000, 300})
    ->Unit(benchmark::kMillisecond);

// The whole repaint of the view: background, client edge and the stitches.
void BM_ViewRepaint(benchmark::State& state) {
    CDesignAnsicht view;
    makeDesign(view, static_cast<int>(state.range(0)), 1000);
    view.resize(kClientWidth, kClientHeight);
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state)
        view.render(&image);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ViewRepaint)->Arg(50000)->Arg(500000)->Unit(benchmark::kMillisecond);

void BM_PaintSample(benchmark::State& state, const char* name) {
    DesignModel model;
    model.m_strSourceDir = NADELIX_TEST_DATA "/";
    model.m_FileList[0] = SourceFileName::fromDisk(name);
    model.LoadFile(0);
    const PecPalette pec = pecPaletteColors();
    const SewPalette sew = sewPaletteColors();
    QImage image(kClientWidth, kClientHeight, QImage::Format_ARGB32_Premultiplied);
    DesignPainter painter;
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        p.setClipRect(image.rect());
        painter.paint(p, image.rect(), model, pec, sew, Qt::white, Qt::black);
    }
}
BENCHMARK_CAPTURE(BM_PaintSample, flowers, "flowers.pes")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PaintSample, hopea, "Hopea.pes")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PaintSample, star, "Star.pes")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PaintSample, shamrock, "shamrockin.dst")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PaintSample, reorder, "reorder.pes")->Unit(benchmark::kMillisecond);

} // namespace
