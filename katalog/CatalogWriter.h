// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "Collection.h"
#include "PageLayout.h"

#include <QString>

#include <atomic>
#include <vector>

class QIODevice;

namespace katalog {

class Progress;

struct CatalogJob {
    std::vector<Section> sections;
    PageSetup setup;
    bool headings = false; // a heading over each section
    QString title;
    unsigned threads = 2; // reading threads
};

enum class CatalogOutcome {
    Written,
    Interrupted,
    Failed, // the device closed: its bytes could not be written
};

// Writes the catalogue's PDF into device page by page, the designs read on job.threads threads
// meanwhile. Files that could not be read are reported through progress. Stops between two
// designs once stop is set, or once the device has closed.
CatalogOutcome writeCatalog(QIODevice& device, const CatalogJob& job, Progress& progress,
                            const std::atomic<bool>& stop);

} // namespace katalog
