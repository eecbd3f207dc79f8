// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "FocusReturn.h"

#include <QPointer>
#include <QTranslator>

class CMainFrame;

// The application object: starts the program by creating and showing the main window, and
// handles the commands that neither the view nor the frame takes (the About box). Created in
// main after the QApplication, since Qt objects need it.
class CNadelixApp {
public:
    CNadelixApp();
    ~CNadelixApp();
    CNadelixApp(const CNadelixApp&) = delete;
    CNadelixApp& operator=(const CNadelixApp&) = delete;

    // The one application object, or null before it exists.
    static CNadelixApp* instance();

    // Creates and shows the main window; always succeeds.
    bool InitInstance();
    // The last stop of command routing; true when the command was handled.
    bool OnCmdMsg(int id);
    // Shows the About box modally.
    void OnAppAbout();

    // Null once the window has been closed and destroyed.
    QPointer<CMainFrame> m_pMainWnd;

private:
    QTranslator m_qtTranslator;
    FocusReturn m_focusReturn;
};
