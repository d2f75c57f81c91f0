// The main window (its commands in main_form_commands.cpp): the tool bar
// (play/tool_bar, its buttons in play/tool_buttons.h) above the board paint
// area (play/board_view), the caption, the tiled background with the frames
// round the board, start-up and closing. It forwards the board's pointer
// events and the tool buttons to the GameSession and carries out the
// outcomes it returns, playing their sounds and having the board view, the
// pattern window and its own caption show them. The pattern window and the
// dialogs stand beside it in GameWindows, which it owns; the help and the
// music are reached through GameMedia.
#pragma once

#include <memory>
#include <optional>

#include <QCursor>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "media/game_media.h"
#include "session/game_session.h"
#include "session/sound.h"
#include "storage/settings_store.h"
#include "storage/window_placement.h"
#include "ui/message_seam.h"

namespace quellon {

class BoardView;
class GameWindows;
class ToolBar;
class TInfoDlg;

class TMainform : public QWidget {
    Q_OBJECT
public:
    static constexpr int kToolBarHeight = 60;
    static constexpr QSize kInitialClientSize{909, 698};
    static constexpr QSize kMinimumTrackSize{650, 480};

    // `messages`: the message dialog of the window's own when null;
    // `programDir`: the program file's folder when empty.
    TMainform(GameSession& session, SoundEffects& sound, GameMedia& media, Messages* messages = nullptr,
              const QString& programDir = {});
    ~TMainform() override;

    // Start-up (the creation handler). False when the catalogue cannot be
    // used: the fatal box was shown and the program must end, writing nothing.
    bool FormCreate();
    // Shows the window at its stored placement, or centred on the screen.
    void showRestored();
    // The program's icon on its windows. Rendered from its SVG at every size
    // the window system asks for, so it is worth giving once the window stands.
    void setProgramIcon();

    // Carries out what a command did, action by action in its order.
    void carryOut(const SessionOutcome& outcome);
    void updateTitle();
    // Full repaint of the window and the board.
    void repaintMain();
    // The message dialog (or the one given). The windows beside this one
    // are handed it when they are made.
    Messages& messages();
    GameSession& session() { return session_; }
    GameWindows& windows() { return *windows_; }

    // The caption for these values.
    static QString composeTitle(int patmode, int quellon, uint8_t progress, const QString& gameName, int language);

    struct BoardLayout {
        int cellSize = 0;
        QRect area;
    };
    // Cell size and board area for a client area (tool bar included).
    static BoardLayout boardLayout(int clientWidth, int clientHeight);

    Board& board() { return session_.board(); }
    BoardView* boardView() const { return box; }
    PieceInteraction& interaction() { return session_.interaction(); }
    bool firstActivation() const { return firstActivation_; }
    // The two board cursors, made from their artwork when first shown.
    const QCursor& turnCursor();
    const QCursor& moveCursor();

    // The command handlers of the tool buttons (play/tool_buttons.h).
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
    void layOutBoard();
    void setPatternVisible(bool visible);

    GameSession& session_;
    SoundEffects& sound_;
    GameMedia& media_;
    SettingsStore store_;
    WindowPlacer placer_;
    QString programDir_;
    bool firstActivation_ = false;
    bool created_ = false;
    bool destroyed_ = false;
    // The last game's load-failure notice, shown at the first activation.
    std::optional<QString> startNotice_;

    Messages* messages_;
    std::unique_ptr<Messages> ownMessages_;
    TInfoDlg* infoDialog_ = nullptr;

    ToolBar* ToolPanel;
    BoardView* box;
    std::unique_ptr<GameWindows> windows_;
    QTimer Timer1;
};

}  // namespace quellon
