// Where each Quellon goes in the catalogue, from its difficulty: figures
// composed by hand open it, varied in family, and are mixed in richly over
// the first few hundred, the composed Quellons rise in gentle waves, and the
// hardest fill the end.
#pragma once

#include <span>
#include <vector>

namespace quellon::catalogue {

// What the order needs to know of a figure composed by hand.
struct FigureToOrder {
    double difficulty = 0.0;
    int family = 0;       // figures of one family share the number
    bool tilted = false;  // some piece in an odd orientation
    bool opening = true;  // named at once by every namer: may open the catalogue
};

// Quellons up to `end` (from the end of the range before), at least `share`
// of them figures while the figures last.
struct FigureRange {
    int end = 0;
    double share = 0.0;
};

struct OrderingRules {
    int openingFigures = 20;    // the catalogue opens with easy figures, ...
    int openingFamilyMost = 3;  // ... no family more often than this among them
    // How many figures each stretch of the catalogue wants, the opening
    // included. Too few figures for all: each range gets the same part of
    // what it wants (the opening's places count as given); more: the extra
    // ones go where there is most room.
    std::vector<FigureRange> figureRanges = {{100, 0.6}, {300, 1.0 / 3.0}, {950, 1.0 / 8.0}};
    double hardestShare = 0.2;  // the last fifth holds the hardest composed Quellons
    int wavePeriod = 40;        // composed Quellons per wave
    double waveDepth = 1.5;     // how far a wave leans back: 0 none, 1 flat at its crest
};

// The catalogue order of the figures (indices 0..F-1) and the composed
// Quellons (indices F..F+C-1, with the difficulties `composed`): position p
// of the result holds the index of Quellon p + 1.
std::vector<int> arrangeCatalogue(std::span<const FigureToOrder> figures, std::span<const double> composed,
                                  const OrderingRules& rules = {});

}  // namespace quellon::catalogue
