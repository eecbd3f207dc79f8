// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// What the catalogue takes from the disk: the folders' design files in the sorter's order, each
// design fitted into its box or given its reason, and the PDF's file when it cannot be written.
#include "TempDir.h"
#include "katalog/CatalogDesign.h"
#include "katalog/Collection.h"
#include "katalog/Labels.h"
#include "katalog/PdfFile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace katalog;

namespace {

// Design names in the sorter's order, FIFOs marked rather than opened, a link back up not
// followed, empty folders without a section, and "." named by the folder it stands for.
TEST(Collection, ListsDesignsInTheSortersOrderAndWalksTheTreeOnce) {
    TempDir dir;
    for (const char* name : {"b.pes", "A.DST", "\xC3\xA4.jef", "notiz.txt", "Tiefer/x.exp",
                             "Tiefer/y.PES.bak", "Leer/liesmich.txt"})
        dir.write(name, "x");
    ASSERT_EQ(mkfifo(dir.file("PIPE.PES").c_str(), 0600), 0);
    ASSERT_EQ(symlink(".", dir.file("Zurueck").c_str()), 0);

    const auto sections = collectSections({dir.path() + "/."}, true);
    std::vector<std::string> seen;
    for (const auto& section : sections) {
        seen.push_back("[" + section.heading + "]");
        for (const auto& file : section.files)
            seen.push_back(file.name + (file.special ? " (special)" : ""));
    }
    const std::string top = folderName(dir.path());
    EXPECT_EQ(seen,
              (std::vector<std::string>{"[" + top + "]", "A.DST", "b.pes", "PIPE.PES (special)",
                                        "\xC3\xA4.jef", "[" + top + "/Tiefer]", "x.exp"}));
    EXPECT_EQ(designCount(collectSections({dir.path()}, false)), 4u);
}

PictureBox boxOf(float width, float height) {
    return {100, 200, width, height};
}

// The picture fills its box on one axis, inside the margin, and is centred on both.
TEST(CatalogDesign, FitsThePictureCentredIntoItsBox) {
    for (const char* name : {"KREIS.PES", "WELLE.PCS", "STERN.DST"})
        for (const PictureBox box : {boxOf(300, 100), boxOf(100, 300), boxOf(150, 150)}) {
            SCOPED_TRACE(testing::Message() << name << " in " << box.width << "x" << box.height);
            const auto design =
                prepareDesign({name, std::string(NADELIX_EXAMPLES) + "/" + name, false}, box);
            ASSERT_TRUE(design.problem.empty()) << design.problem;
            float left = 1e9f, right = -1e9f, top = 1e9f, bottom = -1e9f;
            for (const auto& p : design.points) {
                const float x = design.originX + design.scale * static_cast<float>(p.x);
                const float y = design.originY + design.scale * static_cast<float>(p.y);
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
            EXPECT_NEAR(left - box.x, box.x + box.width - right, 0.01f);
            EXPECT_NEAR(top - box.y, box.y + box.height - bottom, 0.01f);
            const float gap = std::min(left - box.x, top - box.y);
            EXPECT_NEAR(gap, 6.0f, 0.01f); // the margin, on the axis that limits the scale
        }
}

// Each file the catalogue cannot draw gets the reason it shows in the tile.
TEST(CatalogDesign, GivesEachFileItCannotDrawItsReason) {
    TempDir dir;
    dir.write("LEER.PES", "");
    dir.write("NULL.PES", std::string(4096, '\0'));
    const std::string big = dir.write("RIESIG.DST", "");
    ASSERT_EQ(truncate(big.c_str(), 40 << 20), 0); // sparse: nothing of it is read
    const struct {
        const char* name;
        bool special;
        const char* reason;
    } cases[] = {
        {"LEER.PES", false, "Enthält kein lesbares Stickmuster."},
        {"NULL.PES", false, "Enthält keine Stiche."},
        {"RIESIG.DST", false, "Zu groß für ein Stickmuster (40 MB)."},
        {"FEHLT.DST", false, "FEHLT.DST was not found."},
        {"PIPE.PES", true,
         "Keine gewöhnliche Datei, sondern eine Pipe, ein Gerät oder ein Socket."},
    };
    for (const auto& c : cases) {
        const auto design = prepareDesign({c.name, dir.file(c.name), c.special}, boxOf(150, 100));
        EXPECT_EQ(design.problem, c.reason);
        EXPECT_NE(design.report.find(dir.file(c.name)), std::string::npos) << design.report;
        EXPECT_TRUE(design.strokes.empty());
    }
}

TEST(Labels, WriteNumbersAsGermanReadersDo) {
    EXPECT_EQ(groupedNumber(0), "0");
    EXPECT_EQ(groupedNumber(999), "999");
    EXPECT_EQ(groupedNumber(1000), "1.000");
    EXPECT_EQ(groupedNumber(1234567), "1.234.567");
    EXPECT_EQ(sizeLabel(853, 5), "85,3 × 0,5 mm");
    EXPECT_EQ(stitchesLabel(1), "1 Stich");
    EXPECT_EQ(colorsLabel(12), "12 Farben");
}

// A PDF that cannot be written closes its file at once, so the catalogue stops, and says why.
TEST(PdfFile, AFailedWriteClosesTheFileAndIsToldAtTheCommit) {
    PdfFile file("/nonexistent/katalog.pdf");
    file.write("%PDF-1.4\n");
    EXPECT_FALSE(file.isOpen());
    std::string error;
    EXPECT_FALSE(file.commit(error));
    EXPECT_EQ(error, "/nonexistent/katalog.pdf was not found.");
}

} // namespace
