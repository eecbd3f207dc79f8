// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "platform/Drives.h"

#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace platform;

TEST(Drives, MountFieldEscapesAreDecoded) {
    const struct {
        const char* field;
        const char* decoded;
    } cases[] = {
        {"/media/My\\040Stick", "/media/My Stick"},
        {"/mnt/a\\011b\\012c", "/mnt/a\tb\nc"},
        {"/mnt/back\\134slash", "/mnt/back\\slash"},
        {"/mnt/\\303\\244", "/mnt/\xC3\xA4"}, // bytes pass through as they are
        {"/mnt/cut\\04", "/mnt/cut\\04"},     // too short to be an escape
        {"/mnt/x\\9aa", "/mnt/x\\9aa"},       // not octal
        {"/mnt/big\\400", "/mnt/big\\400"},   // beyond a byte
        {"/mnt/end\\", "/mnt/end\\"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeMountField(c.field), c.decoded) << c.field;
}

TEST(Drives, MountInfoLinesGiveDeviceMountPointTypeAndSource) {
    const std::string text =
        "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
        "40 27 8:17 / /media/anna/USB\\040STICK rw shared:5 master:1 - vfat /dev/sdb1 rw\n"
        "41 27 0:50 / /mnt/server rw - nfs4 host:/export rw\n"
        "broken line\n"
        "42 27 0:51 / /mnt/no-dash rw nfs host:/x rw\n"
        "43 27 11:0 / /media/cd ro - iso9660 /dev/sr0 ro"; // no final newline
    const std::vector<MountEntry> mounts = parseMountInfo(text);
    ASSERT_EQ(mounts.size(), 4u);
    EXPECT_EQ(mounts[0].mountPoint, "/");
    EXPECT_EQ(mounts[1].device, "8:17");
    EXPECT_EQ(mounts[1].mountPoint, "/media/anna/USB STICK");
    EXPECT_EQ(mounts[1].fsType, "vfat");
    EXPECT_EQ(mounts[1].source, "/dev/sdb1");
    EXPECT_EQ(mounts[2].fsType, "nfs4");
    EXPECT_EQ(mounts[2].source, "host:/export");
    EXPECT_EQ(mounts[3].mountPoint, "/media/cd");
    EXPECT_EQ(mounts[3].fsType, "iso9660");
}

TEST(Drives, VolumeMountPointsLieAtOrBelowTheUsualPlaces) {
    for (const char* yes : {"/media/usb", "/media", "/run/media/anna/X", "/mnt", "/mnt/a/b"})
        EXPECT_TRUE(isVolumeMountPoint(yes)) << yes;
    for (const char* no : {"/", "/home", "/mntx", "/media2/usb", "/run/mediax", "/run", "mnt/x"})
        EXPECT_FALSE(isVolumeMountPoint(no)) << no;
}

TEST(Drives, FileSystemTypesMapToDriveTypes) {
    const struct {
        const char* fsType;
        bool removable;
        DriveType type;
    } cases[] = {
        {"iso9660", false, DriveType::CdRom},     {"udf", true, DriveType::CdRom},
        {"nfs", false, DriveType::Remote},        {"nfs4", false, DriveType::Remote},
        {"cifs", false, DriveType::Remote},       {"smb3", false, DriveType::Remote},
        {"9p", false, DriveType::Remote},         {"sshfs", false, DriveType::Remote},
        {"fuse.sshfs", false, DriveType::Remote}, {"vfat", true, DriveType::Removable},
        {"ext4", true, DriveType::Removable},     {"tmpfs", false, DriveType::RamDisk},
        {"ramfs", false, DriveType::RamDisk},     {"ext4", false, DriveType::Fixed},
        {"fuse.other", false, DriveType::Fixed},
    };
    for (const auto& c : cases)
        EXPECT_EQ(driveTypeFor(c.fsType, c.removable), c.type) << c.fsType;
}

TEST(Drives, ListStartsWithTheRootAndFollowsMountPointOrder) {
    const std::vector<MountEntry> mounts = {
        {"254:0", "/", "ext4", "/dev/vda"},
        {"0:40", "/mnt/z", "tmpfs", "tmpfs"},
        {"8:17", "/media/stick", "vfat", "/dev/sdb1"},
        {"0:41", "/home", "ext4", "/dev/vdb"}, // not where volumes are mounted
        {"11:0", "/media/cd", "iso9660", "/dev/sr0"},
        {"0:42", "/mnt/z", "cifs", "//host/share"}, // hides the tmpfs below it
        {"0:43", "/run/media/anna/net", "sshfs", "host:"},
    };
    const DriveList list =
        drivesFromMounts(mounts, [](const MountEntry& m) { return m.device == "8:17"; });
    const DriveList expected = {
        {"/", DriveType::Fixed},
        {"/media/cd", DriveType::CdRom},
        {"/media/stick", DriveType::Removable},
        {"/mnt/z", DriveType::Remote},
        {"/run/media/anna/net", DriveType::Remote},
    };
    EXPECT_EQ(list, expected);
}

TEST(Drives, RemovableMarkIsReadFromTheDiskOfAPartition) {
    TempDir sys;
    namespace fs = std::filesystem;
    // A removable disk with one partition, a fixed disk, and a device found only by name.
    sys.write("devices/usb/block/sdb/removable", "1\n");
    sys.write("devices/usb/block/sdb/sdb1/partition", "1\n");
    sys.write("devices/pci/block/sda/removable", "0\n");
    sys.write("devices/pci/block/sdc/removable", "1\n");
    sys.makeDir("dev/block");
    sys.makeDir("class/block");
    fs::create_directory_symlink(sys.file("devices/usb/block/sdb/sdb1"),
                                 sys.file("dev/block/8:17"));
    fs::create_directory_symlink(sys.file("devices/usb/block/sdb"), sys.file("dev/block/8:16"));
    fs::create_directory_symlink(sys.file("devices/pci/block/sda"), sys.file("dev/block/8:0"));
    fs::create_directory_symlink(sys.file("devices/pci/block/sdc"), sys.file("class/block/sdc"));

    const struct {
        MountEntry mount;
        bool removable;
    } cases[] = {
        {{"8:17", "/media/a", "vfat", "/dev/sdb1"}, true},
        {{"8:16", "/media/b", "vfat", "/dev/sdb"}, true},
        {{"8:0", "/mnt/c", "ext4", "/dev/sda"}, false},
        {{"0:55", "/mnt/d", "btrfs", "/dev/nadelix-no-such/sdc"}, true},
        {{"0:56", "/mnt/e", "tmpfs", "tmpfs"}, false},
        {{"9:9", "/mnt/f", "ext4", "/dev/nadelix-no-such-device"}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isRemovableDevice(c.mount, sys.path()), c.removable) << c.mount.mountPoint;
}

TEST(Drives, DriveOfAPathIsTheLongestWholeComponentRoot) {
    const DriveList list = {{"/", DriveType::Fixed},
                            {"/media/usb", DriveType::Removable},
                            {"/media/usb/inner", DriveType::Fixed}};
    const struct {
        const char* path;
        const char* root;
    } cases[] = {
        {"/", "/"},
        {"/home/anna", "/"},
        {"/media/usb", "/media/usb"},
        {"/media/usb/", "/media/usb"},
        {"/media/usb/muster", "/media/usb"},
        {"/media/usbx/muster", "/"},
        {"/media/usb/inner/x", "/media/usb/inner"},
        {"/media/usb/innerx", "/media/usb"},
        {"", ""},
        {"relative/path", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(driveRootOf(c.path, list), c.root) << c.path;
}

TEST(Drives, TestsCanSubstituteTheDriveList) {
    const DriveList fake = {{"/", DriveType::Fixed}, {"/nadelix/cd", DriveType::CdRom}};
    setDriveProvider([fake] { return fake; });
    EXPECT_EQ(drives(), fake);
    setDriveProvider({});
    const DriveList real = drives();
    ASSERT_FALSE(real.empty());
    EXPECT_EQ(real.front(), (Drive{"/", DriveType::Fixed}));
}

TEST(Drives, CurrentDirectoryIsEmptyOnceItWasRemoved) {
    const std::string before = currentDirectory();
    ASSERT_FALSE(before.empty());
    {
        TempDir dir;
        const std::string gone = dir.makeDir("gone");
        ASSERT_EQ(::chdir(gone.c_str()), 0);
        EXPECT_EQ(currentDirectory(), gone);
        std::filesystem::remove(gone);
        EXPECT_EQ(currentDirectory(), "");
    }
    ASSERT_EQ(::chdir(before.c_str()), 0);
}
