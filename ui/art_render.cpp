// Drawing artwork and the raw picture format of the ahead-of-time pictures.
#include "ui/art_render.h"

#include <QImageReader>
#include <QtEndian>

#include <cstring>

namespace quellon {

namespace {

constexpr char kMagic[4] = {'Q', 'L', 'A', '1'};
constexpr qsizetype kHeaderSize = 12;
constexpr int kLargestSide = 4096;

}  // namespace

QImage renderSvgArt(const QString& path, QSize pixels)
{
    // Through Qt's SVG image plug-in, which draws exactly as QSvgRenderer
    // does: the SVG library then loads with the first picture drawn at run
    // time instead of with every start, when most pictures come from the
    // build.
    QImageReader reader(path, "svg");
    reader.setScaledSize(pixels);
    const QImage image = reader.read();
    if (image.isNull() || image.size() != pixels)
        return {};
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QString prerenderedArtName(const QString& file, QSize size, int ratio)
{
    return QStringLiteral("%1@%2x%3@%4.argb").arg(file).arg(size.width()).arg(size.height()).arg(ratio);
}

QByteArray encodeArtImage(const QImage& image)
{
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QByteArray bytes(kHeaderSize + qsizetype(pixels.width()) * pixels.height() * 4, Qt::Uninitialized);
    char* out = bytes.data();
    std::memcpy(out, kMagic, 4);
    qToLittleEndian<quint32>(quint32(pixels.width()), out + 4);
    qToLittleEndian<quint32>(quint32(pixels.height()), out + 8);
    out += kHeaderSize;
    for (int y = 0; y < pixels.height(); ++y) {
        qToLittleEndian<quint32>(pixels.constScanLine(y), pixels.width(), out);
        out += qsizetype(pixels.width()) * 4;
    }
    return bytes;
}

QImage decodeArtImage(const QByteArray& bytes)
{
    if (bytes.size() < kHeaderSize || std::memcmp(bytes.constData(), kMagic, 4) != 0)
        return {};
    const quint32 width = qFromLittleEndian<quint32>(bytes.constData() + 4);
    const quint32 height = qFromLittleEndian<quint32>(bytes.constData() + 8);
    if (width == 0 || height == 0 || width > kLargestSide || height > kLargestSide ||
        bytes.size() != kHeaderSize + qsizetype(width) * height * 4)
        return {};
    QImage image(int(width), int(height), QImage::Format_ARGB32_Premultiplied);
    const char* in = bytes.constData() + kHeaderSize;
    for (int y = 0; y < image.height(); ++y) {
        qFromLittleEndian<quint32>(in, image.width(), image.scanLine(y));
        in += qsizetype(width) * 4;
    }
    return image;
}

}  // namespace quellon
