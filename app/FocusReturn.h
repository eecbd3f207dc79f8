// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

class QWidget;

// Hands the keyboard back to the window that opened a dialog or message box when it closes.
// A window manager does that on most desktops; without one the X server gives the keyboard to
// the root window, where no key reaches the program until the user clicks. Watches every
// dialog of the application while it exists.
class FocusReturn : public QObject {
public:
    FocusReturn();
    ~FocusReturn() override;
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Opened(QWidget* dialog);
    void Closed(QWidget* dialog);

    // The window that had the keyboard when each open dialog was shown.
    QHash<const QWidget*, QPointer<QWidget>> m_openers;
};
