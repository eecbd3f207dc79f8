// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Starts the real main window, shows one design file in it and saves a picture of the window:
// the README's screenshot. Usage: nadelix_screenshot DESIGN-FILE OUTPUT.png [WIDTH HEIGHT]
#include "app/MainFrm.h"
#include "app/NadelixApp.h"
#include "app/QtModalQuestions.h"

#include <QApplication>
#include <QFileInfo>
#include <QTest>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication qtApp(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3 && args.size() != 5) {
        std::fprintf(stderr, "usage: %s DESIGN-FILE OUTPUT.png [WIDTH HEIGHT]\n", argv[0]);
        return 2;
    }
    platform::QtModalQuestions questions;
    platform::setModalQuestions(&questions);

    CNadelixApp theApp;
    theApp.InitInstance();
    CMainFrame* frame = theApp.m_pMainWnd;
    if (args.size() == 5)
        frame->resize(args[3].toInt(), args[4].toInt());
    if (!QTest::qWaitForWindowExposed(frame))
        return 1;

    // The design goes through the view's own load step, as browsing would load it.
    const QFileInfo design(args[1]);
    CDesignAnsicht& view = frame->m_wndView;
    view.m_strSourceDir = design.absolutePath().toStdString() + "/";
    view.m_FileList[0] = SourceFileName::fromDisk(design.fileName().toStdString());
    view.LoadFile(0);
    QTest::qWait(200);

    if (!frame->grab().save(args[2]))
        return 1;
    std::printf("%s: %dx%d\n", qPrintable(args[2]), frame->width(), frame->height());
    return 0;
}
