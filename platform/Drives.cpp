// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "Drives.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <unistd.h>

namespace platform {

namespace {

bool isOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

// Splits at single spaces; the kernel never writes empty fields.
std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> out;
    while (!line.empty()) {
        const std::size_t space = line.find(' ');
        if (space != 0)
            out.push_back(line.substr(0, space));
        if (space == std::string_view::npos)
            break;
        line.remove_prefix(space + 1);
    }
    return out;
}

std::string readSmallFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text;
    std::getline(in, text, '\0');
    return text;
}

bool fileSaysOne(const std::string& path) {
    const std::string text = readSmallFile(path);
    return !text.empty() && text[0] == '1';
}

bool exists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

std::string realPath(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                         &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
}

std::string parentOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string("/") : path.substr(0, slash);
}

DriveProvider& installedProvider() {
    static DriveProvider provider;
    return provider;
}

} // namespace

std::string decodeMountField(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctalDigit(field[i + 1]) &&
            isOctalDigit(field[i + 2]) && isOctalDigit(field[i + 3])) {
            const int value =
                (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            if (value <= 0xFF) {
                out += static_cast<char>(value);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

std::vector<MountEntry> parseMountInfo(std::string_view text) {
    std::vector<MountEntry> mounts;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

        // id parent major:minor root mount-point options [optional...] - type source super
        const std::vector<std::string_view> f = fields(line);
        if (f.size() < 7)
            continue;
        const auto dash = std::find(f.begin() + 6, f.end(), std::string_view("-"));
        if (dash == f.end() || std::distance(dash, f.end()) < 3)
            continue;
        MountEntry mount;
        mount.device = std::string(f[2]);
        mount.mountPoint = decodeMountField(f[4]);
        mount.fsType = decodeMountField(*(dash + 1));
        mount.source = decodeMountField(*(dash + 2));
        mounts.push_back(std::move(mount));
    }
    return mounts;
}

bool isVolumeMountPoint(std::string_view mountPoint) {
    for (std::string_view base : {"/media", "/run/media", "/mnt"}) {
        if (isDriveRootOf(base, mountPoint))
            return true;
    }
    return false;
}

DriveType driveTypeFor(std::string_view fsType, bool removableDevice) {
    if (fsType == "iso9660" || fsType == "udf")
        return DriveType::CdRom;
    static constexpr std::array<std::string_view, 7> network = {"nfs", "nfs4",  "cifs",      "smb3",
                                                                "9p",  "sshfs", "fuse.sshfs"};
    if (std::find(network.begin(), network.end(), fsType) != network.end())
        return DriveType::Remote;
    if (removableDevice)
        return DriveType::Removable;
    if (fsType == "tmpfs" || fsType == "ramfs")
        return DriveType::RamDisk;
    return DriveType::Fixed;
}

bool isRemovableDevice(const MountEntry& mount, const std::string& sysRoot) {
    // Block devices appear under /sys/dev/block by number. File systems such as btrfs report
    // an anonymous number; then the device named as the mount's source is looked up by name.
    std::string device = sysRoot + "/dev/block/" + mount.device;
    if (!exists(device)) {
        if (mount.source.rfind("/dev/", 0) != 0)
            return false;
        std::string name = realPath(mount.source);
        if (name.empty())
            name = mount.source;
        device = sysRoot + "/class/block/" + name.substr(name.find_last_of('/') + 1);
        if (!exists(device))
            return false;
    }
    if (exists(device + "/removable"))
        return fileSaysOne(device + "/removable");
    // A partition: the mark sits on the disk, its parent in the device tree.
    if (exists(device + "/partition")) {
        const std::string resolved = realPath(device);
        const std::string disk = resolved.empty() ? device + "/.." : parentOf(resolved);
        return fileSaysOne(disk + "/removable");
    }
    return false;
}

DriveList drivesFromMounts(const std::vector<MountEntry>& mounts,
                           const std::function<bool(const MountEntry&)>& isRemovable) {
    std::map<std::string, const MountEntry*> volumes; // ordered by mount path, bytewise
    for (const MountEntry& mount : mounts) {
        if (isVolumeMountPoint(mount.mountPoint))
            volumes[mount.mountPoint] = &mount;
    }
    DriveList list{{"/", DriveType::Fixed}};
    for (const auto& [mountPoint, mount] : volumes) {
        const bool removable = isRemovable && isRemovable(*mount);
        list.push_back({mountPoint, driveTypeFor(mount->fsType, removable)});
    }
    return list;
}

DriveList systemDrives() {
    std::ifstream in("/proc/self/mountinfo", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return drivesFromMounts(parseMountInfo(text.str()),
                            [](const MountEntry& mount) { return isRemovableDevice(mount); });
}

DriveList drives() {
    const DriveProvider& provider = installedProvider();
    return provider ? provider() : systemDrives();
}

void setDriveProvider(DriveProvider provider) {
    installedProvider() = std::move(provider);
}

bool isDriveRootOf(std::string_view root, std::string_view path) {
    if (root.empty() || path.substr(0, root.size()) != root)
        return false;
    return path.size() == root.size() || root.back() == '/' || path[root.size()] == '/';
}

std::string driveRootOf(std::string_view path, const DriveList& drives) {
    std::string_view best;
    for (const Drive& drive : drives) {
        if (drive.root.size() > best.size() && isDriveRootOf(drive.root, path))
            best = drive.root;
    }
    return std::string(best);
}

std::string currentDirectory() {
    std::string buffer(PATH_MAX, '\0');
    while (!::getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE)
            return {};
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(std::char_traits<char>::length(buffer.c_str()));
    return buffer;
}

} // namespace platform
