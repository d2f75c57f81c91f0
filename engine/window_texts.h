// The main window's own texts in both languages: its caption and its notice
// (the tool buttons' hints stand in their rows, play/tool_buttons.h). The
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

}  // namespace quellon
