// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QEvent>

class QObject;

namespace platform {

// The program's own window messages. Their numbers continue the window system's first
// number for a program's own messages (WM_USER) and are fixed by the program's design.
inline constexpr int WM_USER = 0x400;
inline constexpr int WM_QUELLE_EINLESEN = 0x500;
inline constexpr int WM_VORHERIGE_DATEI = 0x501;
inline constexpr int WM_NAECHSTE_DATEI = 0x502;
inline constexpr int WM_SORTIEREN_BEENDET = 0x503;
inline constexpr int WM_DATEI_ENTFERNT = 0x504;
// Goes only to the copy-and-sort dialog, so it may share its number with WM_NAECHSTE_DATEI.
inline constexpr int WM_ANZEIGE_AKTUALISIEREN = 0x502;

// One event type carries every user message; the receiver sets the result.
class UserMessageEvent : public QEvent {
public:
    explicit UserMessageEvent(int message, long wParam = 0, long lParam = 0);

    static QEvent::Type eventType();

    int message() const { return m_message; }
    long wParam() const { return m_wParam; }
    long lParam() const { return m_lParam; }
    long result = 0;

private:
    int m_message;
    long m_wParam;
    long m_lParam;
};

// Delivers the message to receiver and returns once it has been handled, with the result
// the receiver set (0 when nobody handled it).
long sendUserMessage(QObject* receiver, int message, long wParam = 0, long lParam = 0);

} // namespace platform
