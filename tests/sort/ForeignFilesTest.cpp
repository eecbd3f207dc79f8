// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Other programs at work in the same folders while a design is copied or moved: a file that
// takes the copy's name meanwhile, one category reached by two paths, a source replaced by
// a FIFO or still being written. Nothing of theirs is replaced, nothing of ours is lost, and
// nothing waits for ever.
#include "sort/DesignCopy.h"
#include "sort/SortCommands.h"

#include "FaultyFileSystem.h"
#include "SortFixture.h"

#include <cerrno>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Op = FaultyFileSystem::Op;
using Names = std::vector<std::string>;

// Fails the test instead of hanging it when an open waits for a FIFO's writer.
class Deadline {
public:
    Deadline() { ::alarm(20); }
    ~Deadline() { ::alarm(0); }
};

class ForeignFiles : public SortFixture {
protected:
    NextStep copyMarked(CategoryList& list) {
        const CopyContext c = context();
        return OnCopy(c, list);
    }
};

} // namespace

// Another program puts a file under the copy's name after the name was found free.
TEST_F(ForeignFiles, ANameTakenAfterItWasTestedIsNeverReplaced) {
    const struct {
        const char* name;
        bool sameSize;
        int result;
        Names after;
        Names shown;
    } rows[] = {
        {"another design", false, 1, {"ROSE.PES", "ROSE01.PES"}, {}},
        {"the same design", true, 0, {"ROSE.PES"}, {"Datei schon vorhanden"}},
    };
    for (const auto naming : FaultyFileSystem::kNamings) {
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(FaultyFileSystem::nameOf(naming)) + ", " + row.name);
            FaultyFileSystem faulty;
            faulty.namesBy(naming);
            TempDir local;
            const std::string cat = local.makeDir("kat");
            useSource("rose.pes", bytesOfSize(100), "ROSE.PES");
            const auto theirs = row.sameSize ? bytesOfSize(100) : bytesOfSize(99, 5);
            questions.shown.clear();

            const CopyContext c = context();
            DesignCopy copy(c);
            ASSERT_TRUE(copy.start(cat));
            local.write("kat/ROSE.PES", theirs);
            EXPECT_EQ(copy.finish(), row.result);

            EXPECT_EQ(namesIn(cat), row.after);
            EXPECT_EQ(readBytes(cat + "/ROSE.PES"), theirs);
            EXPECT_EQ(questions.shown, row.shown);
            if (row.result) {
                EXPECT_EQ(readBytes(cat + "/ROSE01.PES"), bytesOfSize(100));
            }
        }
    }
}

TEST_F(ForeignFiles, WithoutRenamingANameTakenMeanwhileAsksWhereToSave) {
    m_bDateienNichtUmbenennen = 1;
    useSource("rose.pes", bytesOfSize(100), "ROSE.PES");
    const std::string cat = category("A");
    const std::string elsewhere = category("B") + "/ANDERS.PES";
    questions.saveFileAnswers = {elsewhere};

    const CopyContext c = context();
    DesignCopy copy(c);
    ASSERT_TRUE(copy.start(cat));
    dir.write("ziel/A/ROSE.PES", "fremd");
    EXPECT_EQ(copy.finish(), 1);
    ASSERT_EQ(questions.saveRequests.size(), 1u);
    EXPECT_EQ(questions.saveRequests[0].proposedPath, cat + "/ROSE.PES");
    EXPECT_EQ(readBytes(cat + "/ROSE.PES"), (std::vector<std::uint8_t>{'f', 'r', 'e', 'm', 'd'}));
    EXPECT_EQ(readBytes(elsewhere), bytesOfSize(100));
}

