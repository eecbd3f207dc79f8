// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#pragma once

// Shows the busy cursor over the whole program while it lives, for work on the window's thread
// that may take a while (copies onto a slow share).
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// Shows the normal cursor while it lives if a busy one is showing: a question asked in the
// middle of such work waits for the user, not for the program.
class NormalCursorWhileAsking {
public:
    NormalCursorWhileAsking();
    ~NormalCursorWhileAsking();
    NormalCursorWhileAsking(const NormalCursorWhileAsking&) = delete;
    NormalCursorWhileAsking& operator=(const NormalCursorWhileAsking&) = delete;

private:
    bool m_set = false;
};
