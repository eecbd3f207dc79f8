#include "Thumbnail.h"

#include "DesignKind.h"

#include "design/DesignModel.h"
#include "view/DesignPainter.h"
#include "view/Palettes.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace thumbnailer {

QSize canvasFor(int width, int height, int size) {
    constexpr int margin = DesignMapping::kMargin;
    const int room = std::max(size - 2 * margin, 1);
    int w = 1;
    int h = 1;
    if (width > 0 && height > 0) {
        const double scale =
            std::min(static_cast<double>(room) / width, static_cast<double>(room) / height);
        w = static_cast<int>(std::lround(width * scale));
        h = static_cast<int>(std::lround(height * scale));
    } else if (width > 0) {
        w = room; // a straight horizontal line
    } else if (height > 0) {
        h = room;
    }
    return {std::clamp(w, 1, room) + 2 * margin, std::clamp(h, 1, room) + 2 * margin};
}

std::optional<QImage> thumbnailOf(DesignModel& model, std::size_t length, const std::string& name,
                                  int size) {
    if (length == 0 || length > INT_MAX || length > model.m_FileData.size() || size < 1)
        return std::nullopt;
    const std::uint8_t* data = model.m_FileData.data();
    const auto kind = kindFromName(name) ? kindFromName(name) : kindFromSignature(data, length);
    if (!kind || !isComplete(*kind, data, length))
        return std::nullopt;

    model.DispatchByName(dispatchName(*kind), static_cast<int>(length));
    if (model.m_bShowDesign != 1 || model.m_bStitchGraphics == 0)
        return std::nullopt;

    size = std::min(size, kLargestSize);
    const int drawn = std::max(size, kSmallestCanvas);
    const QSize canvasSize = canvasFor(model.m_nWidth, model.m_nHeight, drawn);
    const auto mapping =
        DesignMapping::fit(QPoint(0, 0), canvasSize, model.m_nWidth, model.m_nHeight);
    if (!mapping)
        return std::nullopt; // no decoded point: nothing to draw

    QImage canvas(canvasSize, QImage::Format_RGB32);
    if (canvas.isNull())
        return std::nullopt;
    canvas.fill(kBackground);
    static const PecPalette pec = pecPaletteColors();
    static const SewPalette sew = sewPaletteColors();
    drawStitches(canvas, *mapping, model, pec, sew);
    if (drawn > size)
        return canvas.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return canvas;
}

} // namespace thumbnailer
