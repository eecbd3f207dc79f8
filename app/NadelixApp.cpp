// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "NadelixApp.h"

#include "AboutDlg.h"
#include "MainFrm.h"
#include "ProgramIcon.h"
#include "platform/CommandIds.h"

#include <QApplication>
#include <QLibraryInfo>

namespace {
CNadelixApp* theApp = nullptr;
} // namespace

CNadelixApp::CNadelixApp() {
    theApp = this;
    QCoreApplication::setApplicationName(QStringLiteral("Nadelix"));
    // Lets the desktop match the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("nadelix"));
}

CNadelixApp::~CNadelixApp() {
    delete m_pMainWnd.data();
    QCoreApplication::removeTranslator(&m_qtTranslator);
    if (theApp == this)
        theApp = nullptr;
}

CNadelixApp* CNadelixApp::instance() {
    return theApp;
}

bool CNadelixApp::InitInstance() {
    // Only a name: nothing is ever stored under it.
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    // Qt's own buttons and dialogs speak German like the rest of the program. Without the
    // translations installed they stay English; the program works all the same.
    if (m_qtTranslator.load(QStringLiteral("qtbase_de"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qtTranslator);

    auto* frame = new CMainFrame;
    // Closing the window destroys the frame, the view and everything the program knows.
    frame->setAttribute(Qt::WA_DeleteOnClose);
    m_pMainWnd = frame;
    const QIcon icon = programIcon();
    frame->setWindowIcon(icon);
    // The program's dialogs carry the same icon in their title bars.
    QApplication::setWindowIcon(icon);
    frame->show();
    return true;
}

bool CNadelixApp::OnCmdMsg(int id) {
    if (id == platform::ID_APP_ABOUT) {
        OnAppAbout();
        return true;
    }
    return false;
}

void CNadelixApp::OnAppAbout() {
    CAboutDlg aboutDlg(m_pMainWnd);
    aboutDlg.exec();
}
