// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "CatalogDesign.h"

#include "design/DesignData.h"
#include "platform/FileError.h"
#include "platform/WholeFile.h"
#include "thumbnailer/DesignKind.h"
#include "thumbnailer/Thumbnail.h"
#include "view/Backdrop.h"
#include "view/Palettes.h"
#include "view/StitchDrawing.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace katalog {

namespace {

// Room around the picture inside its box, as the design view keeps a margin in its window.
constexpr float kPictureMargin = 6.0f;

std::string megabytes(std::uint64_t bytes) {
    return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MB";
}

// The stitches, fitted and centred in box, as strokes of one colour each.
void fitPicture(CatalogDesign& out, const DesignData& model, const PictureBox& box) {
    static const PecPalette pec = pecPaletteColors();
    static const SewPalette sew = sewPaletteColors();
    const float roomX = box.width - 2 * kPictureMargin;
    const float roomY = box.height - 2 * kPictureMargin;
    const int w = model.m_nWidth;
    const int h = model.m_nHeight;
    if (roomX <= 0 || roomY <= 0 || (w <= 0 && h <= 0))
        return;
    // One scale for both axes; a straight line is fitted by its length alone.
    float scale = w > 0 ? roomX / static_cast<float>(w) : roomY / static_cast<float>(h);
    if (h > 0)
        scale = std::min(scale, roomY / static_cast<float>(h));
    const float x0 = box.x + (box.width - static_cast<float>(std::max(w, 0)) * scale) / 2;
    const float y0 = box.y + (box.height - static_cast<float>(std::max(h, 0)) * scale) / 2;
    out.penWidth = std::max(scale, kThinnestLine);
    out.originX = x0;
    out.originY = y0;
    out.scale = scale;
    out.backdrop = backdropFor(model, pec, sew);

    // A point this close to the last one moves the line by less than a quarter of its width.
    const float step = std::max(kFinestStep, out.penWidth / 4);
    DesignPoint last; // the lines start at the top-left corner, as in the window
    ColorRef color = 0;
    bool blockOpen = false; // whether the current block has its stroke yet
    walkStitches(
        model,
        [&](int k) {
            color = blockColor(model, pec, sew, k);
            blockOpen = false;
        },
        [&](int dx, int dy) {
            if (!blockOpen) {
                out.strokes.push_back({color, out.points.size()});
                out.points.push_back(last);
                blockOpen = true;
            }
            if (static_cast<float>(std::abs(dx - last.x)) * scale < step &&
                static_cast<float>(std::abs(dy - last.y)) * scale < step)
                return;
            last = {dx, dy};
            out.points.push_back(last);
        });
}

std::size_t needleMoves(const DesignData& model) {
    std::size_t n = 0;
    for (const std::uint8_t cmd : model.m_StitchCmd) {
        if (cmd == CMD_END)
            break;
        n += cmd == CMD_STITCH || cmd == CMD_JUMP;
    }
    return n;
}

} // namespace

CatalogDesign prepareDesign(const CatalogFile& file, const PictureBox& box) {
    CatalogDesign out;
    out.name = file.name;
    if (file.special) {
        out.problem = "Keine gewöhnliche Datei, sondern eine Pipe, ein Gerät oder ein Socket.";
        out.report = file.path + ": " + out.problem;
        return out;
    }

    // Each reading thread keeps its buffer and design between files.
    thread_local std::vector<std::uint8_t> bytes;
    thread_local DesignData model;
    platform::WholeFile read;
    try {
        platform::readWholeFile(file.path, bytes, platform::BufferRoom::GrowWhenShorterThanSize,
                                thumbnailer::kLargestDesign, read);
    } catch (const platform::FileError& e) {
        if (read.status.size > thumbnailer::kLargestDesign) {
            out.problem = "Zu groß für ein Stickmuster (" + megabytes(read.status.size) + ").";
            out.report = file.path + ": " + out.problem;
        } else {
            out.problem = platform::fileErrorText(e.cause(), file.name);
            out.report = platform::fileErrorText(e.cause(), file.path);
        }
        return out;
    }

    const std::span<const std::uint8_t> data(bytes.data(), std::min(read.length, bytes.size()));
    const auto kind = thumbnailer::kindOf(file.name, data.data(), data.size());
    if (!kind || data.empty()) {
        out.problem = "Enthält kein lesbares Stickmuster.";
        out.report = file.path + ": " + out.problem;
        return out;
    }
    out.format = thumbnailer::extensionOf(*kind);
    // The readers start from the colours the model holds, as the window's model keeps them
    // from file to file; a catalogue's designs are each on their own.
    model.m_nColors = 0;
    model.m_ColorList = {};
    model.m_PcsColors = {};
    decodeDesign(model, *kind, data);
    out.widthUnits = std::max(model.m_nWidth, 0);
    out.heightUnits = std::max(model.m_nHeight, 0);
    out.stitches = needleMoves(model);
    fitPicture(out, model, box);
    if (out.strokes.empty()) {
        out.problem = "Enthält keine Stiche.";
        out.report = file.path + ": " + out.problem;
    }
    return out;
}

} // namespace katalog
