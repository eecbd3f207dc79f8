// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "FaultyFileSystem.h"
#include "TempDir.h"
#include "sort/DesignBrowser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Op = FaultyFileSystem::Op;

namespace {

// The list as (shown name, name on disk) pairs.
std::vector<std::pair<std::string, std::string>> listOf(const DesignBrowser& b) {
    std::vector<std::pair<std::string, std::string>> out;
    for (std::size_t i = 0; i < b.m_FileList.size(); ++i)
        out.emplace_back(b.m_FileList[i].name, b.m_FileList[i].diskName);
    return out;
}

void setAllFormats(DesignBrowser& b, int on) {
    b.m_bPES = b.m_bPEC = b.m_bPCS = b.m_bDST = b.m_bSEW = on;
    b.m_bART = b.m_bHUS = b.m_bKRZ = on;
}

} // namespace

TEST(ScanSource, ListsTheAcceptedFilesOfOneLevelUpperCased) {
    const struct {
        const char* disk;
        const char* shown; // nullptr: not listed
        bool directory;
    } rows[] = {
        {"rose.pes", "ROSE.PES", false},
        {"Stern.Dst", "STERN.DST", false},
        {"notes.txt", nullptr, false},
        {"alt.pes", nullptr, true},        // a sub-directory, whatever its name
        {"MUSTERPES", "MUSTERPES", false}, // no dot needed
        {"MUSTER.PES.BAK", nullptr, false},
        {".versteckt.pec", ".VERSTECKT.PEC", false}, // hidden files are not excluded
        {".PCS", ".PCS", false},
        {"es", nullptr, false}, // shorter than a type code
        {"ohne", nullptr, false},
        {"figur.art", nullptr, false}, // off by default
        {"figur.hus", nullptr, false},
        {"figur.krz", nullptr, false},
        {"Blume.SEW", "BLUME.SEW", false},
        {"r\xC3\xB6schen.pcs", "R\xC3\x96SCHEN.PCS", false}, // UTF-8 umlaut upper-cased
        {"r\xF6se.pes", "R\xF6SE.PES", false},               // not UTF-8: byte kept
        {"\xFF\xFE.dst", "\xFF\xFE.DST", false},
        {"stra\xC3\x9F"
         "e.pe\xC5\xBF",
         "STRA\xC3\x9F"
         "E.PES",
         false},                            // long s upper-cases to S
        {"unter/tief.pes", nullptr, false}, // one level only
    };
    TempDir dir;
    std::map<std::string, const char*> shownByDisk;
    for (const auto& row : rows) {
        if (row.directory)
            dir.makeDir(row.disk);
        else
            dir.write(row.disk, "x");
        shownByDisk[row.disk] = row.shown;
    }

    std::vector<std::pair<std::string, std::string>> expected;
    for (const auto& [disk, shown] : shownByDisk) {
        if (shown)
            expected.emplace_back(shown, disk);
    }
    std::sort(expected.begin(), expected.end()); // the order has a test of its own

    DesignBrowser b;
    EXPECT_EQ(b.ScanSource(dir.path()), static_cast<int>(expected.size()));
    EXPECT_EQ(listOf(b), expected);
    // A trailing separator makes no difference.
    EXPECT_EQ(b.ScanSource(dir.path() + "/"), static_cast<int>(expected.size()));
    EXPECT_EQ(listOf(b), expected);
}

