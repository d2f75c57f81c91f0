// Texts the engine asks its caller to show, in both languages. The window
// layer picks the language at the moment it shows the text.
#pragma once

#include <string>

#include "engine/settings_values.h"

namespace quellon {

// Codes of the message dialog.
enum class MessageCode : int {
    Solved = 1,     // MsgSolved
    Quit = 3,       // MsgQuit
    NewGame = 4,    // MsgNewGame
    Notice = 10,    // MsgNotice: caller's text, OK only
    Question = 11,  // MsgQuestion: caller's text, yes and no
};

struct Message {
    MessageCode code = MessageCode::Notice;
    std::string german;
    std::string english;

    const std::string& text(int language) const { return language == kLanguageGerman ? german : english; }
};

}  // namespace quellon
