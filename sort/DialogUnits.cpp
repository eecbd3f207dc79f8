#include "DialogUnits.h"

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>

#include <cmath>

namespace sortdialog {

DialogUnits::DialogUnits(const QFont& font)
    : m_baseX(QFontMetricsF(font).horizontalAdvance(
                  QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
              52.0),
      m_baseY(QFontMetrics(font).height()) {}

int DialogUnits::x(int units) const {
    return static_cast<int>(std::lround(units * m_baseX / 4.0));
}

int DialogUnits::y(int units) const {
    return static_cast<int>(std::lround(units * m_baseY / 8.0));
}

QRect DialogUnits::rect(int left, int top, int width, int height) const {
    const int l = x(left), t = y(top);
    return QRect(l, t, x(left + width) - l, y(top + height) - t);
}

} // namespace sortdialog
