// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The thumbnail is the design window's picture: same readers, palettes and fit, refused for
// anything that is not a whole design of a decoded format.
#include "thumbnailer/Thumbnail.h"
#include "thumbnailer/DesignKind.h"
#include "thumbnailer/PngFile.h"

#include "design/DesignModel.h"
#include "view/Backdrop.h"
#include "view/DesignPainter.h"

#include "TempDir.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

using thumbnailer::thumbnailOf;

namespace {

// The thumbnail as an image, to compare with what the window's painter draws.
std::optional<QImage> thumbnailOfBytes(const std::vector<std::uint8_t>& bytes,
                                       const std::string& name, int size, DesignModel& model) {
    const auto picture = thumbnailOf(model, bytes, name, size);
    if (!picture)
        return std::nullopt;
    return QImage(reinterpret_cast<const uchar*>(picture->pixels.data()), picture->w, picture->h,
                  picture->w * 4, QImage::Format_RGB32)
        .copy();
}

std::optional<QImage> thumbnailOfBytes(const std::vector<std::uint8_t>& bytes,
                                       const std::string& name, int size = 128) {
    DesignModel model;
    return thumbnailOfBytes(bytes, name, size, model);
}

// The image as the thumbnailer's plain picture.
thumbnailer::Picture pictureOf(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    thumbnailer::Picture picture{rgb.width(), rgb.height(), {}};
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            picture.pixels.push_back(rgb.pixel(x, y));
    return picture;
}

// Whether the design is sewn in white only, which the window too draws white on white.
// Pixels of the image that differ from its top-left corner, which lies in the margin.
int nonBackground(const QImage& image) {
    const QRgb backdrop = image.pixel(0, 0);
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) != backdrop;
    return n;
}

// Every design among the test files and the examples of a format the window draws.
std::vector<std::filesystem::path> windowDesigns() {
    std::vector<std::filesystem::path> files;
    for (const char* dir : {NADELIX_TEST_DATA, NADELIX_EXAMPLES})
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            if (const auto kind = thumbnailer::kindFromName(entry.path().filename().string());
                kind && *kind <= StitchFormat::Sew)
                files.push_back(entry.path());
    return files;
}

} // namespace

TEST(ThumbnailCanvas, KeepsProportionsAndMarginsWithinTheSize) {
    EXPECT_EQ(thumbnailer::canvasFor(1000, 500, 128), (PixelSize{128, 74})); // 108 x 54 inside
    EXPECT_EQ(thumbnailer::canvasFor(500, 1000, 256), (PixelSize{138, 256}));
    EXPECT_EQ(thumbnailer::canvasFor(300, 300, 64), (PixelSize{64, 64}));
    // A straight line keeps a one-pixel room across; nothing at all still gets a canvas.
    EXPECT_EQ(thumbnailer::canvasFor(400, 0, 128), (PixelSize{128, 21}));
    EXPECT_EQ(thumbnailer::canvasFor(-2000, 50, 128), (PixelSize{21, 128}));
    EXPECT_EQ(thumbnailer::canvasFor(-2000, -2000, 128), (PixelSize{21, 21}));
    // A very thin design never rounds to no room at all.
    EXPECT_EQ(thumbnailer::canvasFor(30000, 1, 128), (PixelSize{128, 21}));
}

TEST(Thumbnail, EveryDecodedDesignIsTheWindowsPictureAtTheSameSize) {
    const auto files = windowDesigns();
    ASSERT_GE(files.size(), 20u);
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        DesignModel model;
        const auto image = thumbnailOfBytes(readBytes(file.string()), file.filename(), 128, model);
        ASSERT_TRUE(image);
        EXPECT_LE(image->width(), 128);
        EXPECT_LE(image->height(), 128);
        EXPECT_TRUE(image->width() == 128 || image->height() == 128);
        // Light threads too stand out from the background.
        EXPECT_GT(nonBackground(*image), 50);

        // The window of that size, painted by the view's painter on the same background, shows
        // the same pixels.
        const QColor backdrop(backdropFor(model, pecPaletteColors(), sewPaletteColors()));
        QImage window(image->size(), QImage::Format_RGB32);
        window.fill(backdrop);
        {
            QPainter painter(&window);
            DesignPainter().paintStitches(painter, window.rect(), model, pecPaletteColors(),
                                          sewPaletteColors(), backdrop);
        }
        EXPECT_EQ(*image, window);
    }
}

