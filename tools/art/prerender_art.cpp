// Draws the artwork a start shows, ahead of time: every picture named, at
// its size and at the ratios 1 and 2, with the renderer the game itself
// uses, into the raw files the game embeds. The build reads the list
// (resources/art/prerendered.txt) and names the pictures.
//
// Usage: quellon-prerender-art ART_DIR OUT_DIR FILE.svg:WIDTHxHEIGHT...
#include <QDir>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSaveFile>

#include <cstdio>

#include "ui/art_render.h"

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "quellon-prerender-art: %s\n", qPrintable(message));
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: quellon-prerender-art ART_DIR OUT_DIR FILE.svg:WIDTHxHEIGHT...\n");
        return 2;
    }
    // SVG text needs fonts, and fonts a GUI application; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString artDir = QString::fromLocal8Bit(argv[1]);
    const QDir outDir(QString::fromLocal8Bit(argv[2]));
    if (!QDir().mkpath(outDir.path()))
        return fail(QStringLiteral("cannot make %1").arg(outDir.path()));

    static const QRegularExpression picture(QStringLiteral("^(\\S+\\.svg):(\\d{1,4})x(\\d{1,4})$"));
    for (int i = 3; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        const QRegularExpressionMatch match = picture.match(argument);
        if (!match.hasMatch())
            return fail(QStringLiteral("expected \"<file>.svg:<width>x<height>\", not \"%1\"").arg(argument));
        const QString file = match.captured(1);
        const QSize size(match.captured(2).toInt(), match.captured(3).toInt());
        if (size.isEmpty())
            return fail(QStringLiteral("%1: empty size").arg(argument));
        for (const int ratio : quellon::kPrerenderedRatios) {
            const QImage image = quellon::renderSvgArt(artDir + QLatin1Char('/') + file, size * ratio);
            if (image.isNull())
                return fail(QStringLiteral("cannot draw %1").arg(file));
            QSaveFile out(outDir.filePath(quellon::prerenderedArtName(file, size, ratio)));
            if (!out.open(QIODevice::WriteOnly) || out.write(quellon::encodeArtImage(image)) < 0 || !out.commit())
                return fail(QStringLiteral("cannot write %1").arg(out.fileName()));
        }
    }
    return 0;
}
