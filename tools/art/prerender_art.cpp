// Draws the artwork a start shows, ahead of time: every picture of a list,
// at its size and at the ratios 1 and 2, with the renderer the game itself
// uses, into the raw files the game embeds.
//
// Usage: quellon-prerender-art ART_DIR LIST OUT_DIR
// LIST holds one picture a line, "<file> <width>x<height>"; # starts a comment.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>

#include "dialogs/art_render.h"

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "quellon-prerender-art: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: quellon-prerender-art ART_DIR LIST OUT_DIR\n");
        return 2;
    }
    // SVG text needs fonts, and fonts a GUI application; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString artDir = QString::fromLocal8Bit(argv[1]);
    const QString listPath = QString::fromLocal8Bit(argv[2]);
    const QDir outDir(QString::fromLocal8Bit(argv[3]));
    if (!QDir().mkpath(outDir.path()))
        return fail(QStringLiteral("cannot make %1").arg(outDir.path()));

    QFile list(listPath);
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(QStringLiteral("cannot read %1").arg(listPath));
    static const QRegularExpression line(QStringLiteral("^(\\S+\\.svg)\\s+(\\d{1,4})x(\\d{1,4})$"));
    QTextStream in(&list);
    for (int number = 1; !in.atEnd(); ++number) {
        const QString text = in.readLine().section(QLatin1Char('#'), 0, 0).trimmed();
        if (text.isEmpty())
            continue;
        const QRegularExpressionMatch match = line.match(text);
        const QString where = QStringLiteral("%1:%2").arg(listPath).arg(number);
        if (!match.hasMatch())
            return fail(QStringLiteral("%1: expected \"<file>.svg <width>x<height>\", not \"%2\"").arg(where, text));
        const QString file = match.captured(1);
        const QSize size(match.captured(2).toInt(), match.captured(3).toInt());
        if (size.isEmpty())
            return fail(QStringLiteral("%1: empty size").arg(where));
        for (const int ratio : {1, 2}) {
            const QImage image = quellon::renderSvgArt(artDir + QLatin1Char('/') + file, size * ratio);
            if (image.isNull())
                return fail(QStringLiteral("%1: cannot draw %2").arg(where, file));
            QSaveFile out(outDir.filePath(quellon::prerenderedArtName(file, size, ratio)));
            if (!out.open(QIODevice::WriteOnly) || out.write(quellon::encodeArtImage(image)) < 0 || !out.commit())
                return fail(QStringLiteral("cannot write %1").arg(out.fileName()));
        }
    }
    return 0;
}
