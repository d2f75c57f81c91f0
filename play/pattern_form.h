// The pattern window: the target silhouette of the current Quellon in black on
// silver, in a small window kept above the main window, whose caption carries
// the number and finished state. Its size follows the pattern placement at
// every showing.
#pragma once

#include <optional>

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QPoint>
#include <QShowEvent>
#include <QSize>
#include <QTimer>
#include <QWidget>

#include "engine/game_data.h"
#include "engine/settings_values.h"
#include "storage/settings_store.h"

namespace quellon {

class TPatForm : public QWidget {
    Q_OBJECT
public:
    static constexpr QPoint kDefaultPosition{500, 50};  // "pleft", "ptop" when none is stored

    // Reads the game and the settings at every paint; owns neither.
    TPatForm(const GameData& game, const SettingsValues& settings, QWidget* parent = nullptr);

    // Shows the window at the client size of the current placement; a change
    // of placement takes effect by hiding the window and showing it again.
    // With no position stored, the first showing waits until the main window
    // has its frame and the window has its place beside it.
    void showPattern();
    void hidePattern();
    // The repaint request after every change of Quellon, progress or game.
    void refresh();

    // Left and top in screen pixels, as stored under "pleft" and "ptop".
    QPoint storedPosition() const { return frameGeometry().topLeft(); }
    void placeAt(QPoint position)
    {
        awaitingFirstPlace_ = false;
        placedAt_.reset();
        move(position);
    }
    // Read once when the window is made, written when it goes at program end;
    // not written while the window waits for its first place, which it then
    // takes at its first showing in a later run.
    void loadPosition(const SettingsStore& store);
    void savePosition(const SettingsStore& store) const;

    QString caption() const;
    QSize clientSizeForPlacement() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Moves the window back onto the desktop where it reaches past an edge.
    void keepOnDesktop();
    // With no stored position: placed once, beside the main window, when that
    // has its frame and stands still; shown then if it was asked for.
    void placeOnceMainIsFramed();
    void placeBesideMain(const QWidget& main);

    bool awaitingFirstPlace_ = false;
    bool showWhenPlaced_ = false;
    QTimer mainSettled_;             // restarted while the main window moves
    QElapsedTimer waitingForFrame_;  // since the first showing was asked for
    static constexpr int kSettleMs = 100;
    // A window manager that frames no window must not hold the pattern back.
    static constexpr int kFrameWaitMs = 1500;
    // Where the first place put it, and when. A busy window manager may move
    // the main window on after that, as it frames it and the game centres it
    // with its frame: for this long the place catches up with those moves,
    // unless the player has moved the window.
    std::optional<QPoint> placedAt_;
    QElapsedTimer sincePlaced_;
    static constexpr int kStartMovesMs = 1500;

    const GameData& game_;
    const SettingsValues& settings_;
};

}  // namespace quellon
