// The pattern window: the target silhouette of the current Quellon in black on
// silver, in a small window kept above the main window, whose caption carries
// the number and finished state. Its size follows the pattern placement at
// every showing.
#pragma once

#include <optional>

#include <QCloseEvent>
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
    void showPattern();
    // The repaint request after every change of Quellon, progress or game.
    void refresh();

    // Left and top in screen pixels, as stored under "pleft" and "ptop".
    QPoint storedPosition() const { return frameGeometry().topLeft(); }
    void placeAt(QPoint position) { move(position); }
    // Read once when the window is made, written when it goes at program end.
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
    // With no stored position, until the player moves the window: the same
    // point of the main window as the default on the screen it was chosen
    // for, clear of the main window's tool buttons at the size of the moment.
    void placeForFirstStart();

    bool firstStart_ = false;
    std::optional<QPoint> placedByGame_;  // where placeForFirstStart put it last
    QSize placedSize_;                    // and at which size
    QTimer followMain_;                   // the main window moved or was resized
    static constexpr int kFollowDelayMs = 150;

    const GameData& game_;
    const SettingsValues& settings_;
};

}  // namespace quellon
