#include "play/game_windows.h"

#include <utility>

#include "dialogs/load_game_dialog.h"
#include "dialogs/option_dialog.h"
#include "dialogs/save_game_dialog.h"
#include "dialogs/save_offer.h"
#include "dialogs/select_dialog.h"
#include "dialogs/stat_dialog.h"
#include "dialogs/tongue_dialog.h"
#include "play/main_form.h"
#include "play/pattern_form.h"

namespace quellon {

GameWindows::GameWindows(TMainform& mainForm, GameSession& session, GameMedia& media, Messages& messages)
    : mainForm_(mainForm),
      session_(session),
      media_(media),
      messages_(messages)
{
    // The pattern window is a window of its own that stays with the main
    // window: it never keeps the program alive after the main window closed.
    PatForm = new TPatForm(session.game(), session.settings(), &mainForm);
    PatForm->loadPosition(store_);
}

GameWindows::~GameWindows()
{
    // Dialogs first (those that were made), then the pattern window, which
    // writes where it stood.
    delete LoadGameDlg;
    delete SaveGameDlg;
    delete SelectDlg;
    delete StatDlg;
    delete TongueDlg;
    delete OptionDlg;
    PatForm->savePosition(store_);
    delete PatForm;
}

namespace {

// Each dialog is made the first time it is needed, and kept.
template <class Dialog, class... Args>
Dialog& madeOnce(Dialog*& dialog, Args&&... args)
{
    if (!dialog)
        dialog = new Dialog(std::forward<Args>(args)...);
    return *dialog;
}

}  // namespace

TOptionDlg& GameWindows::optionDialog() { return madeOnce(OptionDlg, session_.settings(), *this, &mainForm_); }

TTongueDlg& GameWindows::tongueDialog() { return madeOnce(TongueDlg, &mainForm_); }

TStatDlg& GameWindows::statDialog() { return madeOnce(StatDlg, session_.game(), session_.settings(), &mainForm_); }

TSelectDlg& GameWindows::selectDialog()
{
    return madeOnce(SelectDlg, session_.game(), session_.settings(), &mainForm_);
}

TSaveGameDlg& GameWindows::saveDialog()
{
    return madeOnce(SaveGameDlg, session_.game(), session_.settings(), &mainForm_);
}

TLoadGameDlg& GameWindows::loadDialog()
{
    return madeOnce(LoadGameDlg, session_.game(), session_.settings(), &mainForm_);
}

bool GameWindows::anyDialogMade() const
{
    return OptionDlg || TongueDlg || StatDlg || SelectDlg || SaveGameDlg || LoadGameDlg;
}

bool GameWindows::confirm(MessageCode question)
{
    return messages_.showCode(question) == static_cast<int>(DialogResult::Yes);
}

void GameWindows::offerSave()
{
    bool unsaved = session_.unsavedProgress();
    // Nothing to offer: the save dialog need not even be made.
    if (!unsaved)
        return;
    quellon::offerSave(session_.game(), session_.settings().language, unsaved, saveDialog(), messages_,
                       [this] { mainForm_.updateTitle(); });
    session_.setUnsavedProgress(unsaved);
}

std::optional<std::string> GameWindows::chooseSavedGame() { return loadDialog().chooseGame(); }

std::optional<int> GameWindows::chooseQuellon() { return selectDialog().chooseQuellon(); }

int GameWindows::chooseLanguage() { return tongueDialog().chooseLanguage(); }

void GameWindows::stepOption(GameSession::Option option) { mainForm_.carryOut(session_.stepOption(option)); }

void GameWindows::toggleMusic() { session_.setMusicOn(media_.toggleMusic()); }

}  // namespace quellon
