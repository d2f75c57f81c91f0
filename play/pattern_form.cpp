#include "play/pattern_form.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include <QAbstractButton>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QPolygon>
#include <QScreen>

#include "engine/pattern.h"
#include "engine/pattern_placement.h"
#include "play/board_view.h"

#if defined(QUELLON_HAVE_XCB) && QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#define QUELLON_X11_HINTS 1
#endif

namespace quellon {

namespace {

const QColor kPatternBackground(0xC0, 0xC0, 0xC0);

// The window flags only ask for a title bar without buttons; under X11 the
// window manager is also told that the window may be moved and nothing
// else: Motif functions without close, minimise, maximise and resize (window
// managers that honour them offer none of these), and the toolbar type,
// which the window managers that ignore the Motif close and minimise
// functions do not minimise either.
void allowMovingOnly(QWidget* window)
{
#ifdef QUELLON_X11_HINTS
    // The offscreen platform may answer for X11 too, without a connection.
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection =
        x11 && QGuiApplication::platformName() == QLatin1String("xcb") ? x11->connection() : nullptr;
    if (!connection)
        return;
    // All three names asked for before the first answer: one round trip.
    const char* const names[3] = {"_MOTIF_WM_HINTS", "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_TOOLBAR"};
    xcb_intern_atom_cookie_t cookies[3];
    for (int i = 0; i < 3; ++i)
        cookies[i] = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(names[i])), names[i]);
    xcb_atom_t atoms[3] = {};
    bool known = true;
    for (int i = 0; i < 3; ++i) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookies[i], nullptr);
        known = known && reply;
        atoms[i] = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
    }
    if (!known)
        return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    constexpr uint32_t kFunctionsGiven = 1;
    constexpr uint32_t kMoveFunction = 4;
    const uint32_t motifHints[5] = {kFunctionsGiven, kMoveFunction, 0, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atoms[0], atoms[0], 32, 5, motifHints);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atoms[1], XCB_ATOM_ATOM, 32, 1, &atoms[2]);
    xcb_flush(connection);
#else
    Q_UNUSED(window);
#endif
}

// Whether a window manager runs that may still frame the main window and
// move it. Only X11 frames a window after it is shown; elsewhere the frame is
// known at once.
bool windowManagerFrames()
{
#ifdef QUELLON_X11_HINTS
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection =
        x11 && QGuiApplication::platformName() == QLatin1String("xcb") ? x11->connection() : nullptr;
    if (!connection)
        return false;
    const char* const name = "_NET_SUPPORTING_WM_CHECK";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    if (!atom)
        return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_get_property_reply_t* check = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
    const bool runs = atom->atom != XCB_ATOM_NONE && check && xcb_get_property_value_length(check) > 0;
    std::free(check);
    std::free(atom);
    return runs;
#else
    return false;
#endif
}

}  // namespace

