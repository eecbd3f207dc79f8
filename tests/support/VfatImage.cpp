// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "VfatImage.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace {

bool run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

bool isMountPoint(const std::string& path) {
    std::ifstream mounts("/proc/self/mounts");
    std::string device, point, rest;
    while (mounts >> device >> point && std::getline(mounts, rest))
        if (point == path)
            return true;
    return false;
}

} // namespace

VfatImage::VfatImage() {
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        m_skipReason = "/dev/fuse is missing or not usable here, so no FAT image can be mounted";
        return;
    }
    for (const char* tool : {"mkfs.vfat", "fusefat", "fusermount"})
        if (!run(std::string("command -v ") + tool)) {
            m_skipReason = std::string(tool) + " is not installed (scripts/install-deps.sh)";
            return;
        }
    const std::string image = m_dir.file("stick.img");
    m_mountPoint = m_dir.makeDir("stick");
    if (!run("mkfs.vfat -C '" + image + "' 8192")) {
        m_skipReason = "mkfs.vfat could not make an image";
        return;
    }
    if (!run("fusefat -o rw+ '" + image + "' '" + m_mountPoint + "'")) {
        m_skipReason = "fusefat could not mount the image (FUSE refused)";
        return;
    }
    for (int i = 0; i < 100 && !isMountPoint(m_mountPoint); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    m_mounted = isMountPoint(m_mountPoint);
    if (!m_mounted)
        m_skipReason = "the FAT image did not appear as mounted";
}

VfatImage::~VfatImage() {
    if (m_mounted)
        run("fusermount -u '" + m_mountPoint + "' || fusermount -uz '" + m_mountPoint + "'");
}