TEST(ScanSource, ListsByShownNameComparedByteByByte) {
    // Made in an order of their own; whatever order the file system keeps, the list is by the
    // upper-cased name's bytes: digits before letters, no number order, umlauts and bytes that
    // are not UTF-8 after Z, names shown alike by their names on disk.
    const char* const made[] = {"ALPHA.DST",
                                "10.DST",
                                "mitte.pec",
                                "2.dst",
                                "\xFF"
                                "ende.dst",
                                "rose10.pes",
                                "Rose2.pes",
                                "rose.pes",
                                "\xC3\xA4pfel.pes",
                                "zebra.sew",
                                "_unter.pcs",
                                "ROSE.PES",
                                "Muster 9.pes",
                                "Muster 10.pes",
                                "Muster 1.pes"};
    const std::pair<std::string, std::string> expected[] = {
        {"10.DST", "10.DST"},
        {"2.DST", "2.dst"},
        {"ALPHA.DST", "ALPHA.DST"},
        {"MITTE.PEC", "mitte.pec"},
        {"MUSTER 1.PES", "Muster 1.pes"},
        {"MUSTER 10.PES", "Muster 10.pes"},
        {"MUSTER 9.PES", "Muster 9.pes"},
        {"ROSE.PES", "ROSE.PES"},
        {"ROSE.PES", "rose.pes"},
        {"ROSE10.PES", "rose10.pes"},
        {"ROSE2.PES", "Rose2.pes"},
        {"ZEBRA.SEW", "zebra.sew"},
        {"_UNTER.PCS", "_unter.pcs"},
        {"\xC3\x84PFEL.PES", "\xC3\xA4pfel.pes"},
        {"\xFF"
         "ENDE.DST",
         "\xFF"
         "ende.dst"},
    };
    TempDir dir;
    for (const char* name : made)
        dir.write(name, "x");
    DesignBrowser b;
    b.ScanSource(dir.path());
    EXPECT_EQ(listOf(b), std::vector(std::begin(expected), std::end(expected)));
}

TEST(ScanSource, EachTypeCodeIsListedOnlyWhileItsSettingIsOn) {
    const struct {
        const char* disk;
        int DesignBrowser::*setting;
        bool byDefault;
    } rows[] = {
        {"a.pes", &DesignBrowser::m_bPES, true},  {"a.pec", &DesignBrowser::m_bPEC, true},
        {"a.pcs", &DesignBrowser::m_bPCS, true},  {"a.dst", &DesignBrowser::m_bDST, true},
        {"a.sew", &DesignBrowser::m_bSEW, true},  {"a.art", &DesignBrowser::m_bART, false},
        {"a.hus", &DesignBrowser::m_bHUS, false}, {"a.krz", &DesignBrowser::m_bKRZ, false},
    };
    TempDir dir;
    for (const auto& row : rows)
        dir.write(row.disk, "x");

    DesignBrowser defaults;
    EXPECT_EQ(defaults.ScanSource(dir.path()), 5);
    for (const auto& row : rows) {
        bool listed = false;
        for (const auto& [shown, disk] : listOf(defaults))
            listed = listed || disk == row.disk;
        EXPECT_EQ(listed, row.byDefault) << row.disk;
    }

    for (const auto& row : rows) {
        DesignBrowser only;
        setAllFormats(only, 0);
        only.*row.setting = 1;
        ASSERT_EQ(only.ScanSource(dir.path()), 1) << row.disk;
        EXPECT_EQ(only.m_FileList[0].diskName, row.disk);

        DesignBrowser allBut;
        setAllFormats(allBut, 1);
        allBut.*row.setting = 0;
        EXPECT_EQ(allBut.ScanSource(dir.path()), 7) << row.disk;

        // Any non-zero value counts as on.
        only.*row.setting = -7;
        EXPECT_EQ(only.ScanSource(dir.path()), 1) << row.disk;
    }
}

