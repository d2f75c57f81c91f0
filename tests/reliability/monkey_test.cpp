// The monkey player: the real main window, driven by a long stream of random
// pointer events (all three buttons, moves with and without a button held,
// presses outside the board, on its edge and while a piece is held), tool
// commands that need no dialog (next, previous, help, unsolved search) and
// now and then a deliberate attempt to lay a piece at its solution spot, so
// that solves happen too. After every single event the board and the
// progress must still be sound.
//
//   QUELLON_MONKEY_SEED    the random seed (printed on failure; default fixed)
//   QUELLON_MONKEY_EVENTS  the number of events (default 100000)
#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "ui/dialog_look.h"
#include "engine/interaction.h"
#include "session/game_session.h"
#include "ui/message_seam.h"
#include "play/board_view.h"
#include "play/main_form.h"
#include "tests/support/gui_support.h"
#include "tests/support/modal_driver.h"

using namespace quellon;

namespace {

const QString kData = QStringLiteral(QUELLON_TEST_DATA);
const QString kCatalogue = QStringLiteral(QUELLON_CATALOGUE);

// Answers every message at once, as a player clicking OK would.
class AnsweringMessages : public Messages {
public:
    int showCode(MessageCode code) override
    {
        if (code == MessageCode::Solved)
            ++solvedMessages;
        return static_cast<int>(DialogResult::Yes);
    }
    int showText(MessageCode, const QString&) override
    {
        ++notices;
        return static_cast<int>(DialogResult::Ok);
    }
    void showFatal(const QString&) override { ++notices; }
    int solvedMessages = 0;
    int notices = 0;
};

uint64_t envNumber(const char* name, uint64_t fallback)
{
    const QByteArray text = qgetenv(name);
    bool ok = false;
    const qulonglong value = text.toULongLong(&ok);
    return ok ? value : fallback;
}

enum class Kind { Press, Move, Tool, Resize };

struct Figures {
    int presses = 0, moves = 0, tools = 0, resizes = 0, pickUps = 0, solves = 0, drops = 0, guided = 0;
};

}  // namespace

class MonkeyTest : public QObject {
    Q_OBJECT

private slots:
    void randomPlayKeepsEveryInvariant_data()
    {
        QTest::addColumn<QSize>("clientSize");
        QTest::newRow("cell 6") << QSize(650, 480);
        QTest::newRow("cell 13") << QSize(1300, 900);
    }