TEST(Thumbnail, ColoursComeFromTheFormatsPalette) {
    // A SEW design whose first thread is 2 draws in E5E5E5, a DST design in the PEC palette's
    // thread 2, 0F75FF (the DST reader numbers its blocks from 2).
    const auto sew =
        thumbnailOfBytes(readBytes(std::string(NADELIX_EXAMPLES) + "/BLUME.SEW"), "BLUME.SEW");
    const auto dst =
        thumbnailOfBytes(readBytes(std::string(NADELIX_EXAMPLES) + "/STERN.DST"), "STERN.DST");
    ASSERT_TRUE(sew && dst);
    const auto hasColour = [](const QImage& image, QRgb colour) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) | 0xFF000000u) == (0xFF000000u | colour))
                    return true;
        return false;
    };
    EXPECT_TRUE(hasColour(*dst, 0x0F75FF));
    EXPECT_FALSE(hasColour(*dst, 0xE5E5E5));
    DesignModel model;
    model.m_FileData = readBytes(std::string(NADELIX_EXAMPLES) + "/BLUME.SEW");
    model.DispatchByName("BLUME.SEW", static_cast<int>(model.m_FileData.size()));
    const QRgb first =
        0xFF000000u | toQColor(blockColor(model, pecPaletteColors(), sewPaletteColors(), 0)).rgb();
    EXPECT_TRUE(hasColour(*sew, first));
}

TEST(Thumbnail, SmallAndHugeSizesStayWithinTheRequest) {
    const auto bytes = readBytes(std::string(NADELIX_TEST_DATA) + "/flowers.pes");
    for (int size : {1, 16, 31, 32, 256, 1024}) {
        SCOPED_TRACE(size);
        const auto image = thumbnailOfBytes(bytes, "flowers.pes", size);
        ASSERT_TRUE(image);
        EXPECT_LE(image->width(), size);
        EXPECT_LE(image->height(), size);
        EXPECT_EQ(std::max(image->width(), image->height()), size);
    }
    const auto huge = thumbnailOfBytes(bytes, "flowers.pes", 1 << 30);
    ASSERT_TRUE(huge);
    EXPECT_EQ(std::max(huge->width(), huge->height()), thumbnailer::kLargestSize);
}

TEST(Thumbnail, SignatureDecidesAndNameStandsInWithoutOne) {
    const auto pes = readBytes(std::string(NADELIX_TEST_DATA) + "/Star.pes");
    const auto asPes = thumbnailOfBytes(pes, "STAR.PES");
    ASSERT_TRUE(asPes);
    // Typed by its content whatever the name: none, another, or another format's.
    for (const char* name : {"star.Pes", "star", "star.pes.bak", "star.pec", "star.dst"}) {
        SCOPED_TRACE(name);
        const auto image = thumbnailOfBytes(pes, name);
        ASSERT_TRUE(image);
        EXPECT_EQ(*image, *asPes);
    }
    const auto pcs = readBytes(std::string(NADELIX_TEST_DATA) + "/Star.PCS");
    EXPECT_FALSE(thumbnailOfBytes(pcs, "star")); // PCS has no signature to go by
}

TEST(Thumbnail, NothingForFilesWithoutAStitchPicture) {
    EXPECT_FALSE(thumbnailOfBytes({}, "EMPTY.PES"));
    EXPECT_FALSE(thumbnailOfBytes(std::vector<std::uint8_t>(600, 0), "ZERO.ART"));
    EXPECT_FALSE(thumbnailOfBytes(std::vector<std::uint8_t>(600, 0), "ZERO.KRZ"));
    // Text that happens to carry a design's name.
    const std::string text = "just some notes, not a design\n";
    EXPECT_FALSE(thumbnailOfBytes({text.begin(), text.end()}, "NOTES.PES"));
    EXPECT_FALSE(thumbnailOfBytes({text.begin(), text.end()}, "NOTES.SEW"));
    // A whole DST that ends at once has no stitch to draw.
    std::vector<std::uint8_t> endOnly(515, ' ');
    endOnly[512] = endOnly[513] = 0x00;
    endOnly[514] = 0xF3;
    EXPECT_FALSE(thumbnailOfBytes(endOnly, "END.DST"));
}

