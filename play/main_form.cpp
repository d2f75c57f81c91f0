// The main window: tool bar, board layout, backgrounds, caption, start-up and
// closing.
#include "play/main_form.h"

#include <chrono>
#include <utility>
#include <vector>

#include <QStandardPaths>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QShowEvent>

#include "ui/dialog_look.h"
#include "dialogs/message_dialog.h"
#include "ui/pixel_frame.h"
#include "engine/window_texts.h"
#include "engine/catalogue.h"
#include "play/board_view.h"
#include "play/game_windows.h"
#include "play/pattern_form.h"
#include "play/tool_bar.h"
#include "play/tool_buttons.h"
#include "storage/startup.h"

namespace quellon {

namespace {

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TMainform::TMainform(GameSession& session, SoundEffects& sound, GameMedia& media, Messages* messages,
                     const QString& programDir)
    : session_(session),
      sound_(sound),
      media_(media),
      placer_(*this, store_, kMinimumTrackSize),
      programDir_(programDir),
      messages_(messages)
{
    setObjectName(QStringLiteral("MainForm"));
    QFont font(QStringLiteral("System"));
    font.setPixelSize(16);
    setFont(font);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The hints show also while the pattern window, last clicked, is active.
    setAttribute(Qt::WA_AlwaysShowToolTips);

    ToolPanel = new ToolBar(this, session_.settings());
    for (const ToolButtonRow& row : kToolButtons)
        connect(ToolPanel->button(row.command), &QAbstractButton::clicked, this, row.command);

    box = new BoardView(this, session_.board(), session_.game(), session_.settings());
    connect(box, &BoardView::pressed, this, &TMainform::boxMouseDown);
    connect(box, &BoardView::moved, this, &TMainform::boxMouseMove);

    Timer1.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, [this] { media_.musicTick(); });

    setMinimumSize(kMinimumTrackSize);
    resize(kInitialClientSize);
    updateTitle();
}

TMainform::~TMainform()
{
    // The windows beside this one go first, the pattern window storing where
    // it stood.
    windows_.reset();
    FormDestroy();
}

Messages& TMainform::messages()
{
    if (!messages_) {
        ownMessages_ = std::make_unique<MessagesOnDemand>(session_.settings(), this);
        messages_ = ownMessages_.get();
    }
    return *messages_;
}

// ---- start-up and closing ----------------------------------------------

bool TMainform::FormCreate()
{
    GameData& game = session_.game();
    SettingsValues& settings = session_.settings();
    firstActivation_ = true;
    QString dir = programDir_.isEmpty() ? QCoreApplication::applicationDirPath() : programDir_;
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    programDir_ = dir;
    game.programDir = dir.toStdString();
    session_.reseed(static_cast<uint32_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    readStartSettings(store_, settings);
    clearProgress(game, kMaxQuellons);
    createGamesDirectory(game, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    if (!loadCatalogueOrReport(game, settings.language, messages()))
        return false;
    restoreCurrentQuellon(game, store_);
    startNotice_ = restoreLastGame(game, store_, settings.language);
    session_.setUnsavedProgress(false);
    carryOut(session_.setUpCurrent());
    media_.startMusic();
    readPatternMode(store_, settings);
    Timer1.start();
    created_ = true;
    repaintMain();
    updateTitle();
    // The windows beside this one come with a start that goes on.
    windows_ = std::make_unique<GameWindows>(*this, session_, media_, messages());
    return true;
}

void TMainform::showRestored()
{
    // The window goes on the screen before its parts. The first part shown
    // starts Qt's accessibility bridge, which connects to the session bus
    // (without one, it tries to launch one) and would hold the window back
    // that long. Nothing is painted before the event loop runs, so the first
    // frame still has every part.
    std::vector<QWidget*> parts;
    for (QWidget* part : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!part->isWindow() && !part->isHidden()) {
            part->hide();
            parts.push_back(part);
        }
    }
    placer_.showRestored();
    for (QWidget* part : parts)
        part->show();
}

void TMainform::setProgramIcon()
{
    // For every window of the game: the pattern window, shown before this,
    // would keep the window system's generic icon.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/quellon.svg")));
}

void TMainform::closeEvent(QCloseEvent* event)
{
    // FormCloseQuery: the question, then the save offer.
    if (!session_.closeRequested(*windows_)) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TMainform::FormClose()
{
    const bool normal = !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    writeCloseSettings(store_, session_.game(), session_.settings(),
                       normal ? std::optional<QSize>(frameGeometry().size()) : std::nullopt);
    Timer1.stop();
}

void TMainform::FormDestroy()
{
    if (destroyed_ || !created_)
        return;
    destroyed_ = true;
    placer_.recordPlacement();
    media_.closeHelp();
    media_.stopMusic();
}

bool TMainform::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && firstActivation_ && created_)
        FormActivate();
    // The pattern window is kept above this window; a window manager may
    // leave it standing while the game is minimised, over whatever the player
    // turned to. It goes and comes back with this window.
    if (event->type() == QEvent::WindowStateChange && created_ && !firstActivation_)
        setPatternVisible(!isMinimized() && session_.settings().patmode > 0);
    return QWidget::event(event);
}

void TMainform::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Some platforms never activate a window (offscreen, a bare X server):
    // the first activation then follows the first show.
    QTimer::singleShot(0, this, [this] {
        if (firstActivation_ && created_)
            FormActivate();
    });
}

