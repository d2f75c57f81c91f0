// The player's score over the whole catalogue: how many Quellons are
// finished, at which help level, the points, the three sentences that say so
// in both languages, and the layout of the stacked bar of help levels.
#pragma once

#include "engine/rounding.h"

#include <array>
#include <string>
#include <vector>

#include "engine/game_data.h"
#include "engine/messages.h"

namespace quellon {

constexpr int kLevelCount = 5;            // help levels 0..3 and dropped (4)
constexpr int kPointsPerQuellon = 4;      // no help 4, little 3, more 2, much 1, dropped 0
constexpr int kStatBarLayoutWidth = 410;  // wider than its 393-pixel area on purpose: the end is cut off

struct ProgressTotals {
    int quellonCount = 0;  // N
    int finished = 0;      // solved or dropped
    std::array<int, kLevelCount> levelCount{};
    int points = 0;

    int possiblePoints() const { return kPointsPerQuellon * quellonCount; }
};

// Counts Quellons 1..N. A finished byte with a level of 5..7 comes only from a
// damaged saved game; it counts as dropped, so no counter past the fifth is
// touched and no Quellon earns negative points.
ProgressTotals countProgress(const GameData& game);

// Whole percent of a gauge, rounded down; 0 when the maximum is 0.
int gaugePercent(int progress, int maximum);

// The sentences of the statistics dialog; language 1 is German, any other
// value English.
std::string finishedSentence(const ProgressTotals& totals, int language);
std::string helpSentence(const ProgressTotals& totals, int language);
std::string pointsSentence(const ProgressTotals& totals, int language);

// One segment of the stacked bar: it covers the pixel columns first..last,
// both included, rows 0..17.
struct BarSegment {
    int level = 0;
    int first = 0;
    int last = 0;
    friend bool operator==(const BarSegment&, const BarSegment&) = default;
};

// The segments of the levels that have Quellons, in level order; later
// segments overlap the last column of the one before. Empty when nothing is
// finished.
std::vector<BarSegment> barSegments(const ProgressTotals& totals);

// Colour of a level's segment as 0xRRGGBB.
unsigned levelColour(int level);

}  // namespace quellon
