#include "dialogs/save_offer.h"

#include <filesystem>
#include <system_error>

#include "engine/catalogue.h"
#include "engine/saved_games.h"

namespace quellon {

namespace {

QString textOf(const Message& message, int language) { return QString::fromStdString(message.text(language)); }

}  // namespace

SaveOfferOutcome offerSave(GameData& game, int language, bool& unsavedProgress, TSaveGameDlg& dialog,
                           Messages& messages, const std::function<void()>& updateTitle)
{
    if (!unsavedProgress)
        return SaveOfferOutcome::NothingToSave;
    // A name the player declined to overwrite is not kept: the dialog comes
    // back with it selected, to be changed or cancelled.
    const std::string previousName = game.gameName;
    std::string name;
    for (;;) {
        const int result = dialog.exec();
        if (result != static_cast<int>(DialogResult::Ok) || game.gameName.empty()) {
            // The progress stays in memory; only the reminder is dropped.
            unsavedProgress = false;
            if (updateTitle)
                updateTitle();
            return SaveOfferOutcome::Declined;
        }
        name = game.gameName;
        // A name with a path in it would write outside the games directory:
        // refused as a file that cannot be created, before anything is looked at.
        if (!isSafeGameName(name)) {
            messages.showText(MessageCode::Notice, textOf(saveFailureMessage(name), language));
            return SaveOfferOutcome::Failed;
        }
        std::error_code error;
        if (!std::filesystem::exists(savedGamePath(game, name), error))
            break;
        const Message question = overwriteQuestion(name);
        if (messages.showText(question.code, textOf(question, language)) == static_cast<int>(DialogResult::Yes))
            break;
        game.gameName = previousName;
        dialog.offerName(QString::fromStdString(name));
    }
    if (!writeSavedGame(game, name)) {
        messages.showText(MessageCode::Notice, textOf(saveFailureMessage(name), language));
        return SaveOfferOutcome::Failed;
    }
    unsavedProgress = false;
    if (updateTitle)
        updateTitle();
    return SaveOfferOutcome::Saved;
}

}  // namespace quellon
