// Reading the board off a screenshot of the real game, for the end-to-end
// tests: where a piece's triangle lies on the screen, and which of the 16
// orientations the black pixels around a piece's place show.
#pragma once

#include <QImage>
#include <QPolygonF>
#include <QRectF>

#include "engine/orientation_table.h"
#include "engine/setup.h"

namespace quellon::e2e {

inline QPolygonF triangle(const PieceState& piece, int cell, QPointF origin)
{
    QPolygonF polygon;
    for (int k = 0; k < 3; ++k) {
        const size_t index = static_cast<size_t>(k * kOrientationCount + piece.orientation);
        polygon << origin + QPointF((piece.x + vertexX[index]) * cell, (piece.y + vertexY[index]) * cell);
    }
    return polygon;
}

inline bool isBlack(QRgb c) { return qRed(c) < 0x30 && qGreen(c) < 0x30 && qBlue(c) < 0x30; }

// The orientation whose triangle at `place` best matches the black pixels
// around it; -1 when none matches well.
inline int detectOrientation(const QImage& shot, PieceState place, int cell, QPointF origin)
{
    const QRectF area(origin.x() + (place.x - 8) * cell, origin.y() + (place.y - 8) * cell, 16 * cell, 16 * cell);
    int best = -1;
    double bestScore = -1;
    for (int o = 0; o < kOrientationCount; ++o) {
        PieceState candidate = place;
        candidate.orientation = static_cast<uint8_t>(o);
        const QPolygonF shape = triangle(candidate, cell, origin);
        int both = 0;
        int either = 0;
        for (double y = area.top(); y < area.bottom(); y += 1)
            for (double x = area.left(); x < area.right(); x += 1) {
                const bool inside = shape.containsPoint(QPointF(x + 0.5, y + 0.5), Qt::OddEvenFill);
                const bool black = isBlack(shot.pixel(static_cast<int>(x), static_cast<int>(y)));
                both += inside && black;
                either += inside || black;
            }
        const double score = either ? double(both) / either : 0;
        if (score > bestScore) {
            bestScore = score;
            best = o;
        }
    }
    return bestScore > 0.8 ? best : -1;
}

}  // namespace quellon::e2e
