// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

// Resource and control ids of the shell. The numbers are the ones the program's design
// gives every window and control; the widgets carry them as object names so that tests (and
// assistive tools) find every control by its id.
inline constexpr int IDR_MAINFRAME = 128; // the frame's menu, icon and title
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDOK = 1;

inline constexpr int AFX_IDW_PANE_FIRST = 0xE900; // the design view
inline constexpr int AFX_IDW_STATUS_BAR = 0xE801;

// Status-bar panes.
inline constexpr int ID_SEPARATOR = 0; // the message pane
inline constexpr int ID_INDICATOR_CAPS = 0xE701;
inline constexpr int ID_INDICATOR_NUM = 0xE702;
inline constexpr int ID_INDICATOR_SCRL = 0xE703;

// The object name that stands for an id.
inline QString idName(int id) {
    return QString::number(id);
}
