// The saved games as the load and save dialogs see them: the list of names in
// the games directory, the dialogs' words, the overwrite question and the
// save-failure notice, in both languages.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/game_data.h"
#include "engine/messages.h"

namespace quellon {

// Names of the saved games: every regular file "<name>.zql" in the games
// directory, without the extension, sorted by name. Files whose name would
// not load back (an empty name, for one) are left out. A missing or unreadable
// directory gives an empty list.
std::vector<std::string> listSavedGames(const GameData& game);

// "Game <name> already exists. Overwrite?" (MsgQuestion).
Message overwriteQuestion(std::string_view name);
// The notice after a failed save, the name between double quotes (MsgNotice).
Message saveFailureMessage(std::string_view name);

struct LoadDialogTexts {
    std::string what;  // the label above the list
    std::string cancelHint;
    std::string noGameLine;  // the list's only line when there is no game
};
LoadDialogTexts loadDialogTexts(int language);

struct SaveDialogTexts {
    std::string ask;  // the question above the name field
    std::string okHint;
};
SaveDialogTexts saveDialogTexts(int language);

}  // namespace quellon
