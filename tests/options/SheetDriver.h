// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "options/NadelixOptionen.h"

#include <QCheckBox>

#include <functional>
#include <memory>

// Works the options sheet while it runs modally, as a person would: the action runs once the
// sheet is open, and the sheet is cancelled afterwards if the action left it open, so that a
// failing test never hangs.
class SheetDriver {
public:
    explicit SheetDriver(std::function<void(CNadelixOptionen&)> action);

    // Whether a sheet was found open and worked.
    bool ran() const { return *m_ran; }

private:
    std::shared_ptr<bool> m_ran;
};

// What a person does on the sheet.
QCheckBox* checkBox(CNadelixOptionen& sheet, int id);
void showPage(CNadelixOptionen& sheet, int index);
void toggle(CNadelixOptionen& sheet, int id);
void clickButton(CNadelixOptionen& sheet, int id);
