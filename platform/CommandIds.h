#pragma once

namespace platform {

// The menu's command ids, with their historical numbers: the frame builds the menu from them
// and the view handles the first two.
inline constexpr int ID_NACH_KATEGORIEN = 32774;
inline constexpr int ID_OPTIONEN = 32775;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;

} // namespace platform
