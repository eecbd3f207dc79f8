// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <vector>

// The category walk as it first was: every directory opened, and every link asked, by its whole
// path. The reference that the walk by names must match, and the baseline it is timed against.
// Returns the paths of the sub-directories below target, depth first, at most limit of them
// (one more when the limit cut the walk, as the walk counts).
std::vector<std::string> categoriesByWholePaths(const std::string& target, int limit);
