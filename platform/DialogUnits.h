// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QRect>

class QFont;

// Converts positions from a dialog's layout table to pixels with the base units of the dialog's
// font: the average width of the letters A–Z and a–z across, the font's height down, so that a
// layout keeps its proportions whatever font the desktop uses.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int x(int units) const;
    int y(int units) const;
    QRect rect(int x, int y, int width, int height) const;

private:
    double m_baseX;
    int m_baseY;
};
