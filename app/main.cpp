// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "NadelixApp.h"
#include "QtModalQuestions.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication qtApp(argc, argv);
    platform::QtModalQuestions questions;
    platform::setModalQuestions(&questions);

    CNadelixApp theApp;
    if (!theApp.InitInstance())
        return 1;
    return qtApp.exec();
}
