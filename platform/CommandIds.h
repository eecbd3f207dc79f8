// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

namespace platform {

// The menu's command ids, numbered as the program's design gives them: the frame builds the
// menu from them and the view handles the first two.
inline constexpr int ID_NACH_KATEGORIEN = 32774;
inline constexpr int ID_OPTIONEN = 32775;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;

} // namespace platform
