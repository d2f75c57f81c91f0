#include "engine/pattern.h"

#include "engine/messages.h"
#include "engine/orientation_table.h"

namespace quellon {

int patternScale(int patmode)
{
    if (patmode <= 1)
        return 2;
    return patmode == 2 ? 3 : 4;
}

PatternSize patternClientSize(int patmode)
{
    const int scale = patternScale(patmode);
    return {kPatternGridWidth * scale + 1, kPatternGridHeight * scale};
}

std::string patternCaption(const GameData& game, int language)
{
    const bool de = language == kLanguageGerman;
    std::string caption = "Quellon " + std::to_string(game.currentQuellon);
    if (game.currentQuellon < 1 || game.currentQuellon > kMaxQuellons)
        return caption;
    const uint8_t progress = game.currentProgress();
    if (isFinished(progress)) {
        if ((progress & kHelpLevelMask) == kDroppedLevel)
            caption += de ? " - aufgegeben" : " - dropped";
        else
            caption += de ? " - gel\u00f6st" : " - solved";
    }
    return caption;
}

GridPoint pieceCorner(const PieceState& piece, int corner)
{
    const int index = corner * kOrientationCount + (piece.orientation % kOrientationCount);
    return {piece.x + vertexX[static_cast<size_t>(index)], piece.y + vertexY[static_cast<size_t>(index)]};
}

}  // namespace quellon
