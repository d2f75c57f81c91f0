#include "play/game_windows.h"

#include <QTimer>

#include "dialogs/message_dialog.h"
#include "dialogs/option_dialog.h"
#include "dialogs/select_dialog.h"
#include "dialogs/stat_dialog.h"
#include "dialogs/tongue_dialog.h"
#include "session/game_state.h"
#include "media/media_modules.h"
#include "dialogs/load_game_dialog.h"
#include "media/music_player.h"
#include "dialogs/save_game_dialog.h"
#include "dialogs/save_offer.h"
#include "play/main_form.h"
#include "play/pattern_form.h"

namespace quellon {

namespace {

bool accepted(int result) { return result == static_cast<int>(DialogResult::Ok); }

} // namespace

void joinMediaHooks(MainformHooks& hooks, HelpService& help, MusicPlayer& music, const SettingsValues& settings,
                    DeferredStep whenShown)
{
    hooks.openHelp = [&help](int context) { help.openHelp(context); };
    hooks.closeHelp = [&help] { help.closeHelp(); };
    hooks.startMusic = [&music, &settings, whenShown = std::move(whenShown)] {
        whenShown([&music, &settings] { music.start(settings.musicOn); });
    };
    hooks.musicTick = [&music] { music.Timer1Timer(); };
    hooks.stopMusic = [&music] { music.close(); };
}

QStringList unsetHooks(const MainformHooks& hooks)
{
    // Bound by position: a hook added to MainformHooks stops this compiling
    // until it is named here too.
    const auto& [offerSave, showLoadDialog, showStatistics, showSelection, showOptions, askLanguage,
                 repaintPattern, setPatternVisible, openHelp, closeHelp, startMusic, musicTick, stopMusic] = hooks;
    QStringList unset;
    auto check = [&unset](const auto& hook, const char* name) {
        if (!hook)
            unset << QLatin1String(name);
    };
    check(offerSave, "offerSave");
    check(showLoadDialog, "showLoadDialog");
    check(showStatistics, "showStatistics");
    check(showSelection, "showSelection");
    check(showOptions, "showOptions");
    check(askLanguage, "askLanguage");
    check(repaintPattern, "repaintPattern");
    check(setPatternVisible, "setPatternVisible");
    check(openHelp, "openHelp");
    check(closeHelp, "closeHelp");
    check(startMusic, "startMusic");
    check(musicTick, "musicTick");
    check(stopMusic, "stopMusic");
    return unset;
}

GameWindows::GameWindows(TMainform& mainForm, Messages* messages) : mainForm_(mainForm), messages_(messages)
{
    GameState& state = gameState();
    // The pattern window is a window of its own that stays with the main
    // window: it never keeps the program alive after the main window closed.
    PatForm = new TPatForm(state.game, state.settings, &mainForm);
    PatForm->loadPosition(store_);
    if (!messages_) {
        ownMessages_ = std::make_unique<TYesNoDlg>(&mainForm);
        messages_ = ownMessages_.get();
    }
    attachHooks();
    if (const QStringList unset = unsetHooks(mainForm.hooks); !unset.isEmpty())
        qFatal("The main window's hooks %s are joined to nothing", qPrintable(unset.join(QStringLiteral(", "))));
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
    ownMessages_.reset();
    PatForm->savePosition(store_);
    delete PatForm;
    MainformHooks& hooks = mainForm_.hooks;
    hooks.offerSave = nullptr;
    hooks.showLoadDialog = nullptr;
    hooks.showStatistics = nullptr;
    hooks.showSelection = nullptr;
    hooks.showOptions = nullptr;
    hooks.askLanguage = nullptr;
    hooks.repaintPattern = nullptr;
    hooks.setPatternVisible = nullptr;
}

void GameWindows::setMusicControls(std::function<bool()> toggleMusic, std::function<bool()> musicFound,
                                   std::function<QString()> musicFileName)
{
    toggleMusic_ = std::move(toggleMusic);
    musicFound_ = std::move(musicFound);
    musicFileName_ = std::move(musicFileName);
    if (OptionDlg) {
        OptionHooks& hooks = OptionDlg->hooks();
        hooks.toggleMusic = toggleMusic_;
        hooks.musicFound = musicFound_;
        hooks.musicFileName = musicFileName_;
    }
}

TOptionDlg& GameWindows::optionDialog()
{
    if (!OptionDlg) {
        OptionHooks hooks;
        hooks.toggleMusic = toggleMusic_;
        hooks.musicFound = musicFound_;
        hooks.musicFileName = musicFileName_;
        hooks.applyLanguage = [this] { mainForm_.applyLanguage(); };
        hooks.repaintMain = [this] { mainForm_.repaintMain(); };
        OptionDlg = new TOptionDlg(gameState().settings, PatForm, std::move(hooks), &mainForm_);
    }
    return *OptionDlg;
}

TTongueDlg& GameWindows::tongueDialog()
{
    if (!TongueDlg)
        TongueDlg = new TTongueDlg(gameState().settings, &mainForm_);
    return *TongueDlg;
}

TStatDlg& GameWindows::statDialog()
{
    if (!StatDlg)
        StatDlg = new TStatDlg(gameState().game, gameState().settings, &mainForm_);
    return *StatDlg;
}

TSelectDlg& GameWindows::selectDialog()
{
    if (!SelectDlg)
        SelectDlg = new TSelectDlg(gameState().game, gameState().settings, &mainForm_);
    return *SelectDlg;
}

TSaveGameDlg& GameWindows::saveDialog()
{
    if (!SaveGameDlg)
        SaveGameDlg = new TSaveGameDlg(gameState().game, gameState().settings, &mainForm_);
    return *SaveGameDlg;
}

TLoadGameDlg& GameWindows::loadDialog()
{
    if (!LoadGameDlg)
        LoadGameDlg = new TLoadGameDlg(gameState().game, gameState().settings, &mainForm_);
    return *LoadGameDlg;
}

bool GameWindows::anyDialogMade() const
{
    return OptionDlg || TongueDlg || StatDlg || SelectDlg || SaveGameDlg || LoadGameDlg;
}

void GameWindows::attachHooks()
{
    MainformHooks& hooks = mainForm_.hooks;
    hooks.offerSave = [this] {
        bool unsaved = mainForm_.unsavedProgress();
        // Nothing to offer: the save dialog need not even be made.
        if (!unsaved)
            return;
        GameState& state = gameState();
        offerSave(state.game, state.settings.language, unsaved, saveDialog(), *messages_,
                  [this] { mainForm_.updateTitle(); });
        mainForm_.setUnsavedProgress(unsaved);
    };
    hooks.showLoadDialog = [this] { return accepted(loadDialog().exec()); };
    hooks.showStatistics = [this] { statDialog().exec(); };
    hooks.showSelection = [this] { return accepted(selectDialog().exec()); };
    hooks.showOptions = [this] { optionDialog().exec(); };
    hooks.askLanguage = [this] { tongueDialog().exec(); };
    hooks.repaintPattern = [this] { PatForm->refresh(); };
    hooks.setPatternVisible = [this](bool visible) {
        if (visible)
            PatForm->showPattern();
        else
            PatForm->hide();
    };
}

} // namespace quellon
