// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <optional>

// Which keyboard locks are on.
struct KeyLockState {
    bool caps = false;
    bool num = false;
    bool scroll = false;
    bool operator==(const KeyLockState&) const = default;
};

// The locks as the X server's keyboard extension reports them; empty where they cannot be
// read (another platform, such as the offscreen one, or a server without the extension).
std::optional<KeyLockState> readKeyLocks();
