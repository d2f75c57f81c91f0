// How artwork becomes pixels, shared by the game and by the build step that
// renders the start-up artwork ahead of time: drawing an SVG picture, and
// the small raw format the ahead-of-time pictures are embedded in.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace quellon {

// The SVG file at `path` drawn to fill an image of exactly `pixels`, on a
// transparent ground. A null image when the file cannot be read.
QImage renderSvgArt(const QString& path, QSize pixels);

// The device pixel ratios the build draws its pictures for (the build's list
// of file names in cmake/prerendered_art.cmake follows them).
inline constexpr int kPrerenderedRatios[] = {1, 2};

// The resource name of a picture rendered ahead of time:
// "<file>@<width>x<height>@<ratio>.argb", sizes in device-independent pixels.
QString prerenderedArtName(const QString& file, QSize size, int ratio);

// The raw picture format: "QLA1", width and height as 32-bit little-endian
// numbers, then the premultiplied ARGB pixels row by row, every pixel a
// little-endian 32-bit word. Raw pixels, unlike PNG, come back bit for bit
// as the renderer left them, premultiplied colours included.
QByteArray encodeArtImage(const QImage& image);
// The picture, or a null image when `bytes` is not a whole picture.
QImage decodeArtImage(const QByteArray& bytes);

}  // namespace quellon
