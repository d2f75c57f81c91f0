// Progress transitions and navigation between Quellons.
#include "engine/game_data.h"

#include <algorithm>

namespace quellon {

int helpLevel(uint8_t progress)
{
    const int cap = isFinished(progress) ? kDroppedLevel : kDroppedLevel - 1;
    return std::min<int>(progress & kHelpLevelMask, cap);
}

bool markSolved(GameData& game)
{
    uint8_t& progress = game.currentProgress();
    if (isFinished(progress))
        return false;
    progress = static_cast<uint8_t>(progress | kFinishedBit);
    return true;
}

void recordSolve(GameData& game, bool& unsavedProgress)
{
    if (markSolved(game))
        unsavedProgress = true;
}

int raiseHelpLevel(GameData& game)
{
    uint8_t& progress = game.currentProgress();
    int level = helpLevel(progress);
    if (level < kDroppedLevel)
        ++level;
    progress = level == kDroppedLevel ? kDroppedValue : static_cast<uint8_t>(level);
    return level;
}

void clearProgress(GameData& game, int lastQuellon)
{
    const int last = std::clamp(lastQuellon, 0, kMaxQuellons);
    std::fill(game.progressTable.begin() + 1, game.progressTable.begin() + 1 + last, uint8_t{0});
}

void nextQuellon(GameData& game)
{
    game.currentQuellon = game.currentQuellon < game.quellonCount ? game.currentQuellon + 1 : 1;
}

void previousQuellon(GameData& game)
{
    game.currentQuellon = game.currentQuellon >= 2 ? game.currentQuellon - 1 : game.quellonCount;
}

namespace {

bool searchUnfinished(GameData& game, void (*step)(GameData&))
{
    // N steps lead once around: the current Quellon itself is examined last.
    for (int steps = 0; steps < game.quellonCount;) {
        step(game);
        ++steps;
        if (!isFinished(game.currentProgress()))
            return true;
    }
    return false;
}

}  // namespace

bool nextUnfinished(GameData& game) { return searchUnfinished(game, nextQuellon); }

bool previousUnfinished(GameData& game) { return searchUnfinished(game, previousQuellon); }

}  // namespace quellon
