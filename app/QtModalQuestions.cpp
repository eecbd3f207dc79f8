// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "QtModalQuestions.h"

#include "dirchooser/VerzeichnisAuswahl.h"
#include "platform/BusyCursor.h"
#include "sort/NeueKategorie.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace platform {

namespace {
int ask(const std::string& text, QMessageBox::StandardButtons buttons) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Nadelix"), QString::fromStdString(text),
                    buttons, QApplication::activeWindow());
    NormalCursorWhileAsking normalCursor;
    return box.exec();
}
} // namespace

void QtModalQuestions::messageBox(const std::string& text) {
    ask(text, QMessageBox::Ok);
}

bool QtModalQuestions::askYesNo(const std::string& text) {
    return ask(text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

} // namespace platform

namespace platform {

bool QtModalQuestions::chooseDirectory(const std::string& start, std::string& chosen) {
    CVerzeichnisAuswahl dialog(QApplication::activeWindow());
    dialog.m_Verzeichnis = start;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    chosen = dialog.m_Verzeichnis;
    return true;
}

bool QtModalQuestions::askNewCategory(const std::string& parent, std::string& name) {
    CNeueKategorie dialog(QApplication::activeWindow());
    dialog.m_strAktuell = parent;
    NormalCursorWhileAsking normalCursor;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    name = dialog.m_strName;
    return true;
}

bool QtModalQuestions::askSaveFileName(const std::string& proposedPath,
                                       const std::string& directory,
                                       const std::string& defaultExtension, std::string& chosen) {
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(QString::fromStdString(directory));
    dialog.selectFile(QString::fromStdString(proposedPath));
    dialog.setDefaultSuffix(QString::fromStdString(defaultExtension));
    dialog.setNameFilter(QStringLiteral("Design-File (*)"));
    // The dialog asks before an existing file is replaced.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    NormalCursorWhileAsking normalCursor;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    chosen = dialog.selectedFiles().front().toStdString();
    return true;
}

} // namespace platform
