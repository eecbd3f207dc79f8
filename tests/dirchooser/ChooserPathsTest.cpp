// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "dirchooser/ChooserPaths.h"

#include <gtest/gtest.h>

using namespace dirchooser;
using platform::DriveList;
using platform::DriveType;

namespace {
const DriveList kDrives = {{"/", DriveType::Fixed}, {"/media/usb", DriveType::Removable}};
}

TEST(ChooserPaths, WalkComparesOnePrefixPerComponent) {
    using Prefixes = std::vector<std::string>;
    const struct {
        const char* path;
        const char* root;
        Prefixes prefixes;
    } cases[] = {
        {"/muster/rosen", "/", {"/muster", "/muster/rosen"}},
        {"/muster", "/", {"/muster"}},
        // A trailing separator ends in a prefix that no item has.
        {"/muster/", "/", {"/muster", "/muster/"}},
        {"/media/usb/muster/rosen", "/media/usb", {"/media/usb/muster", "/media/usb/muster/rosen"}},
        {"/media/usb/", "/media/usb", {"/media/usb/"}},
        {"/a//b", "/", {"/a", "/a/", "/a//b"}},
        {"/", "/", {}},
        {"/media/usb", "/media/usb", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(walkPrefixes(c.path, c.root), c.prefixes) << c.path;
}

TEST(ChooserPaths, DriveRootRulesStandForTheCharacterCounts) {
    const struct {
        const char* path;
        bool beginsWithRoot;
        bool noLongerThanRoot;
    } cases[] = {
        {"", false, true},
        {"ab", false, true},
        {"relative/x", false, true},
        {"/", true, true},
        {"/a", true, false},
        {"/media/usb", true, true},
        {"/media/usb/", true, false},
        {"/media/usbx", true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(beginsWithDriveRoot(c.path, kDrives), c.beginsWithRoot) << c.path;
        EXPECT_EQ(isNoLongerThanDriveRoot(c.path, kDrives), c.noLongerThanRoot) << c.path;
    }
}

TEST(ChooserPaths, StartingRootFallsBackToTheCurrentDirectorysDrive) {
    EXPECT_EQ(startingRoot("/media/usb/x", "/home", kDrives), "/media/usb");
    EXPECT_EQ(startingRoot("/home/x", "/media/usb/y", kDrives), "/");
    EXPECT_EQ(startingRoot("", "/media/usb/y", kDrives), "/media/usb");
    EXPECT_EQ(startingRoot("x/y/z", "/media/usb", kDrives), "/media/usb");
    EXPECT_EQ(startingRoot("", "", kDrives), ""); // the current directory is gone
}

TEST(ChooserPaths, FoldersSortIgnoringCaseAndAccentsFirst) {
    std::vector<std::string> names = {"zebra", "Ärger", "apfel", "b", "Birne",
                                      "B",     "Äpfel", "10",    "9", "b\xE4r"};
    sortFolderNames(names);
    // Names that compare equal keep a fixed order by their bytes ("B" before "b"); a byte
    // that is not UTF-8 sorts as the replacement character it is shown as.
    const std::vector<std::string> expected = {"10", "9", "apfel", "Äpfel",  "Ärger",
                                               "B",  "b", "Birne", "b\xE4r", "zebra"};
    EXPECT_EQ(names, expected);
}