TEST(Thumbnail, ACutOffDesignIsDrawnAsFarAsItsStitchesGo) {
    // As a commercial DST came: no end record, its last record a byte short.
    auto dst = readBytes(std::string(NADELIX_TEST_DATA) + "/Hopea.DST");
    while (dst.back() != 0xF3)
        dst.pop_back();
    dst.resize(dst.size() - 4);
    for (const auto& [bytes, name] : {std::pair{dst, "HOPEA.DST"}}) {
        SCOPED_TRACE(name);
        DesignModel model;
        const auto image = thumbnailOfBytes(bytes, name, 128, model);
        ASSERT_TRUE(image);
        EXPECT_GT(nonBackground(*image), 50);
    }
}

TEST(Thumbnail, LightThreadsAloneAreDrawnOnADarkerBackground) {
    // A SEW design re-threaded in white (29) and near-white E5E5E5 (2), as for a dark towel.
    const auto original = readBytes(std::string(NADELIX_EXAMPLES) + "/BLUME.SEW");
    auto light = original;
    for (int i = 0; i < light[0]; ++i)
        light[static_cast<std::size_t>(2 + 2 * i)] = i % 2 ? 29 : 2;
    struct Case {
        std::vector<std::uint8_t> bytes;
        QRgb backdrop;
    };
    for (const auto& [bytes, backdrop] :
         {Case{original, thumbnailer::kBackground}, Case{light, kDarkBackdrop}}) {
        SCOPED_TRACE(backdrop);
        DesignModel model;
        const auto image = thumbnailOfBytes(bytes, "BLUME.SEW", 128, model);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->pixel(0, 0), backdrop);
        EXPECT_GT(nonBackground(*image), 50);
        for (int k = 0; k < model.m_nColors; ++k)
            EXPECT_GE(contrastRatio(blockColor(model, pecPaletteColors(), sewPaletteColors(), k),
                                    colorFromRgb(backdrop & 0xFFFFFF)),
                      backdrop == kDarkBackdrop ? 3.0 : 1.5);
    }
}

TEST(Png, DecodesToThePicture) {
    const auto image =
        thumbnailOfBytes(readBytes(std::string(NADELIX_EXAMPLES) + "/WELLE.PCS"), "WELLE.PCS", 97);
    ASSERT_TRUE(image);
    const std::string png = thumbnailer::encodePng(pictureOf(*image));
    ASSERT_TRUE(png.starts_with("\x89PNG\r\n\x1a\n"));
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(QByteArray::fromStdString(png), "PNG"));
    EXPECT_EQ(decoded.convertToFormat(QImage::Format_RGB32), *image);

    // An odd width and a picture scaled down from the smallest canvas come through as well.
    const auto tiny =
        thumbnailOfBytes(readBytes(std::string(NADELIX_EXAMPLES) + "/HERZ.PES"), "HERZ.PES", 7);
    ASSERT_TRUE(tiny);
    ASSERT_TRUE(decoded.loadFromData(
        QByteArray::fromStdString(thumbnailer::encodePng(pictureOf(*tiny))), "PNG"));
    EXPECT_EQ(decoded.size(), tiny->size());

    // More colours than a palette holds (a picture scaled down smoothly has them).
    QImage many(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < many.height(); ++y)
        for (int x = 0; x < many.width(); ++x)
            many.setPixel(x, y, qRgb(x * 6, y * 8, (x * y) % 256));
    ASSERT_TRUE(decoded.loadFromData(
        QByteArray::fromStdString(thumbnailer::encodePng(pictureOf(many))), "PNG"));
    EXPECT_EQ(decoded.convertToFormat(QImage::Format_RGB32), many);
}
