// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "DesignSink.h"

#include <cstdint>
#include <optional>

// The thread a JEF file's colour index names, or none for index 0 (a stop that keeps the
// thread).
std::optional<ColorRef> janomeThread(std::int32_t index);
