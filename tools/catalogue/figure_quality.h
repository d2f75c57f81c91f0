// What makes a Quellon pleasant to solve, measured: compactness, holes,
// spikes and how well the pieces hold together. How hard a Quellon is comes
// from solving it (difficulty.h).
#pragma once

#include <string>
#include <vector>

#include "engine/silhouette.h"

namespace quellon::catalogue {

enum class Parity { Even, Odd, Mixed };

struct FigureQuality {
    Parity parity = Parity::Even;
    int doubledArea = 0;        // twice the area of the eight pieces together
    long long doubledHull = 0;  // twice the area of their convex hull
    double hullRatio = 0.0;     // area / hull area
    double roundness = 0.0;     // area / squared diameter: low for long thin figures
    int narrowGaps = 0;         // facing edges of two pieces a cell or less apart
    int freeTips = 0;           // 45-degree corners that nothing else touches
    double minContact = 0.0;    // least edge length one piece shares with the rest
    double largestHole = 0.0;   // largest enclosed gap, in cells
    int inletCells = 0;         // cells of narrow slits and pockets in the outline
    double hiddenShare = 0.0;   // share of all piece edges that lies inside the figure
    int distinctOrientations = 0;
    int width = 0;   // covered cells, columns
    int height = 0;  // covered cells, rows
};

FigureQuality measureFigure(const Figure& figure);

// Twice the area of the convex hull of lattice points.
long long doubledHullArea(std::vector<Point> points);

struct QualityLimits {
    double minHullRatio = 0.70;
    double minRoundness = 0.20;
    double maxGapWidth = 1.0;  // facing edges this close or closer make a slit
    int maxFreeTips = 2;
    int maxInletCells = 6;
    double minContact = 4.5;
    double maxHole = 0.5;  // a gap of this many cells or more is a hole
    int maxWidth = 50;
    int maxHeight = 50;
};

// The first criterion the figure misses, as a short phrase; empty when it
// meets them all.
std::string qualityFailure(const FigureQuality& quality, const QualityLimits& limits = {});

const char* parityName(Parity parity);

}  // namespace quellon::catalogue
