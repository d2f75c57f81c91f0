// The main window: the tool bar (play/tool_bar) above the board paint area
// (play/board_view), the caption, the tiled background with the frames
// round the board, the commands of the buttons, start-up and closing. The
// board's pointer events go to the engine's PieceInteraction; the window
// plays the sounds of the steps it reports, has the board view draw them and
// carries out a solve. It owns the Board and the unsaved-progress flag; the
// game's global data and options live in gameState().
//
// Dialogs, the pattern window, music and help are reached through `hooks`:
// the help and music ones joined by joinMediaHooks before FormCreate, the
// others by GameWindows, which refuses to run with any hook left unset. A
// window tested alone may leave hooks unset; they then do nothing.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QCursor>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "engine/board.h"
#include "engine/interaction.h"
#include "engine/setup.h"
#include "session/game_state.h"
#include "ui/message_seam.h"
#include "storage/settings_store.h"
#include "session/sound.h"
#include "storage/window_placement.h"

namespace quellon {

class BoardView;
class ToolBar;
class TInfoDlg;
class TYesNoDlg;

struct MainformHooks {
    // The save offer before a new game, before loading and at closing. It
    // clears the unsaved flag (setUnsavedProgress) and calls updateTitle when
    // it saved or the player declined.
    std::function<void()> offerSave;
    // The load dialog: true when not cancelled, after it has set
    // gameState().game.gameName to the chosen game.
    std::function<bool()> showLoadDialog;
    std::function<void()> showStatistics;
    // The selection dialog: true on OK, after it has set currentQuellon.
    std::function<bool()> showSelection;
    // The options dialog; it changes gameState().settings and calls
    // applyLanguage / applyPatternMode / repaintMain as needed.
    std::function<void()> showOptions;
    // The language dialog, at the first activation while no language is
    // chosen; it sets gameState().settings.language.
    std::function<void()> askLanguage;
    std::function<void()> repaintPattern;
    std::function<void(bool visible)> setPatternVisible;
    // Help: a topic by context number (1 German rules, 2 English rules),
    // every help window closed at the end.
    std::function<void(int context)> openHelp;
    std::function<void()> closeHelp;
    // Music: at start-up, after the set-up, the player looks for music and
    // plays it when music is on; ticked once a second; stopped at the end.
    std::function<void()> startMusic;
    std::function<void()> musicTick;
    std::function<void()> stopMusic;
};

struct MainformServices {
    SoundEffects* sound = nullptr;   // silent when none is given
    Messages* messages = nullptr;    // the message dialog when none is given
    QString programDir;              // the program file's folder when empty
};

class TMainform : public QWidget {
    Q_OBJECT
public:
    static constexpr int kToolBarHeight = 60;
    static constexpr QSize kInitialClientSize{909, 698};
    static constexpr QSize kMinimumTrackSize{650, 480};

    explicit TMainform(MainformServices services = {});
    ~TMainform() override;

    MainformHooks hooks;

    // Start-up (the creation handler). False when the catalogue cannot be
    // used: the fatal box was shown and the program must end, writing nothing.
    bool FormCreate();
    // Shows the window at its stored placement, or centred on the screen.
    void showRestored();
    // The program's icon on the window. Rendered from its SVG at every size
    // the window system asks for, so it is worth giving once the window stands.
    void setProgramIcon();

    // Operations other windows call.
    void updateTitle();
    void applyLanguage();
    // Shows or hides the pattern window by patmode, repaints, renews the caption.
    void applyPatternMode();
    // Full repaint of the window and the board.
    void repaintMain();
    // Set-up of the current Quellon (TipBtn enabled while it is unfinished).
    void setUpCurrent();
    // The message dialog (or the one given in the services), for every window.
    Messages& messages();
    bool unsavedProgress() const { return unsavedProgress_; }
    void setUnsavedProgress(bool unsaved) { unsavedProgress_ = unsaved; }

    // The caption for these values.
    static QString composeTitle(int patmode, int quellon, uint8_t progress, const QString& gameName, int language);

    struct BoardLayout {
        int cellSize = 0;
        QRect area;
    };
    // Cell size and board area for a client area (tool bar included).
    static BoardLayout boardLayout(int clientWidth, int clientHeight);

    Board& board() { return board_; }
    BoardView* boardView() const { return box; }
    PieceInteraction& interaction() { return interaction_; }
    bool firstActivation() const { return firstActivation_; }
    // The two board cursors, made from their artwork when first shown.
    const QCursor& turnCursor();
    const QCursor& moveCursor();

    // Carries out what a pointer event did: the cursor, then each step's
    // sound and drawing in the order the steps happened.
    void showOutcome(const PointerOutcome& outcome);

    // The command handlers of the tool buttons.
    void NewgameBtnClick();
    void LoadBtnClick();
    void StatBtnClick();
    void TipBtnClick();
    void SelectBtnClick();
    void UpBtnClick();
    void DnBtnClick();
    void UnsolvedUpBtnClick();
    void UnsolvedDnBtnClick();
    void OptionBtnClick();
    void InfoBtnClick();
    void RulesBtnClick();
    void ExitBtnClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void FormActivate();
    void FormClose();
    void FormDestroy();
    void boxMouseDown(PointerButton button, QPoint position);
    void boxMouseMove(bool leftHeld, QPoint position);
    // Plays sound n when sound is on.
    void playSound(int n);
    // The rest of a solve once the board's check found it, in its fixed
    // order: colour, progress, sound, message, pattern.
    void showSolved(const PointerStep& step);
    void layOutBoard();
    void refresh();
    void unsolvedSearch(bool (*search)(GameData&));

    Board board_;
    PieceRandom random_;
    PieceInteraction interaction_;
    SettingsStore store_;
    WindowPlacer placer_;
    QString programDir_;
    bool firstActivation_ = false;
    bool unsavedProgress_ = false;
    bool created_ = false;
    bool destroyed_ = false;

    SoundEffects* sound_;
    std::unique_ptr<SoundEffects> silentSound_;
    Messages* messages_;
    std::unique_ptr<Messages> ownMessages_;
    TInfoDlg* infoDialog_ = nullptr;

    ToolBar* ToolPanel;
    BoardView* box;
    QTimer Timer1;
};

} // namespace quellon
