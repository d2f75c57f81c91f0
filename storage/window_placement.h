// The main window's place on the desktop: shown where it was left (or centred
// the first time), its outer size kept once the window manager's frame is
// known, and its normal rectangle and state recorded at the end. The seven
// stored numbers are read and written by readPlacement / writePlacement.
#pragma once

#include <optional>

#include <QObject>
#include <QRect>
#include <QSize>

#include "storage/settings_store.h"

class QWidget;

namespace quellon {

class WindowPlacer : public QObject {
public:
    // `minimumOuterSize` bounds the window with its frame, once that is known.
    WindowPlacer(QWidget& window, const SettingsStore& store, QSize minimumOuterSize);

    // Shows the window at its stored placement, or centred on the screen.
    void showRestored();
    // Writes the window's normal rectangle and its state.
    void recordPlacement() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Once the frame is known: the minimum outer size, and the restored
    // outer size taken back to a client size.
    void adoptFrame();
    // The outer window centred on the primary screen.
    void centre();

    QWidget& window_;
    const SettingsStore& store_;
    QSize minimumOuterSize_;
    std::optional<QSize> pendingOuterSize_;  // restored outer size, until the frame is known
    bool centreWithFrame_ = false;           // centred without a frame, until it is known
    bool maximizeWhenFramed_ = false;        // restored maximised, shown normal until framed
    // The frame of the normal window (offsets of its left and top, widths
    // added), as first seen.
    std::optional<QRect> normalMargins_;
    static constexpr int kFrameWait = 3000;  // ms a restored window waits for its frame
};

}  // namespace quellon
