// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#include "BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

BusyCursor::BusyCursor() {
    QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
}

BusyCursor::~BusyCursor() {
    QGuiApplication::restoreOverrideCursor();
}

NormalCursorWhileAsking::NormalCursorWhileAsking() : m_set(QGuiApplication::overrideCursor()) {
    if (m_set)
        QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
}

NormalCursorWhileAsking::~NormalCursorWhileAsking() {
    if (m_set)
        QGuiApplication::restoreOverrideCursor();
}
