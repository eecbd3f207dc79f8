// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
//
// The source scan and the copies on a share through FUSE whose listings carry names only:
// one listing for the scan, entries named like designs refused when read, and every clash rule
// of a copy as on a local disk.
#include "SlowMount.h"
#include "SortFixture.h"

#include "platform/FileError.h"
#include "platform/UpperCaseName.h"
#include "sort/DesignBrowser.h"
#include "sort/SortCommands.h"

#include <sys/stat.h>

namespace {

using Names = std::vector<std::string>;

#define SKIP_UNLESS_MOUNTED(mount)                                                                 \
    if (!(mount).mounted())                                                                        \
    GTEST_SKIP() << (mount).skipReason()

std::string errorText(int error, const std::string& path) {
    return platform::fileErrorText(platform::FileError(platform::causeFromErrno(error), path));
}

Names shownNames(const DesignBrowser& b) {
    Names names;
    for (std::size_t i = 0; i < b.m_FileList.size(); ++i)
        names.push_back(b.m_FileList[i].name);
    std::sort(names.begin(), names.end());
    return names;
}

// A design, a directory and a FIFO named like designs, and a note.
void fillSource(const TempDir& backing) {
    backing.write("rose.pes", "x");
    backing.makeDir("Ordner.pes");
    ASSERT_EQ(::mkfifo(backing.file("rohr.dst").c_str(), 0644), 0);
    backing.write("notiz.txt", "");
}

} // namespace

TEST(SlowShare, TheScanListsOnceAndDecidesByNameWhereTheListingHasNoTypes) {
    platform::ScriptedQuestions questions;
    SlowMount mount;
    SKIP_UNLESS_MOUNTED(mount);
    fillSource(mount.backingDir());
    for (int i = 0; i < 200; ++i)
        mount.backingDir().write("muster" + std::to_string(i) + ".pes", "");

    DesignBrowser b;
    mount.resetRequests();
    EXPECT_EQ(b.ScanSource(mount.path()), 203);
    // One listing, not a question per entry.
    EXPECT_LT(mount.requests(), 20);

    // What the listing could not tell, reading tells: a file error, and no wait on the FIFO.
    b.m_FileList.removeAll();
    b.RescanSource(mount.path());
    for (std::size_t i = 0; i < b.m_FileList.size(); ++i)
        if (b.m_FileList[i].diskName == "Ordner.pes" || b.m_FileList[i].diskName == "rohr.dst")
            b.LoadFile(static_cast<int>(i));
    EXPECT_EQ(questions.shown, (Names{errorText(EISDIR, mount.path() + "/Ordner.pes"),
                                      errorText(EACCES, mount.path() + "/rohr.dst")}));
}

TEST(SlowShare, WhereTheListingHasTypesDirectoriesAndFifosAreLeftOutAsBefore) {
    SlowMount mount(SlowMount::Options{.delayMs = 0, .listingTypes = true});
    SKIP_UNLESS_MOUNTED(mount);
    fillSource(mount.backingDir());
    DesignBrowser b;
    b.ScanSource(mount.path());
    EXPECT_EQ(shownNames(b), Names{"ROSE.PES"});
}

namespace {

// The sort fixture's source and target, on the slow share.
class SlowCopies : public SortFixture {
protected:
    void SetUp() override {
        if (!mount.mounted())
            GTEST_SKIP() << mount.skipReason();
        m_strZiel = mount.path() + "/ziel/";
        mount.backingDir().makeDir("ziel");
    }
    std::string onShare(const std::string& relative) { return mount.path() + "/" + relative; }
    std::string behind(const std::string& relative) { return mount.backing() + "/" + relative; }
    NextStep copyInto(const Names& categories) {
        CategoryList list = listOf(categories, categories);
        const CopyContext c = context();
        return OnCopy(c, list);
    }

    SlowMount mount;
};

} // namespace