    void randomPlayKeepsEveryInvariant()
    {
        QFETCH(QSize, clientSize);
        seed_ = envNumber("QUELLON_MONKEY_SEED", 20261207);
        const uint64_t events = envNumber("QUELLON_MONKEY_EVENTS", 100000);
        random_.seed(static_cast<std::mt19937_64::result_type>(seed_ + static_cast<uint64_t>(clientSize.width())));
        heldButtons_ = Qt::NoButton;
        buttons_.clear();

        // A real program directory: the shipped catalogue and a saved game
        // with every progress value, damaged ones included.
        sandbox_ = std::make_unique<testing::Sandbox>();  // a fresh one for each cell size
        const QTemporaryDir& programDir = sandbox_->programDir;
        QVERIFY(QFile::copy(kCatalogue, programDir.filePath("zqln.dat")));
        QVERIFY(QDir(programDir.path()).mkpath(QStringLiteral("games")));
        QVERIFY(QFile::copy(kData + QStringLiteral("/games/every_value.zql"), programDir.filePath("games/monkey.zql")));
        sandbox_->setSetting(QStringLiteral("game"), QStringLiteral("monkey"));
        sandbox_->setSetting(QStringLiteral("tongue"), QStringLiteral("0"));
        sandbox_->setSetting(QStringLiteral("patmode"), QStringLiteral("0"));

        session_ = std::make_unique<GameSession>();
        AnsweringMessages messages;
        form_ = std::make_unique<TMainform>(*session_, sound_, media_, &messages, programDir.path());
        QVERIFY(form_->FormCreate());
        QCOMPARE(QString::fromStdString(session_->game().gameName), QStringLiteral("monkey"));
        form_->showRestored();
        QTest::qWait(20);
        form_->resize(clientSize);
        QCoreApplication::processEvents();
        box_ = form_->boardView();
        reference_ = std::make_unique<BoardView>(nullptr, board(), session_->game(), session_->settings());
        for (const char* name : {"UpBtn", "DnBtn", "TipBtn", "UnsolvedUpBtn", "UnsolvedDnBtn"}) {
            auto* button = form_->findChild<QAbstractButton*>(QLatin1String(name));
            QVERIFY2(button, name);
            buttons_.push_back(button);
        }
        previous_ = session_->game().progressTable;
        QVERIFY2(invariantsHold("start"), qPrintable(failure_));

        Figures figures;
        for (event_ = 0; event_ < events;) {
            const int roll = std::uniform_int_distribution<int>(0, 999)(random_);
            bool ok = true;
            if (roll < 30)
                ok = guidedPlacement(figures);
            else if (roll < 80)
                ok = toolCommand(figures);
            else if (roll < 81)
                ok = resize(figures);
            else if (roll < 420)
                ok = randomPress(figures);
            else
                ok = randomMove(figures);
            QVERIFY2(ok, qPrintable(failure_));
            if (event_ % 64 == 0)
                QCoreApplication::processEvents();
        }
        figures.solves = messages.solvedMessages;
        qInfo("monkey: seed %llu, %llu events: %d presses, %d moves, %d tool commands, %d resizes, %d pick-ups, "
              "%d guided placements, %d solves, %d drops",
              static_cast<unsigned long long>(seed_), static_cast<unsigned long long>(event_), figures.presses,
              figures.moves, figures.tools, figures.resizes, figures.pickUps, figures.guided, figures.solves,
              figures.drops);
        // The stream must really have played: pieces picked up, a solve or a
        // drop reached.
        QVERIFY(figures.pickUps > 100);
        QVERIFY(figures.solves + figures.drops > 0);
        // Closing offers to save the progress made; the offer is declined.
        ModalDriver driver;
        form_->close();
        reference_.reset();
        form_.reset();
    }

private:
    Board& board() { return form_->board(); }
    int cell() const { return box_->cellSize(); }

    // ---- the events ------------------------------------------------------

