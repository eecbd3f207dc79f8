// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "TempDir.h"

#include <string>

// A FAT file system in an image file, mounted through FUSE like a USB stick for an embroidery
// machine: no unnamed files, no links, names that ignore letter case. Where it cannot be
// made or mounted (no /dev/fuse, tools missing), skipReason says why.
class VfatImage {
public:
    VfatImage();
    ~VfatImage();
    VfatImage(const VfatImage&) = delete;
    VfatImage& operator=(const VfatImage&) = delete;

    bool mounted() const { return m_mounted; }
    const std::string& skipReason() const { return m_skipReason; }
    // The mount point, without a trailing separator.
    const std::string& path() const { return m_mountPoint; }

private:
    TempDir m_dir;
    std::string m_mountPoint;
    std::string m_skipReason;
    bool m_mounted = false;
};
