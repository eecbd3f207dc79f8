// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "FocusReturn.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>

namespace {

// Message boxes, the file dialog and the program's own dialogs are all QDialogs; menus,
// drop-down lists and tool tips are not, and manage the keyboard themselves.
QWidget* dialogWindow(QObject* object) {
    auto* dialog = qobject_cast<QDialog*>(object);
    return dialog && dialog->isWindow() ? dialog : nullptr;
}

} // namespace

FocusReturn::FocusReturn() {
    qApp->installEventFilter(this);
}

FocusReturn::~FocusReturn() {
    qApp->removeEventFilter(this);
}

bool FocusReturn::eventFilter(QObject* watched, QEvent* event) {
    // A window manager that minimises or unmaps a dialog sends spontaneous events; it also
    // decides where the keyboard goes then.
    if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && !event->spontaneous()) {
        if (QWidget* dialog = dialogWindow(watched))
            event->type() == QEvent::Show ? Opened(dialog) : Closed(dialog);
    }
    return QObject::eventFilter(watched, event);
}

void FocusReturn::Opened(QWidget* dialog) {
    QWidget* active = QApplication::activeWindow();
    m_openers.insert(dialog, active != dialog ? active : nullptr);
}

void FocusReturn::Closed(QWidget* dialog) {
    QPointer<QWidget> opener = m_openers.take(dialog);
    if (!opener && dialog->parentWidget())
        opener = dialog->parentWidget()->window();
    // The keyboard goes back only if it was in the closing dialog or is nowhere in the
    // program: a window the user has moved on to keeps it.
    QWidget* active = QApplication::activeWindow();
    if (!opener || opener == dialog || !opener->isVisible() || opener->isMinimized() ||
        (active && active != dialog))
        return;
    // Activating the window brings back the control that had its focus.
    opener->activateWindow();
}
