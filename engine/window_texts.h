// The main window's own texts in both languages: its caption, the hints of
// its tool buttons (keyed by the button's object name) and its notice. The
// window picks the language when it shows them.
#pragma once

#include <cstdint>
#include <string>

#include "engine/messages.h"

namespace quellon {

// The caption: the program's name, with the pattern on the board also the
// Quellon's number and its solved or dropped mark, then the game's name.
std::string windowTitle(int patmode, int quellon, uint8_t progress, const std::string& gameName, int language);

// An unsolved-Quellon search that found none.
inline const Message kAllSolvedNotice{MessageCode::Notice, "Alle Quellons bereits gel\u00f6st.",
                                      "All Quellons already solved."};

struct ButtonHint {
    const char* button;
    const char* german;
    const char* english;
};

inline constexpr ButtonHint kButtonHints[] = {
    {"LoadBtn", "Ich hol mir einen alten Spielstand.", "I want to continue an old game."},
    {"NewGameBtn", "Ich fang ein neues Spiel an.", "I want to play a new game."},
    {"SelectBtn", "Ich probier ein anderes Quellon.", "I try another Quellon."},
    {"UpBtn", "Ich nehm' das n\u00e4chste Quellon.", "I take the next Quellon."},
    {"DnBtn", "Ich nehm' das vorige Quellon.", "I take the previous Quellon."},
    {"UnsolvedUpBtn", "Ich nehm' das n\u00e4chste ungel\u00f6ste Quellon.", "I take the next unsolved Quellon."},
    {"UnsolvedDnBtn", "Ich nehm' das vorige ungel\u00f6ste Quellon.", "I take the previous unsolved Quellon."},
    {"TipBtn", "Ich lass mir unter die Arme greifen.", "I need a little help."},
    {"StatBtn", "Mal sehen, was ich bisher schon geschafft habe.", "Let me see, what I've solved until now."},
    {"RulesBtn", "Worum geht's da eigentlich?", "What's to do here?"},
    {"ExitBtn", "Ich hab genug!", "I have enough!"},
    {"InfoBtn", "Wer hat diese Spiele nur verbrochen?", "Who did this ZINDLE GAME?"},
    {"OptionBtn", "Ich m\u00f6chte die Einstellungen \u00e4ndern.", "I want to modify the options."},
};

} // namespace quellon