    bool send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons, const char* what)
    {
        QMouseEvent event(type, QPointF(at), QPointF(box_->mapToGlobal(at)), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(box_, &event);
        return afterEvent(what, at);
    }

    bool press(Qt::MouseButton button, QPoint at, const char* what)
    {
        heldButtons_ |= button;
        if (!send(QEvent::MouseButtonPress, at, button, heldButtons_, what))
            return false;
        // Usually let go again at once; sometimes keep it down for a drag.
        if (std::bernoulli_distribution(0.6)(random_)) {
            heldButtons_ &= ~button;
            QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), QPointF(box_->mapToGlobal(at)), button,
                                heldButtons_, Qt::NoModifier);
            QCoreApplication::sendEvent(box_, &release);
        }
        return true;
    }

    // Anywhere: inside, far outside, or on the closing edge line of the board.
    QPoint randomPoint()
    {
        const int c = cell();
        const int width = kBoardColumns * c, height = kBoardRows * c;
        switch (std::uniform_int_distribution<int>(0, 9)(random_)) {
        case 0:
            return {std::uniform_int_distribution<int>(-3 * c, width + 3 * c)(random_),
                    std::uniform_int_distribution<int>(-3 * c, height + 3 * c)(random_)};
        case 1:  // the last pixel column or row, the closing edge line
            return std::bernoulli_distribution(0.5)(random_)
                       ? QPoint(width, std::uniform_int_distribution<int>(0, height)(random_))
                       : QPoint(std::uniform_int_distribution<int>(0, width)(random_), height);
        case 2:  // first or last cell
            return {std::bernoulli_distribution(0.5)(random_) ? 0 : width - 1,
                    std::bernoulli_distribution(0.5)(random_) ? 0 : height - 1};
        case 3:
        case 4:
        case 5:
        case 6: {
            // On or near a piece, the held one most often.
            const int n = board().selectedPiece != 0 && std::bernoulli_distribution(0.6)(random_)
                              ? board().selectedPiece
                              : std::uniform_int_distribution<int>(1, kPieceCount)(random_);
            return pointNear(board().piece(n));
        }
        default:
            return {std::uniform_int_distribution<int>(0, width)(random_),
                    std::uniform_int_distribution<int>(0, height)(random_)};
        }
    }

    // A point inside the piece's triangle, pulled towards its anchor at times.
    QPoint pointNear(const PieceState& piece)
    {
        const int c = cell();
        std::uniform_real_distribution<double> unit(0, 1);
        double a = unit(random_), b = unit(random_);
        if (a + b > 1) {
            a = 1 - a;
            b = 1 - b;
        }
        double x = cornerPixelX(piece, 0, c) + a * (cornerPixelX(piece, 1, c) - cornerPixelX(piece, 0, c)) +
                   b * (cornerPixelX(piece, 2, c) - cornerPixelX(piece, 0, c));
        double y = cornerPixelY(piece, 0, c) + a * (cornerPixelY(piece, 1, c) - cornerPixelY(piece, 0, c)) +
                   b * (cornerPixelY(piece, 2, c) - cornerPixelY(piece, 0, c));
        if (std::bernoulli_distribution(0.4)(random_)) {
            const double t = unit(random_) * 0.4;
            x = piece.x * c + t * (x - piece.x * c);
            y = piece.y * c + t * (y - piece.y * c);
        }
        return {static_cast<int>(x) + std::uniform_int_distribution<int>(-2, 2)(random_),
                static_cast<int>(y) + std::uniform_int_distribution<int>(-2, 2)(random_)};
    }

    bool randomPress(Figures& figures)
    {
        ++figures.presses;
        const int which = std::uniform_int_distribution<int>(0, 9)(random_);
        const Qt::MouseButton button = which < 7 ? Qt::LeftButton : which < 9 ? Qt::RightButton : Qt::MiddleButton;
        const bool wasHeld = board().selectedPiece != 0;
        if (!press(button, randomPoint(), "press"))
            return false;
        if (!wasHeld && board().selectedPiece != 0)
            ++figures.pickUps;
        return true;
    }

    bool randomMove(Figures& figures)
    {
        ++figures.moves;
        // With the left button held most of the time: dragging.
        const int which = std::uniform_int_distribution<int>(0, 9)(random_);
        Qt::MouseButtons buttons = heldButtons_;
        if (which < 6)
            buttons |= Qt::LeftButton;
        else if (which == 6)
            buttons |= Qt::RightButton;
        else if (which == 7)
            buttons = Qt::NoButton;
        heldButtons_ = buttons;
        QPoint at = randomPoint();
        if (board().selectedPiece != 0 && std::bernoulli_distribution(0.5)(random_)) {
            // Small steps around the held piece: moves and turns.
            const PieceState& held = board().piece(board().selectedPiece);
            at = QPoint(held.x * cell(), held.y * cell()) +
                 QPoint(std::uniform_int_distribution<int>(-8, 8)(random_) * cell(),
                        std::uniform_int_distribution<int>(-8, 8)(random_) * cell());
        }
        return send(QEvent::MouseMove, at, Qt::NoButton, buttons, "move");
    }

    bool toolCommand(Figures& figures)
    {
        ++figures.tools;
        // Help most often: it drives Quellons to their end.
        const int which = std::uniform_int_distribution<int>(0, 7)(random_);
        QAbstractButton* button = buttons_[static_cast<size_t>(which < 4 ? 2 : which - 4 < 2 ? which - 4 : which - 3)];
        const uint8_t before = session_->game().currentProgress();
        button->click();
        if (button->objectName() == QLatin1String("TipBtn") && session_->game().currentProgress() == kDroppedValue &&
            before != kDroppedValue)
            ++figures.drops;
        return afterEvent(qPrintable(button->objectName()), {});
    }

    bool resize(Figures& figures)
    {
        ++figures.resizes;
        form_->resize(std::uniform_int_distribution<int>(600, 1900)(random_),
                      std::uniform_int_distribution<int>(400, 1050)(random_));
        QCoreApplication::processEvents();
        return afterEvent("resize", {});
    }

    // Takes a piece to its solution spot through real events: press on its
    // move zone, drag, turn with right presses, press beside it to put it down.
    bool guidedPlacement(Figures& figures)
    {
        ++figures.guided;
        const PuzzleRecord& solution = session_->game().workingRecord();
        int n = board().selectedPiece;
        if (n == 0) {
            n = std::uniform_int_distribution<int>(1, kPieceCount)(random_);
            for (int k = 0; k < kPieceCount && board().piece(n) == solution.pieces[static_cast<size_t>(n - 1)]; ++k)
                n = n % kPieceCount + 1;
        }
        // A point of the move zone where piece n is the topmost.
        const auto grabPoint = [&](QPoint& at) {
            for (int attempt = 0; attempt < 60; ++attempt) {
                at = pointNear(board().piece(n));
                int topmost = 0;
                for (int k = 1; k <= kPieceCount; ++k)
                    if (hitTest(board(), at.x(), at.y(), k, cell()) != HitZone::Outside)
                        topmost = k;
                if ((topmost == n || board().selectedPiece == n) &&
                    hitTest(board(), at.x(), at.y(), n, cell()) == HitZone::Move)
                    return true;
            }
            return false;
        };
        QPoint at;
        if (!grabPoint(at))
            return true;
        heldButtons_ = Qt::NoButton;
        if (!press(Qt::LeftButton, at, "guided grab"))
            return false;
        if (board().selectedPiece != n || static_cast<HitZone>(board().grabZone) != HitZone::Move)
            return true;
        const PieceState target = solution.pieces[static_cast<size_t>(n - 1)];
        const int c = cell();
        const QPoint drop((target.x - form_->interaction().dragOffsetX) * c + c / 2,
                          (target.y - form_->interaction().dragOffsetY) * c + c / 2);
        if (!send(QEvent::MouseMove, drop, Qt::NoButton, Qt::LeftButton, "guided drag"))
            return false;
        for (int turn = 0; turn < kOrientationCount && board().piece(n).orientation != target.orientation; ++turn) {
            const QPoint anywhere(std::uniform_int_distribution<int>(0, kBoardColumns * c - 1)(random_),
                                  std::uniform_int_distribution<int>(0, kBoardRows * c - 1)(random_));
            if (!press(Qt::RightButton, anywhere, "guided turn"))
                return false;
        }
        // Beside the piece: a board point outside its triangle.
        for (int attempt = 0; attempt < 60; ++attempt) {
            const QPoint beside(std::uniform_int_distribution<int>(0, kBoardColumns * c - 1)(random_),
                                std::uniform_int_distribution<int>(0, kBoardRows * c - 1)(random_));
            if (board().selectedPiece == n && hitTest(board(), beside.x(), beside.y(), n, c) == HitZone::Outside)
                return press(Qt::LeftButton, beside, "guided put-down");
        }
        return true;
    }

    // ---- the invariants --------------------------------------------------

    bool afterEvent(const char* what, QPoint at)
    {
        ++event_;
        return invariantsHold(QStringLiteral("%1 at (%2, %3)").arg(QLatin1String(what)).arg(at.x()).arg(at.y()));
    }

    bool fail(const QString& event, const QString& what)
    {
        failure_ = QStringLiteral("seed %1, event %2 (%3): %4 -- rerun with QUELLON_MONKEY_SEED=%1")
                       .arg(seed_)
                       .arg(event_)
                       .arg(event, what);
        return false;
    }

    bool invariantsHold(const QString& event)
    {
        const Board& b = board();
        GameData& game = session_->game();
        if (b.selectedPiece > kPieceCount)
            return fail(event, QStringLiteral("selectedPiece %1").arg(b.selectedPiece));
        if (game.currentQuellon < 1 || game.currentQuellon > game.quellonCount)
            return fail(event, QStringLiteral("currentQuellon %1").arg(game.currentQuellon));
        Grid layout{};
        for (int n = 1; n <= kPieceCount; ++n) {
            const PieceState& p = b.piece(n);
            if (!b.inBounds(p.x, p.y, p.orientation))
                return fail(
                    event,
                    QStringLiteral("piece %1 off the board at %2, %3, %4").arg(n).arg(p.x).arg(p.y).arg(p.orientation));
            if (n != b.selectedPiece)
                addPieceCodes(layout, p, +1);
        }
        if (layout != b.layoutGrid)
            return fail(event, QStringLiteral("layoutGrid differs from the pieces (held %1)").arg(b.selectedPiece));
        if (!(game.workingRecord() == game.catalogue[static_cast<size_t>(game.currentQuellon)]))
            return fail(event, QStringLiteral("working record is not the current Quellon's"));
        Grid target{};
        for (const PieceState& p : game.workingRecord().pieces)
            addPieceCodes(target, p, +1);
        if (target != b.targetGrid)
            return fail(event, QStringLiteral("targetGrid differs from the solution"));
        const uint8_t progress = game.currentProgress();
        if (b.solveState == SolveState::Dropped && progress != kDroppedValue)
            return fail(event, QStringLiteral("dropped on the board, progress %1").arg(progress));
        if (b.solveState == SolveState::Solved && !isFinished(progress))
            return fail(event, QStringLiteral("solved on the board, progress %1").arg(progress));
        if (b.solveState != SolveState::Playing && b.selectedPiece != 0)
            return fail(event, QStringLiteral("a piece held after the end"));

        // Progress moves only as a solve or a help step allows, only on the
        // current Quellon, and always marks the game unsaved.
        for (int n = 1; n <= kMaxQuellons; ++n) {
            const uint8_t before = previous_[static_cast<size_t>(n)];
            const uint8_t after = game.progressTable[static_cast<size_t>(n)];
            if (before == after)
                continue;
            if (n != game.currentQuellon || n > game.quellonCount)
                return fail(
                    event,
                    QStringLiteral("progress of Quellon %1 changed, current is %2").arg(n).arg(game.currentQuellon));
            const int level = helpLevel(before);
            const bool solve = !isFinished(before) && after == (before | kFinishedBit);
            const bool help = !isFinished(before) && after == (level + 1 == kDroppedLevel ? kDroppedValue : level + 1);
            if (!solve && !help)
                return fail(event, QStringLiteral("progress %1 became %2").arg(before).arg(after));
            if (!session_->unsavedProgress())
                return fail(event, QStringLiteral("progress changed but unsavedProgress is clear"));
        }
        previous_ = game.progressTable;
        return pictureIsAFreshRepaint(event);
    }

    // The board's picture against a full repaint of the same state by a
    // second board area.
    bool pictureIsAFreshRepaint(const QString& event)
    {
        if (reference_->cellSize() != box_->cellSize())
            reference_->setCellSize(box_->cellSize());
        else
            reference_->repaintBoard();
        const QImage& shown = box_->image();
        const QImage& fresh = reference_->image();
        if (shown == fresh)
            return true;
        if (shown.size() != fresh.size())
            return fail(event, QStringLiteral("board picture %1 x %2, a repaint %3 x %4")
                                   .arg(shown.width())
                                   .arg(shown.height())
                                   .arg(fresh.width())
                                   .arg(fresh.height()));
        int differing = 0;
        QPoint first(-1, -1);
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixel(x, y) != fresh.pixel(x, y)) {
                    if (differing++ == 0)
                        first = QPoint(x, y);
                }
        return fail(event,
                    QStringLiteral("%1 pixels differ from a full repaint (cell %2, held %3), the first at (%4, %5): "
                                   "%6 instead of %7")
                        .arg(differing)
                        .arg(box_->cellSize())
                        .arg(board().selectedPiece)
                        .arg(first.x())
                        .arg(first.y())
                        .arg(shown.pixel(first), 8, 16)
                        .arg(fresh.pixel(first), 8, 16));
    }

    std::unique_ptr<testing::Sandbox> sandbox_;
    std::unique_ptr<GameSession> session_;
    testing::SilentSound sound_;
    testing::RecordingMedia media_;
    std::unique_ptr<TMainform> form_;
    BoardView* box_ = nullptr;
    std::unique_ptr<BoardView> reference_;
    std::vector<QAbstractButton*> buttons_;  // next, previous, help, unsolved up, unsolved down
    std::mt19937_64 random_;
    uint64_t seed_ = 0;
    uint64_t event_ = 0;
    Qt::MouseButtons heldButtons_;
    std::array<uint8_t, kMaxQuellons + 1> previous_{};
    QString failure_;
};

QTEST_MAIN(MonkeyTest)
#include "monkey_test.moc"
