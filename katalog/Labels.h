// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

// The catalogue's texts, in German as the program's interface is: decimal commas, points
// between thousands.

#include <cstddef>
#include <string>

namespace katalog {

// "85,3 × 92,1 mm" from tenths of a millimetre.
std::string sizeLabel(int widthUnits, int heightUnits);
// "12.345 Stiche", "1 Stich".
std::string stitchesLabel(std::size_t stitches);
// "5 Farben", "1 Farbe".
std::string colorsLabel(std::size_t colors);
// "Seite 3 von 12".
std::string pageLabel(int page, int pages);
// "12.345"
std::string groupedNumber(std::size_t n);

} // namespace katalog