// Two marked categories that are one directory (a link): the second copy meets the first as
// it would have, one after the other.
TEST_F(ForeignFiles, TwoCategoriesThatAreOneDirectory) {
    const struct {
        const char* name;
        bool otherAlreadyThere;
        Names after;
    } rows[] = {
        {"empty category", false, {"ROSE.PES"}},
        {"another ROSE.PES there", true, {"ROSE.PES", "ROSE01.PES"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir local;
        m_strZiel = local.makeDir("ziel") + "/";
        const std::string real = local.makeDir("ziel/Rosen");
        std::filesystem::create_directory_symlink(real, local.file("ziel/Verweis"));
        if (row.otherAlreadyThere)
            local.write("ziel/Rosen/ROSE.PES", bytesOfSize(7));
        useSource("rose.pes", bytesOfSize(100), "ROSE.PES");
        questions.shown.clear();
        CategoryList list = listOf({"Rosen", "Verweis"}, {"Rosen", "Verweis"});

        EXPECT_EQ(copyMarked(list), NextStep::Nothing); // automatic advance is off here
        EXPECT_EQ(namesIn(real), row.after);
        EXPECT_EQ(questions.shown, Names{"Datei schon vorhanden"});
    }
}

// A design without a dot in its name: the number goes into the name, never into the path.
TEST_F(ForeignFiles, AShortNameIsNumberedInsideItsCategory) {
    const struct {
        const char* name;
        const char* renamed;
    } rows[] = {{"PES", "01PES"}, {"XPES", "01XPES"}, {"ROSEPES", "ROS01EPES"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir local;
        m_strZiel = local.makeDir("ziel") + "/";
        const std::string cat = local.makeDir("ziel/Rosen");
        local.write(std::string("ziel/Rosen/") + row.name, bytesOfSize(3));
        useSource(row.name, bytesOfSize(100), row.name);
        CategoryList list = listOf({"Rosen"}, {"Rosen"});

        copyMarked(list);
        EXPECT_EQ(namesIn(cat), (Names{row.renamed, row.name}));
        EXPECT_EQ(namesIn(m_strZiel), Names{"Rosen"});
    }
}

// A source that is no longer a regular file: refused at once, nothing written, not removed.
TEST_F(ForeignFiles, ASourceThatIsNoLongerAFileIsRefused) {
    const struct {
        const char* name;
        void (*make)(const std::string& path);
    } rows[] = {
        {"FIFO", [](const std::string& p) { ::mkfifo(p.c_str(), 0644); }},
        {"directory", [](const std::string& p) { std::filesystem::create_directory(p); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        useSource("rose.pes", bytesOfSize(100), "ROSE.PES");
        std::filesystem::remove(m_strFilePath);
        row.make(m_strFilePath);
        const std::string cat = category(row.name);
        m_bQuelleLoeschen = 1;
        questions.shown.clear();
        CategoryList list = listOf({row.name}, {row.name});

        const Deadline deadline;
        EXPECT_EQ(copyMarked(list), NextStep::Nothing);
        EXPECT_EQ(questions.shown, Names{"Access to " + m_strFilePath + " was denied."});
        EXPECT_EQ(namesIn(cat), Names{});
        EXPECT_TRUE(std::filesystem::exists(m_strFilePath));
        std::filesystem::remove(m_strFilePath);
    }
}

// A move whose source another program changes while it is copied keeps the source.
TEST_F(ForeignFiles, AMovedSourceThatChangedMeanwhileStays) {
    const struct {
        const char* name;
        void (*change)(const std::string& path);
    } rows[] = {
        {"written on", [](const std::string& p) { std::ofstream(p, std::ios::app) << "mehr"; }},
        {"replaced by another file",
         [](const std::string& p) {
             std::ofstream(p + ".neu", std::ios::binary) << std::string(100, 'x');
             std::filesystem::rename(p + ".neu", p);
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        useSource("rose.pes", bytesOfSize(100), "ROSE.PES");
        const std::string a = category("A"), b = category("B");
        std::filesystem::remove(a + "/ROSE.PES");
        std::filesystem::remove(b + "/ROSE.PES");
        m_bQuelleLoeschen = 1;
        questions.shown.clear();
        CategoryList list = listOf({"A", "B"}, {"A", "B"});

        NextStep step;
        {
            FaultyFileSystem faulty;
            const std::string source = m_strFilePath;
            faulty.before(Op::OpenTemporary, [&] { row.change(source); }); // after A's read
            step = copyMarked(list);
        }
        EXPECT_EQ(step, NextStep::Nothing);
        EXPECT_TRUE(std::filesystem::exists(m_strFilePath));
        EXPECT_EQ(questions.shown,
                  Names{"A sharing violation occurred while accessing " + m_strFilePath + "."});
        EXPECT_EQ(namesIn(a), Names{"ROSE.PES"});
        EXPECT_EQ(namesIn(b), Names{"ROSE.PES"});
    }
}

TEST_F(ForeignFiles, AnUnchangedMovedSourceIsRemoved) {
    useSource("rose.pes", bytesOfSize(100), "ROSE.PES");
    category("A");
    m_bQuelleLoeschen = 1;
    CategoryList list = listOf({"A"}, {"A"});
    EXPECT_EQ(copyMarked(list), NextStep::SourceRemoved);
    EXPECT_FALSE(std::filesystem::exists(m_strFilePath));
    EXPECT_TRUE(questions.shown.empty());
}
