#pragma once

#include <QRect>

class QFont;

namespace options {

// Turns dialog-template positions into pixels with the base units of a font: the average
// width of A–Z and a–z across, the font's height down. The pages keep their proportions
// whatever font the desktop uses.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int x(int units) const;
    int y(int units) const;
    // Right and bottom edges are converted as positions, so that adjoining controls stay
    // adjoining after rounding.
    QRect rect(int left, int top, int width, int height) const;

private:
    double m_baseX;
    int m_baseY;
};

} // namespace options
