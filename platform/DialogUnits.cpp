// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "DialogUnits.h"

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <cmath>

namespace {
constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
}

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetricsF metrics(font);
    m_baseX = metrics.horizontalAdvance(QString::fromLatin1(kLetters)) / 52.0;
    m_baseY = QFontMetrics(font).height();
}

int DialogUnits::x(int units) const {
    return static_cast<int>(std::lround(units * m_baseX / 4.0));
}

int DialogUnits::y(int units) const {
    return static_cast<int>(std::lround(units * m_baseY / 8.0));
}

QRect DialogUnits::rect(int left, int top, int width, int height) const {
    // Right and bottom edges are converted as positions, so adjacent controls stay adjacent.
    const int l = x(left), t = y(top);
    return QRect(l, t, x(left + width) - l, y(top + height) - t);
}
