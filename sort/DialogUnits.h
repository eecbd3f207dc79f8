#pragma once

#include <QRect>

class QFont;

namespace sortdialog {

// Turns dialog-template positions into pixels with the base units of the dialog's font (the
// average width of A–Z and a–z across, the font's height down), so that the layout keeps its
// proportions whatever font the desktop uses.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int x(int units) const;
    int y(int units) const;
    // Right and bottom edges are converted as positions, so adjoining controls stay adjoining.
    QRect rect(int left, int top, int width, int height) const;

private:
    double m_baseX;
    int m_baseY;
};

} // namespace sortdialog
