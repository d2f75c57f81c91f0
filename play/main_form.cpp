// The main window: tool bar, board layout, backgrounds, caption, commands,
// start-up and closing.
#include "play/main_form.h"

#include <chrono>
#include <vector>

#include <QStandardPaths>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QShowEvent>

#include "ui/dialog_look.h"
#include "dialogs/info_dialog.h"
#include "dialogs/message_dialog.h"
#include "ui/pixel_frame.h"
#include "engine/window_texts.h"
#include "engine/catalogue.h"
#include "play/board_view.h"
#include "play/tool_bar.h"
#include "storage/startup.h"

namespace quellon {

namespace {

class SilentSound : public SoundEffects {
public:
    void playSound(int) override {}
};

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

} // namespace

TMainform::TMainform(MainformServices services)
    : random_(0),
      interaction_(board_),
      placer_(*this, store_, kMinimumTrackSize),
      programDir_(services.programDir),
      sound_(services.sound),
      messages_(services.messages)
{
    setObjectName(QStringLiteral("MainForm"));
    if (!sound_) {
        silentSound_ = std::make_unique<SilentSound>();
        sound_ = silentSound_.get();
    }
    QFont font(QStringLiteral("System"));
    font.setPixelSize(16);
    setFont(font);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The hints show also while the pattern window, last clicked, is active.
    setAttribute(Qt::WA_AlwaysShowToolTips);

    ToolPanel = new ToolBar(this);
    connect(ToolPanel->NewGameBtn, &QAbstractButton::clicked, this, &TMainform::NewgameBtnClick);
    connect(ToolPanel->LoadBtn, &QAbstractButton::clicked, this, &TMainform::LoadBtnClick);
    connect(ToolPanel->StatBtn, &QAbstractButton::clicked, this, &TMainform::StatBtnClick);
    connect(ToolPanel->TipBtn, &QAbstractButton::clicked, this, &TMainform::TipBtnClick);
    connect(ToolPanel->SelectBtn, &QAbstractButton::clicked, this, &TMainform::SelectBtnClick);
    connect(ToolPanel->UpBtn, &QAbstractButton::clicked, this, &TMainform::UpBtnClick);
    connect(ToolPanel->DnBtn, &QAbstractButton::clicked, this, &TMainform::DnBtnClick);
    connect(ToolPanel->UnsolvedUpBtn, &QAbstractButton::clicked, this, &TMainform::UnsolvedUpBtnClick);
    connect(ToolPanel->UnsolvedDnBtn, &QAbstractButton::clicked, this, &TMainform::UnsolvedDnBtnClick);
    connect(ToolPanel->OptionBtn, &QAbstractButton::clicked, this, &TMainform::OptionBtnClick);
    connect(ToolPanel->InfoBtn, &QAbstractButton::clicked, this, &TMainform::InfoBtnClick);
    connect(ToolPanel->RulesBtn, &QAbstractButton::clicked, this, &TMainform::RulesBtnClick);
    connect(ToolPanel->ExitBtn, &QAbstractButton::clicked, this, &TMainform::ExitBtnClick);

    box = new BoardView(this, board_, gameState().game,
                        [] { return gameState().settings.patmode == kPatternOnBoard; });
    connect(box, &BoardView::pressed, this, &TMainform::boxMouseDown);
    connect(box, &BoardView::moved, this, &TMainform::boxMouseMove);

    Timer1.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, [this] {
        if (hooks.musicTick)
            hooks.musicTick();
    });

    setMinimumSize(kMinimumTrackSize);
    resize(kInitialClientSize);
    updateTitle();
    setMainWindow(this);
}

TMainform::~TMainform() { FormDestroy(); }

namespace {

// The window's own message dialog, made at the first message: most starts
// show none, and making it costs the start more than reading the catalogue.
class MessagesOnDemand final : public Messages {
public:
    explicit MessagesOnDemand(QWidget* parent) : parent_(parent) {}
    int showCode(MessageCode code) override { return dialog().showCode(code); }
    int showText(MessageCode code, const QString& text) override { return dialog().showText(code, text); }
    void showFatal(const QString& text) override { dialog().showFatal(text); }

private:
    TYesNoDlg& dialog()
    {
        if (!dialog_)
            dialog_ = new TYesNoDlg(parent_);
        return *dialog_;
    }
    QWidget* parent_;
    TYesNoDlg* dialog_ = nullptr;  // a child of the window, which deletes it
};

} // namespace

Messages& TMainform::messages()
{
    if (!messages_) {
        ownMessages_ = std::make_unique<MessagesOnDemand>(this);
        messages_ = ownMessages_.get();
    }
    return *messages_;
}

// ---- start-up and closing ----------------------------------------------

