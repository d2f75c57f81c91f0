// Restoring and recording the main window's placement.
#include "storage/window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "storage/startup.h"

namespace quellon {

WindowPlacer::WindowPlacer(QWidget& window, const SettingsStore& store, QSize minimumOuterSize)
    : window_(window),
      store_(store),
      minimumOuterSize_(minimumOuterSize)
{
    window_.installEventFilter(this);
}

void WindowPlacer::showRestored()
{
    QScreen* primary = QGuiApplication::primaryScreen();
    const QRect desktop = primary ? primary->virtualGeometry() : QRect(0, 0, 1024, 768);
    std::optional<WindowPlacement> placement = readPlacement(store_);
    if (!placement) {
        centre();
        // The frame is known only once the window manager has framed the
        // window: it is centred again then, with its frame.
        centreWithFrame_ = true;
        QTimer::singleShot(kFrameWait, this, [this] { centreWithFrame_ = false; });
        window_.show();
        return;
    }
    clampToDesktop(*placement, {desktop.left(), desktop.top(), desktop.width(), desktop.height()});
    // No bigger than the desktop: a hand-edited giant would make the board
    // picture too large to allocate. Measured in 64 bits: a clamped rectangle
    // may still reach from the desktop's edge to the end of the int range,
    // wider than a QRect can measure.
    const auto span = [](int from, int to, int most) {
        return static_cast<int>(std::clamp<int64_t>(int64_t{to} - from, 0, most));
    };
    const QRect outer(QPoint(placement->left, placement->top),
                      QSize(span(placement->left, placement->right, desktop.width()),
                            span(placement->top, placement->bottom, desktop.height())));
    window_.move(outer.topLeft());
    window_.resize(outer.size().expandedTo(window_.minimumSize()));
    // The stored rectangle is the outer one, but the frame is known only
    // once the window manager has framed the shown window, which may be well
    // after the first turn of the event loop: the client area shrinks by the
    // frame as soon as it is known (adoptFrame).
    pendingOuterSize_ = outer.size();
    QTimer::singleShot(0, this, &WindowPlacer::adoptFrame);
    // Without a window manager no frame ever comes.
    QTimer::singleShot(kFrameWait, this, [this] { pendingOuterSize_.reset(); });
    const bool maximized = placement->showState == kShowMaximized ||
                           (placement->showState == kShowMinimized && (placement->flags & kRestoreToMaximized));
    // A window closed minimized opens normal: starting hidden in the task bar
    // would look like a failed start.
    if (maximized && QGuiApplication::platformName() == QLatin1String("xcb")) {
        // Shown normal at its stored size first and maximised once framed:
        // the window manager keeps the size a window was mapped with as the
        // one to restore, which must be the stored outer size less the frame.
        maximizeWhenFramed_ = true;
        window_.show();
        QTimer::singleShot(kFrameWait, this, [this] {
            if (std::exchange(maximizeWhenFramed_, false))
                window_.showMaximized();
        });
    } else if (maximized) {
        window_.showMaximized();
    } else {
        window_.show();
    }
}

void WindowPlacer::centre()
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRect screen = primary ? primary->geometry() : QRect(0, 0, 1024, 768);
    const QSize outer = window_.frameGeometry().size();
    window_.move(screen.left() + (screen.width() - outer.width()) / 2,
                 screen.top() + (screen.height() - outer.height()) / 2);
}

void WindowPlacer::recordPlacement() const
{
    WindowPlacement placement;
    const QRect frame = window_.frameGeometry();
    const QRect client = window_.geometry();
    QRect normal = frame;
    if (window_.isMaximized() || window_.isMinimized() || window_.isFullScreen()) {
        // A maximised window's frame may lack the borders of a normal one.
        const QRect margins =
            normalMargins_.value_or(QRect(frame.left() - client.left(), frame.top() - client.top(),
                                          frame.width() - client.width(), frame.height() - client.height()));
        const QRect normalClient = window_.normalGeometry();
        normal = QRect(normalClient.left() + margins.left(), normalClient.top() + margins.top(),
                       normalClient.width() + margins.width(), normalClient.height() + margins.height());
    }
    placement.showState = window_.isMinimized() ? kShowMinimized : window_.isMaximized() ? kShowMaximized : kShowNormal;
    placement.flags = window_.isMinimized() && (window_.windowState() & Qt::WindowMaximized) ? kRestoreToMaximized : 0;
    placement.left = normal.left();
    placement.top = normal.top();
    placement.right = normal.left() + normal.width();
    placement.bottom = normal.top() + normal.height();
    writePlacement(store_, placement);
}

bool WindowPlacer::eventFilter(QObject* watched, QEvent* event)
{
    // Framing shows the window, or moves its client area in by the frame's
    // left and top edges.
    if (watched == &window_ && (event->type() == QEvent::Move || event->type() == QEvent::Show))
        adoptFrame();
    return false;
}

void WindowPlacer::adoptFrame()
{
    const QSize frame = window_.frameGeometry().size() - window_.size();
    if (frame.width() <= 0 && frame.height() <= 0)
        return;
    // Taken at the first framing, in the normal state: a window manager may
    // report a maximised window's frame late.
    if (!normalMargins_ &&
        !(window_.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))) {
        const QRect outer = window_.frameGeometry();
        const QRect client = window_.geometry();
        normalMargins_ = QRect(outer.left() - client.left(), outer.top() - client.top(), frame.width(), frame.height());
    }
    // The outer size is bounded, not the client area: take the frame off.
    window_.setMinimumSize((minimumOuterSize_ - frame).expandedTo(QSize(0, 0)));
    if (centreWithFrame_) {
        centreWithFrame_ = false;
        if (!window_.isMaximized() && !window_.isFullScreen())
            centre();
    }
    if (!pendingOuterSize_)
        return;
    const QSize outer = *pendingOuterSize_;
    pendingOuterSize_.reset();
    if (!window_.isMaximized() && !window_.isFullScreen())
        window_.resize((outer - frame).expandedTo(window_.minimumSize()));
    if (std::exchange(maximizeWhenFramed_, false))
        window_.showMaximized();
}

}  // namespace quellon