void TMainform::FormActivate()
{
    firstActivation_ = false;
    // The last game's load failure, held back until the window stands framed
    // on the screen, as at any start.
    if (const std::optional<QString> notice = std::exchange(startNotice_, std::nullopt))
        messages().showText(MessageCode::Notice, *notice);
    session_.firstActivation(*windows_);
    ToolPanel->applyHints(session_.settings().german());
    updateTitle();
    setPatternVisible(session_.settings().patmode > 0);
}

void TMainform::setPatternVisible(bool visible)
{
    if (visible)
        windows_->patternWindow().showPattern();
    else
        windows_->patternWindow().hidePattern();
}

// ---- caption, hints, layout and painting -------------------------------

QString TMainform::composeTitle(int patmode, int quellon, uint8_t progress, const QString& gameName, int language)
{
    return fromStd(quellon::windowTitle(patmode, quellon, progress, gameName.toStdString(), language));
}

void TMainform::updateTitle()
{
    const GameData& game = session_.game();
    const SettingsValues& settings = session_.settings();
    setWindowTitle(composeTitle(settings.patmode, game.currentQuellon, session_.titleProgress(), fromStd(game.gameName),
                                settings.language));
}

TMainform::BoardLayout TMainform::boardLayout(int clientWidth, int clientHeight)
{
    const int playHeight = clientHeight - kToolBarHeight;
    const int cell = std::max(std::min(clientWidth / 93, playHeight / 63), 1);
    const int left = (clientWidth - kBoardColumns * cell) / 2;
    const int top = (playHeight - kBoardRows * cell) / 2 + kToolBarHeight;
    return {cell, QRect(left, top, kBoardColumns * cell + 1, kBoardRows * cell + 1)};
}

void TMainform::layOutBoard()
{
    const int cw = width();
    ToolPanel->layOut(cw, kToolBarHeight);
    const BoardLayout layout = boardLayout(cw, height());
    session_.interaction().setCellSize(layout.cellSize);
    box->move(layout.area.topLeft());
    box->setCellSize(layout.cellSize);
    update();
}

void TMainform::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layOutBoard();
}

void TMainform::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawTiledPixmap(rect(), backgroundTile(session_.settings().background, false));
    const QRect area = box->geometry();
    // Each frame is centred d pixels out from the area's outermost pixels on
    // all four sides. Drawn in device pixels, each frame and gap rounded
    // once: on a screen of a fractional scale every side then has the same
    // widths (at whole scales nothing changes).
    const qreal ratio = painter.deviceTransform().m11();
    painter.save();
    painter.scale(1 / ratio, 1 / ratio);
    const QRect board(qRound(area.left() * ratio), qRound(area.top() * ratio), qRound(area.width() * ratio),
                      qRound(area.height() * ratio));
    auto frame = [&](int d, int thickness) {
        const int out = qRound((d + thickness / 2) * ratio);
        fillFrame(painter, board.adjusted(-out, -out, out, out), std::max(1, qRound(thickness * ratio)), Qt::black);
    };
    frame(4, 3);
    frame(7, 1);
    frame(1, 1);
    painter.restore();
    fillFrame(painter, QRect(0, kToolBarHeight, width(), height() - kToolBarHeight), 1, Qt::black);
    if (windows_)
        windows_->patternWindow().refresh();
}

void TMainform::repaintMain()
{
    box->repaintBoard();
    ToolPanel->repaintTiles();
    update();
}

}  // namespace quellon