bool TMainform::FormCreate()
{
    GameState& state = gameState();
    GameData& game = state.game;
    firstActivation_ = true;
    QString dir = programDir_.isEmpty() ? QCoreApplication::applicationDirPath() : programDir_;
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    programDir_ = dir;
    game.programDir = dir.toStdString();
    random_ = PieceRandom(static_cast<uint32_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    readStartSettings(store_, state.settings);
    clearProgress(game, kMaxQuellons);
    createGamesDirectory(game, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    if (!loadCatalogueOrReport(game, state.settings.language, messages()))
        return false;
    restoreCurrentQuellon(game, store_);
    restoreLastGame(game, store_, state.settings.language, messages());
    unsavedProgress_ = false;
    setUpCurrent();
    if (hooks.startMusic)
        hooks.startMusic();
    readPatternMode(store_, state.settings);
    Timer1.start();
    created_ = true;
    repaintMain();
    updateTitle();
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

void TMainform::setProgramIcon() { setWindowIcon(QIcon(QStringLiteral(":/art/quellon.svg"))); }

void TMainform::closeEvent(QCloseEvent* event)
{
    // FormCloseQuery: only a Yes closes.
    if (messages().showCode(MessageCode::Quit) != static_cast<int>(DialogResult::Yes)) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TMainform::FormClose()
{
    if (hooks.offerSave)
        hooks.offerSave();
    const bool normal = !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    writeCloseSettings(store_, gameState(), normal ? std::optional<QSize>(frameGeometry().size()) : std::nullopt);
    Timer1.stop();
}

void TMainform::FormDestroy()
{
    if (destroyed_ || !created_)
        return;
    destroyed_ = true;
    placer_.recordPlacement();
    if (hooks.closeHelp)
        hooks.closeHelp();
    if (hooks.stopMusic)
        hooks.stopMusic();
}

bool TMainform::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && firstActivation_ && created_)
        FormActivate();
    // The pattern window stays above every other window: left standing while
    // the game is minimised it would float over whatever the player turned
    // to. It goes and comes back with this window.
    if (event->type() == QEvent::WindowStateChange && created_ && !firstActivation_ && hooks.setPatternVisible)
        hooks.setPatternVisible(!isMinimized() && gameState().settings.patmode > 0);
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
    if (gameState().settings.language == kLanguageUnset && hooks.askLanguage)
        hooks.askLanguage();
    applyLanguage();
    if (hooks.setPatternVisible)
        hooks.setPatternVisible(gameState().settings.patmode > 0);
}

// ---- caption, hints, layout and painting -------------------------------

QString TMainform::composeTitle(int patmode, int quellon, uint8_t progress, const QString& gameName, int language)
{
    return fromStd(quellon::windowTitle(patmode, quellon, progress, gameName.toStdString(), language));
}

void TMainform::updateTitle()
{
    const GameState& state = gameState();
    const uint8_t progress = state.game.currentQuellon >= 1 && state.game.currentQuellon <= kMaxQuellons
                                 ? state.game.currentProgress()
                                 : uint8_t{0};
    setWindowTitle(composeTitle(state.settings.patmode, state.game.currentQuellon, progress,
                                fromStd(state.game.gameName), state.settings.language));
}

void TMainform::applyLanguage()
{
    ToolPanel->applyHints(gameState().settings.german());
    updateTitle();
}

void TMainform::applyPatternMode()
{
    if (hooks.setPatternVisible)
        hooks.setPatternVisible(gameState().settings.patmode > 0);
    repaintMain();
    if (hooks.repaintPattern)
        hooks.repaintPattern();
    updateTitle();
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
    interaction_.setCellSize(layout.cellSize);
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
    painter.drawTiledPixmap(rect(), backgroundTile(gameState().settings.background, false));
    const QRect area = box->geometry();
    // Each frame is centred d pixels out from the area's outermost pixels on
    // all four sides.
    auto frame = [&](int d, int thickness) {
        const int out = d + thickness / 2;
        fillFrame(painter, area.adjusted(-out, -out, out, out), thickness, Qt::black);
    };
    frame(4, 3);
    frame(7, 1);
    frame(1, 1);
    fillFrame(painter, QRect(0, kToolBarHeight, width(), height() - kToolBarHeight), 1, Qt::black);
    if (hooks.repaintPattern)
        hooks.repaintPattern();
}

void TMainform::repaintMain()
{
    box->repaintBoard();
    ToolPanel->repaintTiles();
    update();
}

void TMainform::refresh()
{
    repaintMain();
    if (hooks.repaintPattern)
        hooks.repaintPattern();
    updateTitle();
}

void TMainform::setUpCurrent()
{
    ToolPanel->TipBtn->setEnabled(setUpQuellon(board_, gameState().game, random_));
    box->showPlainCursor();
}

// ---- the board under the pointer ---------------------------------------

void TMainform::boxMouseDown(PointerButton button, QPoint position)
{
    showOutcome(interaction_.pointerPressed(button, position.x(), position.y()));
}

void TMainform::boxMouseMove(bool leftHeld, QPoint position)
{
    showOutcome(interaction_.pointerMoved(leftHeld, position.x(), position.y()));
}

void TMainform::showOutcome(const PointerOutcome& outcome)
{
    if (outcome.zone)
        box->showZone(*outcome.zone);
    for (const PointerStep& step : outcome) {
        if (step.kind == PointerStep::Kind::Solved) {
            showSolved(step);
            continue;
        }
        if (const std::optional<SoundNumber> sound = stepSound(step))
            playSound(*sound);
        box->showStep(step);
    }
}

void TMainform::playSound(int n)
{
    if (gameState().settings.soundOn)
        sound_->playSound(n);
}

void TMainform::showSolved(const PointerStep& step)
{
    box->showStep(step);
    recordSolve(gameState().game, unsavedProgress_);
    playSound(kSoundSolved);
    messages().showCode(MessageCode::Solved);
    if (hooks.repaintPattern)
        hooks.repaintPattern();
    // The caption shows the solved mark when the number is in it.
    updateTitle();
}

const QCursor& TMainform::turnCursor() { return box->turnCursor(); }

const QCursor& TMainform::moveCursor() { return box->moveCursor(); }

// ---- tool buttons -------------------------------------------------------

void TMainform::NewgameBtnClick()
{
    if (messages().showCode(MessageCode::NewGame) != static_cast<int>(DialogResult::Yes))
        return;
    if (hooks.offerSave)
        hooks.offerSave();
    GameData& game = gameState().game;
    clearProgress(game, game.quellonCount);
    setUpCurrent();
    unsavedProgress_ = false;
    game.gameName.clear();
    refresh();
}

void TMainform::LoadBtnClick()
{
    if (!hooks.showLoadDialog)
        return;
    if (hooks.offerSave)
        hooks.offerSave();
    if (!hooks.showLoadDialog())
        return;
    GameData& game = gameState().game;
    // A copy: a failed load empties gameName, and the message names the game.
    const std::string name = game.gameName;
    const LoadResult result = loadSavedGame(game, name);
    if (!result.ok) {
        messages().showText(MessageCode::Notice, fromStd(result.failure.text(gameState().settings.language)));
        updateTitle();
        return;
    }
    unsavedProgress_ = false;
    setUpCurrent();
    refresh();
}

void TMainform::StatBtnClick()
{
    if (hooks.showStatistics)
        hooks.showStatistics();
}

void TMainform::TipBtnClick()
{
    const HelpResult help = giveHelp(board_, gameState().game, random_);
    if (!help.given)
        return;
    unsavedProgress_ = true;
    box->showPlainCursor();
    // A full repaint rather than erasing the pieces with the field colour:
    // that would also wipe the silhouette beneath them.
    box->repaintBoard();
}

void TMainform::SelectBtnClick()
{
    if (!hooks.showSelection || !hooks.showSelection())
        return;
    setUpCurrent();
    repaintMain();
    updateTitle();
    if (hooks.repaintPattern)
        hooks.repaintPattern();
}

void TMainform::UpBtnClick()
{
    nextQuellon(gameState().game);
    setUpCurrent();
    refresh();
}

void TMainform::DnBtnClick()
{
    previousQuellon(gameState().game);
    setUpCurrent();
    refresh();
}

void TMainform::unsolvedSearch(bool (*search)(GameData&))
{
    if (search(gameState().game)) {
        setUpCurrent();
        repaintMain();
        if (hooks.repaintPattern)
            hooks.repaintPattern();
    } else {
        messages().showText(kAllSolvedNotice.code, fromStd(kAllSolvedNotice.text(gameState().settings.language)));
    }
    updateTitle();
}

void TMainform::UnsolvedUpBtnClick() { unsolvedSearch(nextUnfinished); }

void TMainform::UnsolvedDnBtnClick() { unsolvedSearch(previousUnfinished); }

void TMainform::OptionBtnClick()
{
    if (!hooks.showOptions)
        return;
    hooks.showOptions();
    updateTitle();
}

void TMainform::InfoBtnClick()
{
    if (!infoDialog_)
        infoDialog_ = new TInfoDlg(this);
    infoDialog_->exec();
}

void TMainform::RulesBtnClick()
{
    if (hooks.openHelp)
        hooks.openHelp(gameState().settings.german() ? 1 : 2);
}

void TMainform::ExitBtnClick() { close(); }

} // namespace quellon
