// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstddef>

// Counts calls of the global operator new, to show that a hot path does not allocate.
std::size_t allocationCount();
