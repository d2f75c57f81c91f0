// The main window's caption.
#include "engine/window_texts.h"

#include "engine/game_data.h"

namespace quellon {

std::string windowTitle(int patmode, int quellon, uint8_t progress, const std::string& gameName, int language)
{
    const bool german = language == kLanguageGerman;
    std::string title = "Zindle Quellon V3.1";
    if (patmode == 0) {
        title += " - Quellon: " + std::to_string(quellon);
        if (isFinished(progress)) {
            if ((progress & kHelpLevelMask) == kDroppedLevel)
                title += german ? " (aufgegeben)" : " (dropped)";
            else
                title += german ? " (gel\u00f6st)" : " (solved)";
        }
    }
    if (!gameName.empty())
        title += (german ? " - Spiel: " : " - Game: ") + gameName;
    return title;
}

}  // namespace quellon
