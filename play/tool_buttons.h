// The main window's thirteen tool buttons, declared once: the tool bar makes
// each from its row (picture, place, hint, spoken name) and the window
// connects each to the command of its row. The rows are in the order the
// buttons are made, which is also the order a screen reader walks them.
#pragma once

#include <QPoint>
#include <QSize>

#include "play/main_form.h"

namespace quellon {

struct ToolButtonRow {
    const char* name;  // the object name
    // Pictures "<face>-normal.svg" and "<face>-hover.svg", and with
    // `disabledFace` "<face>-disabled.svg" (else it is greyed when disabled).
    const char* face;
    bool disabledFace;
    // A negative x counts from the right edge: the button keeps its distance
    // to it at every resize.
    QPoint place;
    QSize size;
    const char* germanHint;
    const char* englishHint;
    // What a screen reader calls it; the hint is what it does.
    const char* germanName;
    const char* englishName;
    void (TMainform::*command)();
};

inline constexpr QSize kBigToolButton{50, 50};
inline constexpr QSize kHalfToolButton{50, 25};

// One button a row, as the formatter would spread each field on a line.
// clang-format off
inline constexpr ToolButtonRow kToolButtons[] = {
    {"NewGameBtn", "tool-newgame", true, {5, 6}, kBigToolButton, "Ich fang ein neues Spiel an.",
     "I want to play a new game.", "Neues Spiel", "New game", &TMainform::NewgameBtnClick},
    {"LoadBtn", "tool-load", true, {58, 6}, kBigToolButton, "Ich hol mir einen alten Spielstand.",
     "I want to continue an old game.", "Spiel laden", "Load game", &TMainform::LoadBtnClick},
    {"StatBtn", "tool-stats", true, {111, 6}, kBigToolButton, "Mal sehen, was ich bisher schon geschafft habe.",
     "Let me see, what I've solved until now.", "Statistik", "Statistics", &TMainform::StatBtnClick},
    {"TipBtn", "tool-help", true, {164, 6}, kBigToolButton, "Ich lass mir unter die Arme greifen.",
     "I need a little help.", "Hilfe", "Help", &TMainform::TipBtnClick},
    {"SelectBtn", "tool-select", true, {218, 6}, kBigToolButton, "Ich probier ein anderes Quellon.",
     "I try another Quellon.", "Quellon ausw\u00e4hlen", "Choose Quellon", &TMainform::SelectBtnClick},
    {"UpBtn", "tool-next", false, {270, 6}, kHalfToolButton, "Ich nehm' das n\u00e4chste Quellon.",
     "I take the next Quellon.", "N\u00e4chstes Quellon", "Next Quellon", &TMainform::UpBtnClick},
    {"DnBtn", "tool-prev", false, {270, 30}, kHalfToolButton, "Ich nehm' das vorige Quellon.",
     "I take the previous Quellon.", "Voriges Quellon", "Previous Quellon", &TMainform::DnBtnClick},
    {"UnsolvedUpBtn", "tool-next-unsolved", false, {323, 6}, kHalfToolButton,
     "Ich nehm' das n\u00e4chste ungel\u00f6ste Quellon.", "I take the next unsolved Quellon.",
     "N\u00e4chstes ungel\u00f6stes Quellon", "Next unsolved Quellon", &TMainform::UnsolvedUpBtnClick},
    {"UnsolvedDnBtn", "tool-prev-unsolved", false, {323, 30}, kHalfToolButton,
     "Ich nehm' das vorige ungel\u00f6ste Quellon.", "I take the previous unsolved Quellon.",
     "Voriges ungel\u00f6stes Quellon", "Previous unsolved Quellon", &TMainform::UnsolvedDnBtnClick},
    {"OptionBtn", "tool-options", false, {-208, 6}, kBigToolButton, "Ich m\u00f6chte die Einstellungen \u00e4ndern.",
     "I want to modify the options.", "Einstellungen", "Options", &TMainform::OptionBtnClick},
    {"InfoBtn", "tool-info", false, {-156, 6}, kBigToolButton, "Wer hat diese Spiele nur verbrochen?",
     "Who did this ZINDLE GAME?", "\u00dcber Quellon", "About Quellon", &TMainform::InfoBtnClick},
    {"RulesBtn", "tool-rules", false, {-104, 6}, kBigToolButton, "Worum geht's da eigentlich?", "What's to do here?",
     "Spielregeln", "Rules", &TMainform::RulesBtnClick},
    {"ExitBtn", "tool-exit", false, {-52, 6}, kBigToolButton, "Ich hab genug!", "I have enough!", "Beenden", "Quit",
     &TMainform::ExitBtnClick},
};
// clang-format on

}  // namespace quellon