TEST_F(SlowCopies, ADirectoryOrFifoNamedLikeADesignIsRefusedWhenCopied) {
    fillSource(mount.backingDir());
    mount.backingDir().makeDir("ziel/A");
    for (const char* name : {"Ordner.pes", "rohr.dst"}) {
        SCOPED_TRACE(name);
        questions.shown.clear();
        m_strFilePath = onShare(name);
        m_strFileName = platform::upperCaseName(name);
        EXPECT_EQ(copyInto({"A"}), NextStep::Nothing);
        const int error = std::string(name) == "Ordner.pes" ? EISDIR : EACCES;
        EXPECT_EQ(questions.shown, Names{errorText(error, m_strFilePath)});
        EXPECT_EQ(namesIn(behind("ziel/A")), Names{});
    }
}

TEST_F(SlowCopies, ClashesAreRenamedOrRefusedAsOnALocalDisk) {
    const std::size_t size = 100;
    const struct {
        const char* name;
        Names existing; // with another size than the source
        Names sameSize;
        Names directories;
        Names after;
        Names shown;
    } rows[] = {
        {"nothing there", {}, {}, {}, {"ROSE.PES"}, {}},
        {"other size", {"ROSE.PES"}, {}, {}, {"ROSE.PES", "ROSE01.PES"}, {}},
        {"duplicate", {}, {"ROSE.PES"}, {}, {"ROSE.PES"}, {"Datei schon vorhanden"}},
        {"other case, other size", {"rose.pes"}, {}, {}, {"ROSE01.PES", "rose.pes"}, {}},
        {"other case, same size", {}, {"Rose.Pes"}, {}, {"Rose.Pes"}, {"Datei schon vorhanden"}},
        {"duplicate down the chain",
         {"ROSE.PES"},
         {"rose01.pes"},
         {},
         {"ROSE.PES", "rose01.pes"},
         {"Datei schon vorhanden"}},
        {"a directory has the name", {}, {}, {"ROSE.PES"}, {"ROSE.PES", "ROSE01.PES"}, {}},
        {"a leftover temporary file", {".nadelix-0123456789ab.tmp"}, {}, {}, {"ROSE.PES"}, {}},
    };
    mount.backingDir().write("quelle/rose.pes", bytesOfSize(size));
    m_strFilePath = onShare("quelle/rose.pes");
    m_strFileName = "ROSE.PES";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove_all(behind("ziel/A"));
        mount.backingDir().makeDir("ziel/A");
        for (const auto& n : row.existing)
            mount.backingDir().write("ziel/A/" + n, bytesOfSize(size + 1));
        for (const auto& n : row.sameSize)
            mount.backingDir().write("ziel/A/" + n, bytesOfSize(size)); // the same design
        for (const auto& n : row.directories)
            mount.backingDir().makeDir("ziel/A/" + n);
        questions.shown.clear();
        copyInto({"A"});
        EXPECT_EQ(namesIn(behind("ziel/A")), row.after);
        EXPECT_EQ(questions.shown, row.shown);
    }
}

TEST_F(SlowCopies, OneDesignIntoSeveralCategoriesNeverReplacesAnything) {
    mount.backingDir().write("quelle/rose.pes", bytesOfSize(300));
    m_strFilePath = onShare("quelle/rose.pes");
    m_strFileName = "ROSE.PES";
    const Names categories = {"A", "B", "C/D"};
    for (const auto& c : categories)
        mount.backingDir().write("ziel/" + c + "/ROSE.PES", bytesOfSize(20));
    m_bQuelleLoeschen = 1;
    mount.setDelay(1);
    EXPECT_EQ(copyInto(categories), NextStep::SourceRemoved);
    for (const auto& c : categories) {
        EXPECT_EQ(namesIn(behind("ziel/" + c)), (Names{"ROSE.PES", "ROSE01.PES"})) << c;
        EXPECT_EQ(readBytes(behind("ziel/" + c + "/ROSE.PES")), bytesOfSize(20)) << c;
        EXPECT_EQ(readBytes(behind("ziel/" + c + "/ROSE01.PES")), bytesOfSize(300)) << c;
    }
    EXPECT_FALSE(std::filesystem::exists(behind("quelle/rose.pes")));
    EXPECT_TRUE(questions.shown.empty());
}
