// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QIcon>

// The program's own icon, drawn from its SVG in the resources at the usual icon sizes.
QIcon programIcon();
