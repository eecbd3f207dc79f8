// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

class QGroupBox;

// Qt draws a group box's title inside its frame, with more room than a layout table gives a
// title that sits on the frame's line. Moves the frame's top up, its bottom staying, until the
// title ends above the highest control the frame holds; the frame never rises above its window.
void fitGroupTitle(QGroupBox* group);
