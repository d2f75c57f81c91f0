// The windows that stand beside the main window: the pattern window and the
// load, save, statistics, selection, options and language dialogs. The
// pattern window is made with the main window, each dialog the first time it
// is asked for (building them all at start-up cost more than the rest of the
// start together), then kept and reused until the end; the main window owns
// them and lets them go before itself, the pattern window storing its
// position on the way.
//
// They answer the session's prompts (the questions, the save offer, the
// choice of a game or a Quellon) and carry the options dialog's steps to the
// session and back to the windows.
#pragma once

#include <memory>

#include "dialogs/option_dialog.h"
#include "media/game_media.h"
#include "session/game_session.h"
#include "storage/settings_store.h"
#include "ui/message_seam.h"

namespace quellon {

class TMainform;
class TPatForm;
class TSaveGameDlg;
class TLoadGameDlg;
class TStatDlg;
class TSelectDlg;
class TOptionDlg;
class TTongueDlg;

class GameWindows final : public SessionPrompts, public OptionEffects {
public:
    // `messages` shows the questions and the save offer's notices.
    GameWindows(TMainform& mainForm, GameSession& session, GameMedia& media, Messages& messages);
    ~GameWindows() override;
    GameWindows(const GameWindows&) = delete;
    GameWindows& operator=(const GameWindows&) = delete;

    TPatForm& patternWindow() const { return *PatForm; }
    // Each dialog, made on the first call.
    TSaveGameDlg& saveDialog();
    TLoadGameDlg& loadDialog();
    TStatDlg& statDialog();
    TSelectDlg& selectDialog();
    TOptionDlg& optionDialog();
    TTongueDlg& tongueDialog();
    // Whether any dialog has been made yet.
    bool anyDialogMade() const;

    // SessionPrompts
    bool confirm(MessageCode question) override;
    void offerSave() override;
    std::optional<std::string> chooseSavedGame() override;
    std::optional<int> chooseQuellon() override;
    int chooseLanguage() override;

    // OptionEffects
    void stepOption(GameSession::Option option) override;
    void toggleMusic() override;
    bool musicFound() const override { return media_.musicFound(); }
    QString musicFileName() const override { return media_.musicFileName(); }

private:
    TMainform& mainForm_;
    GameSession& session_;
    GameMedia& media_;
    Messages& messages_;
    SettingsStore store_;
    TPatForm* PatForm;
    TOptionDlg* OptionDlg = nullptr;
    TTongueDlg* TongueDlg = nullptr;
    TStatDlg* StatDlg = nullptr;
    TSelectDlg* SelectDlg = nullptr;
    TSaveGameDlg* SaveGameDlg = nullptr;
    TLoadGameDlg* LoadGameDlg = nullptr;
};

}  // namespace quellon