TEST(ScanSource, LinksCountAsWhatTheyLeadToAndSpecialFilesAreLeftOut) {
    TempDir dir;
    dir.write("rose.pes", "x");
    dir.makeDir("ordner");
    ASSERT_EQ(::symlink("ordner", dir.file("zumordner.pes").c_str()), 0);
    ASSERT_EQ(::symlink(".", dir.file("selbst.pes").c_str()), 0); // a loop back to itself
    ASSERT_EQ(::symlink("rose.pes", dir.file("verweis.pes").c_str()), 0);
    ASSERT_EQ(::symlink("fehlt.pes", dir.file("haengend.pes").c_str()), 0);
    ASSERT_EQ(::symlink("kreis2.pes", dir.file("kreis1.pes").c_str()), 0);
    ASSERT_EQ(::symlink("kreis1.pes", dir.file("kreis2.pes").c_str()), 0);
    ASSERT_EQ(::mkfifo(dir.file("rohr.pes").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("rohr.pes", dir.file("zumrohr.pes").c_str()), 0);

    DesignBrowser b;
    b.ScanSource(dir.path());
    std::vector<std::string> listed;
    for (const auto& [shown, disk] : listOf(b))
        listed.push_back(disk);
    std::sort(listed.begin(), listed.end());
    // Links that lead nowhere look like files; loading them says why they cannot be read.
    EXPECT_EQ(listed, (std::vector<std::string>{"haengend.pes", "kreis1.pes", "kreis2.pes",
                                                "rose.pes", "verweis.pes"}));
}

TEST(ScanSource, ADirectoryThatCannotBeListedLeavesAnEmptyList) {
    TempDir dir;
    dir.write("rose.pes", "x");
    const std::string file = dir.write("datei.pes", "x");

    struct Case {
        const char* what;
        std::string directory;
        int injected; // errno for opening the listing, 0 for none
    };
    const Case cases[] = {
        {"vanished", dir.file("weg"), 0},
        {"a file", file, 0},
        {"below a file", file + "/unter", 0},
        {"empty name", "", 0},
        {"no permission", dir.path(), EACCES},
        {"I/O error", dir.path(), EIO},
        {"too many open files", dir.path(), EMFILE},
    };
    for (const Case& c : cases) {
        DesignBrowser b; // still holds its 500 empty names
        FaultyFileSystem faults;
        if (c.injected)
            faults.failOn(Op::OpenDirectory, c.injected);
        EXPECT_EQ(b.ScanSource(c.directory), 0) << c.what;
        EXPECT_TRUE(b.m_FileList.isEmpty()) << c.what;
    }
}

TEST(ScanSource, ADirectoryWithoutReadPermissionLeavesAnEmptyList) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every directory; covered by fault injection";
    TempDir dir;
    const std::string locked = dir.makeDir("gesperrt");
    ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
    DesignBrowser b;
    EXPECT_EQ(b.ScanSource(locked), 0);
    EXPECT_TRUE(b.m_FileList.isEmpty());
}

TEST(ScanSource, ReplacesTheInitialEmptyNamesAndEveryEarlierScan) {
    TempDir first, second;
    first.write("a.pes", "x");
    first.write("b.pes", "x");
    second.write("c.dst", "x");

    DesignBrowser b;
    ASSERT_EQ(b.m_FileList.size(), DesignModel::kInitialFileNames);
    EXPECT_EQ(b.ScanSource(first.path()), 2);
    EXPECT_EQ(b.m_FileList.size(), 2u);
    EXPECT_EQ(b.ScanSource(second.path()), 1);
    EXPECT_EQ(listOf(b), (std::vector<std::pair<std::string, std::string>>{{"C.DST", "c.dst"}}));
}

TEST(ScanSource, RescanMakesTheDirectoryTheSourceWithOneTrailingSeparator) {
    TempDir dir;
    dir.write("a.pes", "x");
    for (const std::string& given : {dir.path(), dir.path() + "/"}) {
        DesignBrowser b;
        b.m_nAktuell = 7;
        b.RescanSource(given);
        EXPECT_EQ(b.m_strSourceDir, dir.path() + "/");
        EXPECT_EQ(b.m_nAktuell, 0);
        EXPECT_EQ(b.m_FileList.size(), 1u);
    }
}

TEST(ScanSource, ListsTenThousandFiles) {
    TempDir dir;
    for (int i = 0; i < 10000; ++i)
        dir.write("m" + std::to_string(i) + (i % 2 ? ".pes" : ".txt"), "");
    DesignBrowser b;
    EXPECT_EQ(b.ScanSource(dir.path()), 5000);
    EXPECT_EQ(b.m_FileList.size(), 5000u);
}
