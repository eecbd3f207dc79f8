// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "Labels.h"

namespace katalog {

namespace {

std::string millimetres(int units) {
    return std::to_string(units / 10) + ',' + static_cast<char>('0' + units % 10);
}

} // namespace

std::string groupedNumber(std::size_t n) {
    std::string digits = std::to_string(n);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), 1, '.');
    return digits;
}

std::string sizeLabel(int widthUnits, int heightUnits) {
    return millimetres(widthUnits) + " × " + millimetres(heightUnits) + " mm";
}

std::string stitchesLabel(std::size_t stitches) {
    return groupedNumber(stitches) + (stitches == 1 ? " Stich" : " Stiche");
}

std::string colorsLabel(std::size_t colors) {
    return groupedNumber(colors) + (colors == 1 ? " Farbe" : " Farben");
}

std::string pageLabel(int page, int pages) {
    return "Seite " + std::to_string(page) + " von " + std::to_string(pages);
}

} // namespace katalog
