// The step before a new game, a load and the end of the program: when there
// is unsaved progress, offer to save it under a name.
#pragma once

#include <functional>

#include "engine/game_data.h"
#include "ui/message_seam.h"
#include "dialogs/save_game_dialog.h"

namespace quellon {

enum class SaveOfferOutcome {
    NothingToSave,  // no unsaved progress: nothing shown
    Declined,       // cancelled or no name: the reminder is dropped, nothing written
    Saved,          // written under the game name
    Failed,         // the file could not be written (or the name is unsafe): still unsaved
};

// Shows `dialog` when `unsavedProgress` is set and saves under the name typed
// there, asking before overwriting an existing game (on No the dialog comes
// back with that name selected, and the game keeps its former name) and
// reporting a failed write through `messages`. `updateTitle` runs when the reminder is dropped or
// the game was saved. Callers go on whatever the outcome.
SaveOfferOutcome offerSave(GameData& game, int language, bool& unsavedProgress, TSaveGameDlg& dialog,
                           Messages& messages, const std::function<void()>& updateTitle);

}  // namespace quellon
