// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The kinds of drive the directory chooser tells apart, numbered as the drive-type codes
// the program's drive images were made for.
enum class DriveType : int {
    Unknown = 0,
    NoRootDir = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6,
};

// One drive: the root "/" or a mounted volume. Its root text is its mount path.
struct Drive {
    std::string root;
    DriveType type = DriveType::Fixed;

    bool operator==(const Drive&) const = default;
};
using DriveList = std::vector<Drive>;

// One line of /proc/self/mountinfo, with the escapes of the kernel decoded.
struct MountEntry {
    std::string device; // "major:minor"
    std::string mountPoint;
    std::string fsType;
    std::string source;
};

// The kernel writes space, tab, newline and backslash in mount fields as \ooo (octal).
std::string decodeMountField(std::string_view field);
// Every well-formed line of a mountinfo text, in the kernel's order; malformed lines are
// skipped.
std::vector<MountEntry> parseMountInfo(std::string_view text);

// Whether a mount point is where volumes are mounted for users: /media, /run/media or /mnt,
// or a directory below one of them.
bool isVolumeMountPoint(std::string_view mountPoint);
// The drive type of a file system of type fsType; removableDevice tells whether the block
// device behind it is marked removable.
DriveType driveTypeFor(std::string_view fsType, bool removableDevice);
// Whether the mount's block device is marked removable in the sysfs tree at sysRoot
// (a partition inherits the mark of its disk).
bool isRemovableDevice(const MountEntry& mount, const std::string& sysRoot = "/sys");

// The drive list made from mounts: "/" as a fixed disk first, then every volume mount point
// in byte order of its path. When several mounts share a mount point the last one counts,
// as it hides the others.
DriveList drivesFromMounts(const std::vector<MountEntry>& mounts,
                           const std::function<bool(const MountEntry&)>& isRemovable);
// The machine's drives, read from /proc/self/mountinfo and /sys.
DriveList systemDrives();

// The drives the program works with: the machine's, unless a test installed a provider.
DriveList drives();
using DriveProvider = std::function<DriveList()>;
// Installs provider as the source of drives(); an empty provider goes back to the machine.
void setDriveProvider(DriveProvider provider);

// Whether root is a whole-component prefix of path: "/media/usb" is one of "/media/usb" and
// "/media/usb/x" but not of "/media/usbx"; "/" is one of every absolute path.
bool isDriveRootOf(std::string_view root, std::string_view path);
// The drive a path lies on: the longest root of the list that is a whole-component prefix
// of it; empty when there is none (an empty or relative path).
std::string driveRootOf(std::string_view path, const DriveList& drives);

// The process's current directory; empty when it cannot be read (it was removed, say).
std::string currentDirectory();

} // namespace platform
