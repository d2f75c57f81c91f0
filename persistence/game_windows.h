// The windows that stand beside the main window: the pattern window and the
// load, save, statistics, selection, options and language dialogs. Made once
// after the main window, in the game's order, and joined to its hooks; gone
// before it, the pattern window storing its position on the way. Every hook
// of the main window must be joined by then: a hook left empty would turn its
// button into one that silently does nothing, so GameWindows refuses it.
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

#include "persistence/message_seam.h"
#include "persistence/settings_store.h"

namespace quellon {

class HelpViewer;
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
// which starts the music with the "music" setting it has just read.
void joinMediaHooks(MainformHooks& hooks, HelpViewer& help, MusicPlayer& music, const SettingsValues& settings);

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
    TSaveGameDlg& saveDialog() const { return *SaveGameDlg; }
    TLoadGameDlg& loadDialog() const { return *LoadGameDlg; }
    TStatDlg& statDialog() const { return *StatDlg; }
    TSelectDlg& selectDialog() const { return *SelectDlg; }
    TOptionDlg& optionDialog() const { return *OptionDlg; }
    TTongueDlg& tongueDialog() const { return *TongueDlg; }

private:
    void attachHooks();

    TMainform& mainForm_;
    SettingsStore store_;
    std::unique_ptr<TYesNoDlg> ownMessages_;
    Messages* messages_;
    TPatForm* PatForm;
    TOptionDlg* OptionDlg;
    TTongueDlg* TongueDlg;
    TStatDlg* StatDlg;
    TSelectDlg* SelectDlg;
    TSaveGameDlg* SaveGameDlg;
    TLoadGameDlg* LoadGameDlg;
};

} // namespace quellon
