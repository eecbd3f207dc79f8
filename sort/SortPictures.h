// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>

class QStyle;

namespace sortdialog {

// Side of one copy-mark picture, in pixels.
inline constexpr int kMarkSize = 14;

// The two copy-mark pictures: a black frame with rounded corners, empty (not marked) and
// filled with red (marked).
QList<QPixmap> markImages();

// The pictures of the dialog's icon buttons by their resource numbers: 143 close, 138 next,
// 139 previous, 140 delete, 142 copy. The style's own pictures where one fits.
QIcon buttonIcon(int iconId, const QStyle* style);

} // namespace sortdialog
