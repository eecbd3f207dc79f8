// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "CatalogWriter.h"

#include "CatalogPainter.h"
#include "Progress.h"
#include "ReadingPool.h"

#include <QIODevice>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <memory>

namespace katalog {

namespace {

// How long a wait for the next design lasts before Ctrl+C is looked at again.
constexpr std::chrono::milliseconds kStopCheck(50);
// How long Ctrl+C waits for the designs being read to be done.
constexpr std::chrono::milliseconds kStopPatience(200);
// A design file is read in milliseconds, even a large one from a slow share; one that keeps
// the catalogue waiting this long sits on a share that stopped answering, and gets its place
// with that said rather than holding up every design after it. When a second design of the
// same folder does not answer either, the share is taken for gone: the folder's designs not yet
// read are given up at once, rather than each after its own wait.
constexpr std::chrono::seconds kNoAnswer(20);

// The files in catalogue order, each with its tile. The file is a copy: a thread left waiting
// on a share must find it even after the caller's sections are gone.
struct Placed {
    CatalogFile file;
    PageRect tile;
    int page;
};

} // namespace

CatalogOutcome writeCatalog(QIODevice& device, const CatalogJob& job, Progress& progress,
                            const std::atomic<bool>& stop) {
    std::vector<std::size_t> sizes;
    for (const auto& section : job.sections)
        sizes.push_back(section.files.size());
    const PageLayout layout(job.setup, sizes, job.headings);

    // Shared with the reading threads, which may outlive this call when a share stops answering.
    const auto shared = std::make_shared<std::vector<Placed>>();
    auto& placed = *shared;
    placed.reserve(layout.tiles().size());
    for (const auto& section : job.sections)
        for (const auto& file : section.files) {
            const auto& tile = layout.tiles()[placed.size()];
            placed.push_back({file, tile.rect, tile.page});
        }

    QPdfWriter writer(&device);
    writer.setResolution(72); // a unit of the painter is a point
    writer.setPageLayout(QPageLayout(QPageSize(QSizeF(job.setup.width, job.setup.height),
                                               QPageSize::Point, QString(), QPageSize::ExactMatch),
                                     QPageLayout::Portrait, QMarginsF()));
    writer.setTitle(job.title);
    writer.setCreator(QStringLiteral("nadelix-katalog"));
    QPainter painter(&writer);
    CatalogPainter pages(painter, layout, job.title);

    // Two designs a thread ready ahead keep the painting fed; more would only hold memory
    // (a design of half a million stitches takes 4 MB prepared).
    auto pool = std::make_unique<ReadingPool>(
        placed.size(),
        [shared](std::size_t i) {
            const Placed& at = (*shared)[i];
            return prepareDesign(at.file, PageLayout::pictureBox(at.tile));
        },
        job.threads, 2 * static_cast<std::size_t>(job.threads) + 2);

    int page = 0;
    pages.paintFrame(0);
    std::size_t next = 0; // the next design to place
    const auto& headings = layout.headings();
    std::size_t heading = 0;
    // The last section a design was given up in; npos for none.
    std::size_t hungSection = std::string::npos;
    const auto turnTo = [&](int target) {
        while (page < target) {
            writer.newPage();
            pages.paintFrame(++page);
        }
    };
    for (std::size_t s = 0; s < job.sections.size(); ++s) {
        const Section& section = job.sections[s];
        if (heading < headings.size() && headings[heading].section == s) {
            turnTo(headings[heading].page);
            QString text = QString::fromStdString(section.heading);
            if (section.unreadable)
                text += QStringLiteral(" – Ordner nicht lesbar");
            pages.paintHeading(headings[heading].y, text);
            ++heading;
        }
        if (section.unreadable)
            progress.message("nadelix-katalog: Der Ordner " + section.folder +
                             " lässt sich nicht lesen.");
        bool sectionGone = false; // its share stopped answering
        for (std::size_t f = 0; f < section.files.size(); ++f, ++next) {
            std::optional<CatalogDesign> design;
            const auto waitingSince = std::chrono::steady_clock::now();
            while (!design) {
                if (stop.load() || !device.isOpen()) {
                    // A design read from a share that stopped answering would hold Ctrl+C up
                    // for ever; its thread is left to end with the process.
                    if (!pool->stop(kStopPatience))
                        static_cast<void>(pool.release());
                    return device.isOpen() ? CatalogOutcome::Interrupted : CatalogOutcome::Failed;
                }
                if (!sectionGone)
                    design = pool->take(next, kStopCheck);
                if (!design &&
                    (sectionGone || std::chrono::steady_clock::now() - waitingSince > kNoAnswer)) {
                    if (!sectionGone && hungSection == s) {
                        // All the folder's designs still to come at once: one by one, each
                        // would send a thread to wait behind the stuck ones.
                        sectionGone = true;
                        pool->skip(next + (section.files.size() - f) - 1);
                    } else if (!sectionGone) {
                        pool->skip(next);
                    }
                    hungSection = s;
                    design = CatalogDesign{};
                    design->problem =
                        sectionGone ? "Keine Antwort beim Lesen; der Ordner wurde übersprungen."
                                    : "Keine Antwort beim Lesen; nach " +
                                          std::to_string(kNoAnswer.count()) + " s übersprungen.";
                }
            }
            if (design->name.empty())
                design->name = section.files[f].name;
            if (!design->problem.empty())
                progress.message("nadelix-katalog: " +
                                 (design->report.empty()
                                      ? section.files[f].path + ": " + design->problem
                                      : design->report));
            turnTo(placed[next].page);
            pages.paintDesign(placed[next].tile, *design);
            progress.update(next + 1, section.files[f].name);
        }
    }
    turnTo(layout.pageCount() - 1);
    painter.end();
    if (hungSection != std::string::npos && !pool->stop(kStopPatience))
        static_cast<void>(pool.release()); // a thread still waits for the share
    if (!device.isOpen())
        return CatalogOutcome::Failed;
    return stop.load() ? CatalogOutcome::Interrupted : CatalogOutcome::Written;
}

} // namespace katalog
