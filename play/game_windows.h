// The windows that stand beside the main window: the pattern window and the
// load, save, statistics, selection, options and language dialogs. The
// pattern window is made with the main window, each dialog the first time it
// is asked for (building them all at start-up cost more than the rest of the
// start together), then kept and reused until the end. All are joined to the
// main window's hooks and gone before it, the pattern window storing its
// position on the way.
//
// Every hook of the main window must be joined once it is made: a hook left
// empty would turn its button into one that silently does nothing, so
// GameWindows refuses it.
//
//   TMainform mainForm;
//   joinMediaHooks(mainForm.hooks, help, music, settings);
//   if (!mainForm.FormCreate()) return 1;
//   GameWindows windows(mainForm, &messageDialog);   // or nullptr: own message dialog
//   windows.setMusicControls(...);
//   mainForm.showRestored();
#pragma once

#include <functional>
#include <memory>

#include <QString>
#include <QStringList>

#include "ui/message_seam.h"
#include "storage/settings_store.h"

namespace quellon {

class HelpService;
class MusicPlayer;
class TMainform;
struct MainformHooks;
struct SettingsValues;
class TPatForm;
class TSaveGameDlg;
class TLoadGameDlg;
class TStatDlg;
class TSelectDlg;
class TOptionDlg;
class TTongueDlg;
class TYesNoDlg;

// The help and music hooks of the main window, joined before FormCreate,
// which starts the music with the "music" setting it has just read. The
// music starts through `whenShown`, once the window shows, not during the
// start-up.
using DeferredStep = std::function<void(std::function<void()>)>;
void joinMediaHooks(MainformHooks& hooks, HelpService& help, MusicPlayer& music, const SettingsValues& settings,
                    DeferredStep whenShown);

// The names of the main window's hooks that nothing is joined to.
QStringList unsetHooks(const MainformHooks& hooks);

class GameWindows {
public:
    // `messages` shows the save offer's question and notices; when null a
    // message dialog of its own is made. Ends the program when a hook of the
    // main window is still unset afterwards (see unsetHooks).
    GameWindows(TMainform& mainForm, Messages* messages);
    ~GameWindows();
    GameWindows(const GameWindows&) = delete;
    GameWindows& operator=(const GameWindows&) = delete;

    // The music button of the options dialog: the player's switch (whether
    // music is now on), whether a music file was found, and the bare name of
    // the file now chosen.
    void setMusicControls(std::function<bool()> toggleMusic, std::function<bool()> musicFound,
                          std::function<QString()> musicFileName);

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

private:
    void attachHooks();

    TMainform& mainForm_;
    SettingsStore store_;
    std::unique_ptr<TYesNoDlg> ownMessages_;
    Messages* messages_;
    std::function<bool()> toggleMusic_;
    std::function<bool()> musicFound_;
    std::function<QString()> musicFileName_;
    TPatForm* PatForm;
    TOptionDlg* OptionDlg = nullptr;
    TTongueDlg* TongueDlg = nullptr;
    TStatDlg* StatDlg = nullptr;
    TSelectDlg* SelectDlg = nullptr;
    TSaveGameDlg* SaveGameDlg = nullptr;
    TLoadGameDlg* LoadGameDlg = nullptr;
};

} // namespace quellon
