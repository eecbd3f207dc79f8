#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

#include <cstddef>
#include <optional>
#include <string>

class DesignModel;

namespace thumbnailer {

// The largest picture drawn; a larger request gets this size, which is still within it.
inline constexpr int kLargestSize = 2048;
// Below this the window's 10-pixel margins leave no room: the picture is drawn at this size
// and scaled down.
inline constexpr int kSmallestCanvas = 32;
// The background of the design window on a desktop in its usual colours.
inline constexpr QRgb kBackground = 0xFFFFFFFF;

// The window size in which the design view shows a design of width x height units with the
// longer side filling size: the picture keeps the design's proportions and the view's margins.
QSize canvasFor(int width, int height, int size);

// The picture of the design whose file (named name, its length bytes in model.m_FileData)
// is decoded by the model, drawn as the design view draws it, at most size x size pixels.
// Empty when the bytes hold no whole design of a decoded format with something to draw.
std::optional<QImage> thumbnailOf(DesignModel& model, std::size_t length, const std::string& name,
                                  int size);

} // namespace thumbnailer