TPatForm::TPatForm(const GameData& game, const SettingsValues& settings, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      game_(game),
      settings_(settings)
{
    // A title bar without buttons: the player can neither close, shrink nor resize it.
    // A tool window of the main window: the window system keeps it above that
    // window (on X11 as a window transient for it), below the game's dialogs
    // and not above other programs' windows. The global "above" state would
    // put it over all of them, and is lost when a window manager withdraws
    // it late after a quick hide and show.
    setObjectName(QStringLiteral("PatForm"));
    setFixedSize(clientSizeForPlacement());
    move(kDefaultPosition);
    setWindowTitle(caption());
}

void TPatForm::loadPosition(const SettingsStore& store)
{
    awaitingFirstPlace_ = parentWidget() && (!store.contains(SettingsStore::kSection, QStringLiteral("pleft")) ||
                                             !store.contains(SettingsStore::kSection, QStringLiteral("ptop")));
    if (awaitingFirstPlace_) {
        parentWidget()->window()->installEventFilter(this);
        mainSettled_.setSingleShot(true);
        mainSettled_.setInterval(kSettleMs);
        connect(&mainSettled_, &QTimer::timeout, this, &TPatForm::placeOnceMainIsFramed);
    }
    move(store.readInteger(SettingsStore::kSection, QStringLiteral("pleft"), kDefaultPosition.x()),
         store.readInteger(SettingsStore::kSection, QStringLiteral("ptop"), kDefaultPosition.y()));
    keepOnDesktop();
}

void TPatForm::keepOnDesktop()
{
    // A hand-edited position far outside the desktop would hide the window
    // for good; a window left at the edge and then shown at a bigger
    // placement would reach past it.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect desktop = screen->virtualGeometry();
    // With its frame, once the window manager has told it.
    const QSize outer = frameGeometry().size();
    const QPoint position(
        std::clamp(pos().x(), desktop.left(), std::max(desktop.left(), desktop.right() + 1 - outer.width())),
        std::clamp(pos().y(), desktop.top(), std::max(desktop.top(), desktop.bottom() + 1 - outer.height())));
    if (position != pos())
        move(position);
}

void TPatForm::placeOnceMainIsFramed()
{
    const QWidget* main = parentWidget()->window();
    if (placedAt_) {
        if (!sincePlaced_.hasExpired(kStartMovesMs) && (pos() - *placedAt_).manhattanLength() <= 2) {
            placeBesideMain(*main);
            placedAt_ = pos();
        }
        return;
    }
    if (!awaitingFirstPlace_ || !showWhenPlaced_)
        return;
    // Placed by the main window's frame, which the window manager adds after
    // that window is shown and may move it with; with no window manager, or
    // no main window on the screen to wait for, at once.
    const bool framed = !main->isVisible() || main->frameGeometry() != main->geometry() || !windowManagerFrames() ||
                        waitingForFrame_.hasExpired(kFrameWaitMs);
    if (!framed) {
        mainSettled_.start();
        return;
    }
    awaitingFirstPlace_ = false;
    placeBesideMain(*main);
    placedAt_ = pos();
    sincePlaced_.start();
    showWhenPlaced_ = false;
    show();
}

void TPatForm::placeBesideMain(const QWidget& main)
{
    const QScreen* screen = main.screen();
    const auto* board = main.findChild<const BoardView*>();
    if (screen == nullptr || board == nullptr)
        return;
    const auto toScreenRect = [](const QRect& r) { return ScreenRect{r.left(), r.top(), r.width(), r.height()}; };
    MainWindowLayout layout;
    layout.outer = toScreenRect(main.frameGeometry());
    layout.board = toScreenRect(QRect(board->mapToGlobal(QPoint(0, 0)), board->size()));
    for (const QAbstractButton* button : main.findChildren<const QAbstractButton*>())
        if (button->window() == &main && button->isVisible())
            layout.keepClear.push_back(toScreenRect(QRect(button->mapToGlobal(QPoint(0, 0)), button->size())));
    const int cell = board->cellSize();
    for (const CellRect& place : parkingPlaces())
        layout.keepClear.push_back(toScreenRect(QRect(board->mapToGlobal(QPoint(place.column, place.row) * cell),
                                                      QSize(place.columns, place.rows) * cell)));
    // Never shown yet, this window's frame is taken to be the main window's,
    // less the grip a window manager may add below a window that can be
    // resized: its bottom edge as wide as its left.
    QSize outer = frameGeometry().size();
    if (outer == size()) {
        const int side = main.geometry().left() - main.frameGeometry().left();
        const int top = main.geometry().top() - main.frameGeometry().top();
        outer += QSize(main.frameGeometry().width() - main.width(), top + side);
    }
    const ScreenPoint at =
        firstPatternPosition(layout, toScreenRect(screen->availableGeometry()), outer.width(), outer.height());
    move(at.x, at.y);
}

bool TPatForm::eventFilter(QObject* watched, QEvent* event)
{
    // Placed once the main window stands still: the window manager may move
    // it when it frames it, and the game centres it again with its frame.
    if (parentWidget() && watched == parentWidget()->window() &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
        if (awaitingFirstPlace_ ? showWhenPlaced_ : placedAt_ && !sincePlaced_.hasExpired(kStartMovesMs))
            mainSettled_.start();
        else if (!awaitingFirstPlace_)
            watched->removeEventFilter(this);
    }
    return QWidget::eventFilter(watched, event);
}

void TPatForm::savePosition(const SettingsStore& store) const
{
    if (awaitingFirstPlace_)
        return;
    const QPoint position = storedPosition();
    store.writeInteger(SettingsStore::kSection, QStringLiteral("pleft"), position.x());
    store.writeInteger(SettingsStore::kSection, QStringLiteral("ptop"), position.y());
}

QSize TPatForm::clientSizeForPlacement() const
{
    const PatternSize size = patternClientSize(settings_.patmode);
    return {size.width, size.height};
}

QString TPatForm::caption() const { return QString::fromStdString(patternCaption(game_, settings_.language)); }

void TPatForm::showPattern()
{
    setFixedSize(clientSizeForPlacement());
    if (awaitingFirstPlace_) {
        if (!std::exchange(showWhenPlaced_, true))
            waitingForFrame_.start();
        if (windowManagerFrames())
            mainSettled_.start();
        else
            placeOnceMainIsFramed();
        return;
    }
    show();
}

void TPatForm::hidePattern()
{
    showWhenPlaced_ = false;
    hide();
}

void TPatForm::refresh()
{
    setWindowTitle(caption());
    update();
}

void TPatForm::showEvent(QShowEvent* event)
{
    // Every showing takes the size of the placement of the moment, on the
    // desktop.
    setFixedSize(clientSizeForPlacement());
    keepOnDesktop();
    setWindowTitle(caption());
    // Before the window is mapped: window managers read the hints then.
    allowMovingOnly(this);
    QWidget::showEvent(event);
}

void TPatForm::closeEvent(QCloseEvent* event)
{
    // Some window managers offer a close button whatever the hints say;
    // closed, the pattern would be gone until the next start. The game's own
    // hiding and the program's end do not come this way.
    if (event->spontaneous())
        event->ignore();
    else
        QWidget::closeEvent(event);
}

void TPatForm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kPatternBackground);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::black);
    const int scale = patternScale(settings_.patmode);
    // The solution's own coordinates, scaled: the silhouette as the target.
    for (const PieceState& piece : game_.workingRecord().pieces) {
        QPolygon triangle;
        for (int corner = 0; corner < 3; ++corner) {
            const GridPoint point = pieceCorner(piece, corner);
            triangle << QPoint(point.x * scale, point.y * scale);
        }
        painter.drawPolygon(triangle);
    }
    setWindowTitle(caption());
}

}  // namespace quellon
