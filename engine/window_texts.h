// The main window's own texts in both languages: its caption, the hints and
// spoken names of its tool buttons (keyed by the button's object name) and
// its notice. The window picks the language when it shows them.
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

// A button's hint, and its name as a screen reader says it.
struct ButtonHint {
    const char* button;
    const char* german;
    const char* english;
    const char* germanName;
    const char* englishName;
};

inline constexpr ButtonHint kButtonHints[] = {
    {"LoadBtn", "Ich hol mir einen alten Spielstand.", "I want to continue an old game.", "Spiel laden", "Load game"},
    {"NewGameBtn", "Ich fang ein neues Spiel an.", "I want to play a new game.", "Neues Spiel", "New game"},
    {"SelectBtn", "Ich probier ein anderes Quellon.", "I try another Quellon.", "Quellon ausw\u00e4hlen",
     "Choose Quellon"},
    {"UpBtn", "Ich nehm' das n\u00e4chste Quellon.", "I take the next Quellon.", "N\u00e4chstes Quellon",
     "Next Quellon"},
    {"DnBtn", "Ich nehm' das vorige Quellon.", "I take the previous Quellon.", "Voriges Quellon", "Previous Quellon"},
    {"UnsolvedUpBtn", "Ich nehm' das n\u00e4chste ungel\u00f6ste Quellon.", "I take the next unsolved Quellon.",
     "N\u00e4chstes ungel\u00f6stes Quellon", "Next unsolved Quellon"},
    {"UnsolvedDnBtn", "Ich nehm' das vorige ungel\u00f6ste Quellon.", "I take the previous unsolved Quellon.",
     "Voriges ungel\u00f6stes Quellon", "Previous unsolved Quellon"},
    {"TipBtn", "Ich lass mir unter die Arme greifen.", "I need a little help.", "Hilfe", "Help"},
    {"StatBtn", "Mal sehen, was ich bisher schon geschafft habe.", "Let me see, what I've solved until now.",
     "Statistik", "Statistics"},
    {"RulesBtn", "Worum geht's da eigentlich?", "What's to do here?", "Spielregeln", "Rules"},
    {"ExitBtn", "Ich hab genug!", "I have enough!", "Beenden", "Quit"},
    {"InfoBtn", "Wer hat diese Spiele nur verbrochen?", "Who did this ZINDLE GAME?", "\u00dcber Quellon",
     "About Quellon"},
    {"OptionBtn", "Ich m\u00f6chte die Einstellungen \u00e4ndern.", "I want to modify the options.", "Einstellungen",
     "Options"},
};

}  // namespace quellon
