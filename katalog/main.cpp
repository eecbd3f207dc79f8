// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// nadelix-katalog [OPTIONS] FOLDER... -o KATALOG.pdf: a printable catalogue of the designs in
// the folders, each with its picture as Nadelix's design window draws it and its facts.
#include "Arguments.h"
#include "CatalogWriter.h"
#include "Collection.h"
#include "PageLayout.h"
#include "PdfFile.h"
#include "Progress.h"

#include <QGuiApplication>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr int kInterrupted = 130; // as a shell reports a program ended by Ctrl+C

std::atomic<bool> g_stop{false};

void askToStop(int) {
    g_stop.store(true);
}

// Qt's own notes (about the session's runtime folder and the like) mean nothing to someone
// printing a catalogue; what goes wrong is said by the program itself.
void quietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg)
        std::fprintf(stderr, "nadelix-katalog: %s\n", message.toLocal8Bit().constData());
}

void stopOnInterrupt() {
    struct sigaction action {};
    action.sa_handler = askToStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

QString defaultTitle(const std::vector<std::string>& folders) {
    QStringList names;
    for (const auto& folder : folders)
        names << QString::fromStdString(katalog::folderName(folder));
    return names.join(QStringLiteral(", "));
}

} // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto args = katalog::parseArguments(argc, argv, error);
    if (!args) {
        std::fprintf(stderr,
                     "nadelix-katalog: %s\nAufruf: nadelix-katalog [OPTIONEN] ORDNER... -o "
                     "KATALOG.pdf (mehr mit --help)\n",
                     error.c_str());
        return kUsage;
    }
    if (args->help) {
        std::fputs(katalog::helpText().c_str(), stdout);
        return 0;
    }
    if (args->version) {
        std::printf("nadelix-katalog %s\n", NADELIX_VERSION);
        return 0;
    }
    stopOnInterrupt();

    // Fonts and the PDF writer need Qt's GUI module, but never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietQt);
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QGuiApplication app(qtArgc, qtArgv);

    const bool headings = args->recursive || args->folders.size() > 1;
    const bool letter = args->paper == katalog::PaperSize::Letter;
    float width = letter ? 612.0f : 595.276f;
    float height = letter ? 792.0f : 841.89f;
    if (args->landscape)
        std::swap(width, height);
    const katalog::PageSetup setup{width, height, args->columns, args->rows};
    const int mostRows = katalog::PageLayout::mostRows(setup, headings);
    if (args->rows > mostRows) {
        std::fprintf(stderr,
                     "nadelix-katalog: Bei %d Zeilen bleibt kein Platz für die Bilder; auf diesem "
                     "Papier passen höchstens %d.\n",
                     args->rows, mostRows);
        return kUsage;
    }

    katalog::CatalogJob job;
    job.sections = katalog::collectSections(args->folders, args->recursive);
    const std::size_t total = katalog::designCount(job.sections);
    if (total == 0) {
        for (const auto& section : job.sections)
            if (section.unreadable)
                std::fprintf(stderr, "nadelix-katalog: Der Ordner %s lässt sich nicht lesen.\n",
                             section.folder.c_str());
        std::fprintf(stderr, "nadelix-katalog: Keine Stickmuster gefunden; es wurde kein Katalog "
                             "geschrieben.\n");
        return kFailed;
    }
    job.headings = headings;
    job.title = args->title ? QString::fromStdString(*args->title) : defaultTitle(args->folders);
    job.setup = setup;
    // Painting the PDF on one thread is the slower half; more than a few readers would only
    // hold more designs in memory while they wait for it.
    job.threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);

    katalog::Progress progress(stderr, !args->quiet && isatty(STDERR_FILENO), total);
    katalog::PdfFile file(args->output);
    const auto outcome = katalog::writeCatalog(file, job, progress, g_stop);
    progress.finish();
    if (outcome == katalog::CatalogOutcome::Interrupted) {
        file.abandon();
        std::fprintf(stderr, "nadelix-katalog: Abgebrochen; %s wurde nicht geschrieben.\n",
                     args->output.c_str());
        // A reading thread may still wait on a share that stopped answering, on the folders'
        // names and the pool: they are left as they are, nothing needs tearing down.
        std::fflush(stderr);
        std::_Exit(kInterrupted);
    }
    if (!file.commit(error)) {
        std::fprintf(stderr, "nadelix-katalog: %s\n", error.c_str());
        return kFailed;
    }
    return 0;
}
