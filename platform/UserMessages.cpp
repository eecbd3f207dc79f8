// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "UserMessages.h"

#include <QCoreApplication>

namespace platform {

UserMessageEvent::UserMessageEvent(int message, long wParam, long lParam)
    : QEvent(eventType()), m_message(message), m_wParam(wParam), m_lParam(lParam) {}

QEvent::Type UserMessageEvent::eventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

long sendUserMessage(QObject* receiver, int message, long wParam, long lParam) {
    if (!receiver)
        return 0;
    UserMessageEvent event(message, wParam, lParam);
    QCoreApplication::sendEvent(receiver, &event);
    return event.result;
}

} // namespace platform
