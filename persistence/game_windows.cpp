#include "persistence/game_windows.h"

#include <QTimer>

#include "dialogs/message_dialog.h"
#include "dialogs/option_dialog.h"
#include "dialogs/select_dialog.h"
#include "dialogs/stat_dialog.h"
#include "dialogs/tongue_dialog.h"
#include "persistence/game_state.h"
#include "persistence/help_viewer.h"
#include "persistence/load_game_dialog.h"
#include "persistence/music_player.h"
#include "persistence/save_game_dialog.h"
#include "persistence/save_offer.h"
#include "play/main_form.h"
#include "play/pattern_form.h"

namespace quellon {

namespace {

bool accepted(int result) { return result == static_cast<int>(DialogResult::Ok); }

} // namespace

void joinMediaHooks(MainformHooks& hooks, HelpViewer& help, MusicPlayer& music, const SettingsValues& settings)
{
    hooks.openHelp = [&help](int context) { help.openHelp(context); };
    hooks.closeHelp = [&help] { help.closeHelp(); };
    // The music starts as soon as the window shows, not during the start-up.
    hooks.startMusic = [&music, &settings] { QTimer::singleShot(0, [&music, &settings] { music.start(settings.musicOn); }); };
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
    OptionHooks optionHooks;
    optionHooks.applyLanguage = [this] { mainForm_.applyLanguage(); };
    optionHooks.repaintMain = [this] { mainForm_.repaintMain(); };
    OptionDlg = new TOptionDlg(state.settings, PatForm, std::move(optionHooks), &mainForm);
    TongueDlg = new TTongueDlg(state.settings, &mainForm);
    StatDlg = new TStatDlg(state.game, state.settings, &mainForm);
    SelectDlg = new TSelectDlg(state.game, state.settings, &mainForm);
    SaveGameDlg = new TSaveGameDlg(state.game, state.settings, &mainForm);
    LoadGameDlg = new TLoadGameDlg(state.game, state.settings, &mainForm);
    attachHooks();
    if (const QStringList unset = unsetHooks(mainForm.hooks); !unset.isEmpty())
        qFatal("The main window's hooks %s are joined to nothing", qPrintable(unset.join(QStringLiteral(", "))));
}

GameWindows::~GameWindows()
{
    // Dialogs first, then the pattern window, which writes where it stood.
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
    OptionHooks& hooks = OptionDlg->hooks();
    hooks.toggleMusic = std::move(toggleMusic);
    hooks.musicFound = std::move(musicFound);
    hooks.musicFileName = std::move(musicFileName);
}

void GameWindows::attachHooks()
{
    MainformHooks& hooks = mainForm_.hooks;
    hooks.offerSave = [this] {
        bool unsaved = mainForm_.unsavedProgress();
        GameState& state = gameState();
        offerSave(state.game, state.settings.language, unsaved, *SaveGameDlg, *messages_,
                  [this] { mainForm_.updateTitle(); });
        mainForm_.setUnsavedProgress(unsaved);
    };
    hooks.showLoadDialog = [this] { return accepted(LoadGameDlg->exec()); };
    hooks.showStatistics = [this] { StatDlg->exec(); };
    hooks.showSelection = [this] { return accepted(SelectDlg->exec()); };
    hooks.showOptions = [this] { OptionDlg->exec(); };
    hooks.askLanguage = [this] { TongueDlg->exec(); };
    hooks.repaintPattern = [this] { PatForm->refresh(); };
    hooks.setPatternVisible = [this](bool visible) {
        if (visible)
            PatForm->showPattern();
        else
            PatForm->hide();
    };
}

} // namespace quellon
