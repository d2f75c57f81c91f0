// The main window in-process: caption, layout, the board picture, pieces
// under the real mouse events of the board area, the solve in its order,
// and the commands of the tool bar.
#include <QElapsedTimer>
#include <QLabel>
#include <QToolTip>
#include <QtTest>

#include <algorithm>
#include <ranges>

#include "ui/dialog_look.h"
#include "dialogs/message_dialog.h"
#include "engine/orientation_table.h"
#include "engine/settings_values.h"
#include "tests/support/gui_support.h"
#include "dialogs/load_game_dialog.h"
#include "dialogs/save_game_dialog.h"
#include "dialogs/select_dialog.h"
#include "dialogs/tongue_dialog.h"
#include "play/board_view.h"
#include "play/game_windows.h"
#include "play/main_form.h"
#include "play/pattern_form.h"
#include "tests/support/modal_driver.h"

using namespace quellon;
using namespace quellon::testing;

namespace {

QPoint anchorPixel(const PieceState& piece, int cell) { return {piece.x * cell, piece.y * cell}; }

// A pixel well inside a piece: the centroid of its corners.
QPoint centroid(const PieceState& piece, int cell)
{
    int x = 0;
    int y = 0;
    for (int k = 0; k < 3; ++k) {
        x += (piece.x + vertexX[static_cast<size_t>(k * kOrientationCount + piece.orientation)]) * cell;
        y += (piece.y + vertexY[static_cast<size_t>(k * kOrientationCount + piece.orientation)]) * cell;
    }
    return {x / 3, y / 3};
}

}  // namespace

class MainFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Sandbox> sandbox;
    std::unique_ptr<EventLog> log;
    std::unique_ptr<LoggingSound> sound;
    std::unique_ptr<AnsweringMessages> messages;
    std::unique_ptr<GameSession> session;
    std::unique_ptr<RecordingMedia> media;
    std::unique_ptr<TMainform> form;

    // A window on a catalogue of `count` Quellons, English, pattern on the board.
    void open(int count = 3)
    {
        writeCatalogue(sandbox->programDir.path(), count);
        sandbox->setSetting(QStringLiteral("tongue"), QStringLiteral("0"));
        sandbox->setSetting(QStringLiteral("patmode"), QStringLiteral("0"));
        form = std::make_unique<TMainform>(*session, *sound, *media, messages.get(), sandbox->dir());
        QVERIFY(form->FormCreate());
        form->resize(909, 698);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCoreApplication::processEvents();
        log->entries.clear();
    }

    QStringList steps() const { return log->entries; }

    // The save offer's dialog, cancelled: the offer goes into the log.
    void expectSaveOfferCancelled(ModalDriver& driver)
    {
        driver.expect(QStringLiteral("SaveGameDlg"), [this](QWidget* modal) {
            log->entries << QStringLiteral("offerSave");
            static_cast<TSaveGameDlg*>(modal)->cancelButton()->click();
        });
    }

    BoardView* box() const { return form->boardView(); }
    int cell() const { return box()->cellSize(); }
    ImageButton* button(const char* name) const { return form->findChild<ImageButton*>(QLatin1String(name)); }
    QRgb pixel(QPoint p) const { return box()->image().pixel(p); }
    // What the board area shows on the screen.
    QImage onScreen() const { return box()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // Lays the pieces out as `layout` says, as the player could have.
    void arrange(const PuzzleRecord& layout)
    {
        Board& board = form->board();
        for (int n = 1; n <= kPieceCount; ++n) {
            board.liftPiece(n);
            board.piece(n) = layout.pieces[static_cast<size_t>(n - 1)];
            board.stampPiece(n);
        }
        form->repaintMain();
    }

    // The solution laid out, then piece 1 picked up and dragged onto piece 2,
    // where putting it down is refused.
    Board& holdPieceOneOnPieceTwo()
    {
        open();
        arrange(session->game().workingRecord());
        Board& board = form->board();
        press(box(), anchorPixel(board.piece(1), cell()));
        moveHeld(box(), anchorPixel(board.piece(2), cell()));
        release(box(), anchorPixel(board.piece(2), cell()));
        return board;
    }

    Grid gridWithout(int held) const
    {
        Grid grid{};
        for (int n = 1; n <= kPieceCount; ++n)
            if (n != held)
                addPieceCodes(grid, form->board().piece(n), +1);
        return grid;
    }

private slots:
    void init()
    {
        // The opening effect covers the board on the screen for a moment.
        qputenv("QUELLON_NO_ANIMATION", "1");
        sandbox = std::make_unique<Sandbox>();
        log = std::make_unique<EventLog>();
        sound = std::make_unique<LoggingSound>(*log);
        messages = std::make_unique<AnsweringMessages>(*log);
        session = std::make_unique<GameSession>();
        media = std::make_unique<RecordingMedia>();
    }

    void cleanup()
    {
        form.reset();
        media.reset();
        session.reset();
        messages.reset();
        sound.reset();
        log.reset();
        sandbox.reset();
    }

    void captionCases()
    {
        QCOMPARE(TMainform::composeTitle(0, 17, 8, QStringLiteral("evening"), 0),
                 QStringLiteral("Zindle Quellon V3.1 - Quellon: 17 (solved) - Game: evening"));
        QCOMPARE(TMainform::composeTitle(2, 17, 8, QString(), 0), QStringLiteral("Zindle Quellon V3.1"));
        QCOMPARE(TMainform::composeTitle(1, 17, 0, QStringLiteral("abend"), 1),
                 QStringLiteral("Zindle Quellon V3.1 - Spiel: abend"));
        QCOMPARE(TMainform::composeTitle(0, 3, 12, QString(), 1),
                 QStringLiteral("Zindle Quellon V3.1 - Quellon: 3 (aufgegeben)"));
        QCOMPARE(TMainform::composeTitle(0, 3, 10, QString(), 1),
                 QStringLiteral("Zindle Quellon V3.1 - Quellon: 3 (gel\u00f6st)"));
        QCOMPARE(TMainform::composeTitle(0, 3, 12, QString(), -1),
                 QStringLiteral("Zindle Quellon V3.1 - Quellon: 3 (dropped)"));
        QCOMPARE(TMainform::composeTitle(0, 950, 3, QString(), 0),
                 QStringLiteral("Zindle Quellon V3.1 - Quellon: 950"));

        open();
        QCOMPARE(form->windowTitle(), QStringLiteral("Zindle Quellon V3.1 - Quellon: 1"));
        QTest::mouseClick(button("UpBtn"), Qt::LeftButton);
        QCOMPARE(form->windowTitle(), QStringLiteral("Zindle Quellon V3.1 - Quellon: 2"));
        session->settings().patmode = 3;
        form->updateTitle();
        QCOMPARE(form->windowTitle(), QStringLiteral("Zindle Quellon V3.1"));
    }

    // Loading a cursor asks the X server several questions: the board's
    // first one comes after the window has painted, not before it shows.
    void plainCursorComesAfterTheFirstPaint()
    {
        writeCatalogue(sandbox->programDir.path(), 3);
        sandbox->setSetting(QStringLiteral("tongue"), QStringLiteral("0"));
        form = std::make_unique<TMainform>(*session, *sound, *media, messages.get(), sandbox->dir());
        QVERIFY(form->FormCreate());
        form->show();
        QVERIFY(!box()->testAttribute(Qt::WA_SetCursor));
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTRY_COMPARE(box()->cursor().shape(), Qt::PointingHandCursor);
    }

    // The window is shown before any of its parts (the first part shown
    // starts the accessibility bridge, which would hold the window back), and
    // ends up with the same parts showing as a plain show() gives.
    void showRestoredShowsTheWindowBeforeItsParts()
    {
        writeCatalogue(sandbox->programDir.path(), 3);
        sandbox->setSetting(QStringLiteral("tongue"), QStringLiteral("0"));
        const auto visibleParts = [](const QWidget& window) {
            QStringList names;
            for (const QWidget* part : window.findChildren<QWidget*>())
                if (part->isVisible())
                    names << part->metaObject()->className() + QLatin1Char(':') + part->objectName();
            names.sort();
            return names;
        };
        TMainform plain(*session, *sound, *media, messages.get(), sandbox->dir());
        QVERIFY(plain.FormCreate());
        plain.show();
        const QStringList expected = visibleParts(plain);
        QVERIFY(expected.size() > 10);
        plain.hide();

        form = std::make_unique<TMainform>(*session, *sound, *media, messages.get(), sandbox->dir());
        QVERIFY(form->FormCreate());
        struct ShowOrder : QObject {
            QList<QObject*> shown;
            bool eventFilter(QObject* watched, QEvent* event) override
            {
                if (event->type() == QEvent::Show)
                    shown << watched;
                return false;
            }
        } order;
        qApp->installEventFilter(&order);
        form->showRestored();
        qApp->removeEventFilter(&order);
        QVERIFY(!order.shown.isEmpty());
        QCOMPARE(order.shown.first(), form.get());
        QCOMPARE(visibleParts(*form), expected);
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    void resizeWorkedExample()
    {
        const TMainform::BoardLayout layout = TMainform::boardLayout(909, 698);
        QCOMPARE(layout.cellSize, 9);
        QCOMPARE(layout.area, QRect(45, 104, 820, 550));

        open();
        QCOMPARE(form->size(), QSize(909, 698));
        QCOMPARE(box()->geometry(), QRect(45, 104, 820, 550));
        QCOMPARE(box()->image().size(), QSize(820, 550));
        QCOMPARE(button("ExitBtn")->pos(), QPoint(909 - 52, 6));
        QCOMPARE(button("OptionBtn")->pos(), QPoint(909 - 208, 6));
        // Three black frames around the board: 1 px at 1, 3 px at 4, 1 px at 7
        // pixels out, with the background between them, alike on all four
        // sides (counted from the board's outermost pixels).
        const QImage window = form->grab().toImage();
        const QRect board(45, 104, 820, 550);
        const QPoint middle = board.center();
        const struct {
            const char* side;
            QPoint edge;
            QPoint outward;
        } sides[] = {{"left", {board.left(), middle.y()}, {-1, 0}},
                     {"right", {board.right(), middle.y()}, {1, 0}},
                     {"top", {middle.x(), board.top()}, {0, -1}},
                     {"bottom", {middle.x(), board.bottom()}, {0, 1}}};
        for (const auto& side : sides) {
            for (int d : {1, 3, 4, 5, 7})
                QVERIFY2(window.pixel(side.edge + d * side.outward) == qRgb(0, 0, 0),
                         qPrintable(QStringLiteral("%1 side, %2 px out").arg(QLatin1String(side.side)).arg(d)));
            for (int d : {2, 6, 8})
                QVERIFY2(window.pixel(side.edge + d * side.outward) != qRgb(0, 0, 0),
                         qPrintable(QStringLiteral("%1 side, %2 px out").arg(QLatin1String(side.side)).arg(d)));
        }
        QCOMPARE(window.pixel(0, 300), qRgb(0, 0, 0));  // the play area's frame
        // Once the height limits the cells, widening alone does not enlarge them.
        form->resize(1400, 698);
        QCOMPARE(cell(), 10);
        form->resize(1900, 698);
        QCOMPARE(cell(), 10);
        QCOMPARE(box()->geometry(), QRect((1900 - 910) / 2, (638 - 610) / 2 + 60, 911, 611));
        QCOMPARE(button("RulesBtn")->pos(), QPoint(1900 - 104, 6));
        form->resize(300, 200);
        QVERIFY(form->width() >= 650 - (form->frameGeometry().width() - form->width()));
    }

    void boardFramesKeepTheirPixelsOnAScaledScreen()
    {
        open();
        // Around the board there is only the background and the black frames.
        const QRegion band = QRegion(form->rect())
                                 .subtracted(QRegion(0, 0, form->width(), TMainform::kToolBarHeight))
                                 .subtracted(box()->geometry());
        const std::optional<QPoint> moved = blackMovedAtDoubleScale(*form, band);
        QVERIFY2(!moved, qPrintable(QStringLiteral("device pixel %1, %2")
                                        .arg(moved.value_or(QPoint()).x())
                                        .arg(moved.value_or(QPoint()).y())));
    }

    // The held outline is one logical pixel wide at every pixel ratio: every
    // pixel it flips lies in a whole flipped square of that many device
    // pixels, each is flipped once, and a second drawing restores the picture.
    void heldOutlineIsOneLogicalPixelWideAtEveryRatio()
    {
        constexpr int cell = 9;
        const QRgb flipped = board_colour::kField ^ (board_colour::kHeldOutline & 0x00FFFFFF);
        for (const qreal ratio : {1.0, 1.25, 1.5, 2.0}) {
            const int pen = qRound(ratio);
            QImage blank(QSize(kBoardColumns * cell + 1, kBoardRows * cell + 1) * ratio, QImage::Format_RGB32);
            blank.setDevicePixelRatio(ratio);
            blank.fill(board_colour::kField);
            for (int orientation = 0; orientation < kOrientationCount; ++orientation) {
                QPolygon polygon;
                for (int k = 0; k < 3; ++k) {
                    const auto index = static_cast<size_t>(k * kOrientationCount + orientation);
                    polygon << QPoint((45 + vertexX[index]) * cell, (30 + vertexY[index]) * cell);
                }
                QImage image = blank;
                xorOutline(image, polygon, board_colour::kHeldOutline);
                const auto on = [&](int x, int y) { return image.valid(x, y) && image.pixel(x, y) == flipped; };
                int count = 0;
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x) {
                        if (image.pixel(x, y) == board_colour::kField)
                            continue;
                        QVERIFY2(on(x, y), "a pixel of the outline flipped more than once");
                        ++count;
                        bool inSquare = false;
                        for (int sy = y - pen + 1; sy <= y && !inSquare; ++sy)
                            for (int sx = x - pen + 1; sx <= x && !inSquare; ++sx) {
                                bool whole = true;
                                for (int dy = 0; dy < pen && whole; ++dy)
                                    for (int dx = 0; dx < pen && whole; ++dx)
                                        whole = on(sx + dx, sy + dy);
                                inSquare = whole;
                            }
                        QVERIFY2(inSquare, qPrintable(QStringLiteral("ratio %1, orientation %2: device pixel %3, %4 "
                                                                     "thinner than a logical pixel")
                                                          .arg(ratio)
                                                          .arg(orientation)
                                                          .arg(x)
                                                          .arg(y)));
                    }
                QVERIFY(count > 0);
                xorOutline(image, polygon, board_colour::kHeldOutline);
                QCOMPARE(image, blank);
            }
        }
    }

    // On a screen of a fractional scale the three frames round the board
    // have the same widths and gaps on all four sides.
    void boardFramesAreAlikeOnAllFourSidesAtFractionalScales()
    {
        open();
        const QRect area = box()->geometry();
        for (const qreal ratio : {1.25, 1.5, 1.75}) {
            QImage image(form->size() * ratio, QImage::Format_RGB32);
            image.setDevicePixelRatio(ratio);
            image.fill(Qt::magenta);
            form->render(&image);
            const QRect board(qRound(area.left() * ratio), qRound(area.top() * ratio), qRound(area.width() * ratio),
                              qRound(area.height() * ratio));
            const int span = qRound(12 * ratio);
            // Black or not, from the board's edge outwards.
            auto profile = [&](QPoint edge, QPoint out) {
                QString seen;
                for (int i = 1; i <= span; ++i)
                    seen += (image.pixel(edge + out * i) & 0xFFFFFF) == 0 ? QLatin1Char('#') : QLatin1Char('-');
                return seen;
            };
            const QString left = profile(QPoint(board.left(), board.center().y()), QPoint(-1, 0));
            QCOMPARE(profile(QPoint(board.right(), board.center().y()), QPoint(1, 0)), left);
            QCOMPARE(profile(QPoint(board.center().x(), board.top()), QPoint(0, -1)), left);
            QCOMPARE(profile(QPoint(board.center().x(), board.bottom()), QPoint(0, 1)), left);
        }
    }

    void boardPictureShowsFieldSilhouettePiecesAndHeldOutline()
    {
        open();
        const PuzzleRecord solution = session->game().workingRecord();
        PuzzleRecord layout = solution;
        for (PieceState& piece : layout.pieces)
            piece.y = static_cast<uint8_t>(piece.y + 20 > 53 ? piece.y - 12 : piece.y + 20);
        arrange(layout);
        QCOMPARE(pixel(QPoint(2, 2)), board_colour::kField);
        QCOMPARE(pixel(centroid(solution.pieces[0], cell())), board_colour::kSilhouette);
        QCOMPARE(pixel(centroid(layout.pieces[0], cell())), board_colour::kPlaying);

        // The held piece shows only as its outline; drawing it twice restores
        // the picture bit for bit.
        press(box(), anchorPixel(layout.pieces[0], cell()));
        QCOMPARE(form->board().selectedPiece, 1);
        QVERIFY(pixel(centroid(layout.pieces[0], cell())) != board_colour::kPlaying);
        const QImage before = box()->image().copy();
        box()->drawOutline(1, board_colour::kHeldOutline, true);
        QVERIFY(box()->image() != before);
        box()->drawOutline(1, board_colour::kHeldOutline, true);
        QCOMPARE(box()->image(), before);

        // A full repaint while holding draws the same picture.
        box()->repaintBoard();
        QCOMPARE(box()->image(), before);

        // With the pattern in its own window the silhouette is not drawn.
        session->settings().patmode = 2;
        box()->repaintBoard();
        QCOMPARE(pixel(centroid(solution.pieces[0], cell())), board_colour::kField);
    }

    void pickMoveTurnDropWithTheMouse()
    {
        open();
        const PuzzleRecord solution = session->game().workingRecord();
        arrange(solution);
        Board& board = form->board();
        const PieceState start = board.piece(3);

        press(box(), anchorPixel(start, cell()));
        QCOMPARE(board.selectedPiece, 3);
        QCOMPARE(board.layoutGrid, gridWithout(3));
        QCOMPARE(log->entries, QStringList{QStringLiteral("sound 1")});

        moveHeld(box(), anchorPixel(start, cell()) + QPoint(0, 4 * cell()));
        QCOMPARE(board.piece(3).y, start.y + 4);
        QCOMPARE(board.layoutGrid, gridWithout(3));
        // The cursor follows the zone under the pointer (taken before each step).
        moveHeld(box(), anchorPixel(start, cell()) + QPoint(1, 4 * cell()));
        QCOMPARE(box()->cursor().pixmap().toImage(), form->moveCursor().pixmap().toImage());
        QVERIFY(form->moveCursor().pixmap().toImage() != form->turnCursor().pixmap().toImage());
        release(box(), anchorPixel(start, cell()) + QPoint(0, 4 * cell()));

        press(box(), QPoint(400, 300), Qt::RightButton);
        QCOMPARE(board.piece(3).orientation, (start.orientation + 1) % 16);
        QCOMPARE(board.selectedPiece, 3);

        log->entries.clear();
        press(box(), QPoint(3 * cell(), 3 * cell()));
        QCOMPARE(board.selectedPiece, 0);
        QCOMPARE(log->entries, QStringList{QStringLiteral("sound 2")});
        QCOMPARE(board.layoutGrid, gridWithout(0));
        QCOMPARE(pixel(centroid(board.piece(3), cell())), board_colour::kPlaying);
        QCOMPARE(board.solveState, SolveState::Playing);
    }

    void refusedDropKeepsThePieceInHand()
    {
        Board& board = holdPieceOneOnPieceTwo();
        QCOMPARE(board.piece(1).x, board.piece(2).x);
        log->entries.clear();
        const QImage before = box()->image().copy();
        QCOMPARE(onScreen(), before);
        press(box(), QPoint(3 * cell(), 3 * cell()));
        QCOMPARE(log->entries, QStringList{QStringLiteral("sound 6")});
        QCOMPARE(board.selectedPiece, 1);
        QCOMPARE(board.layoutGrid, gridWithout(1));
        // Seen too: the outline flashes red on the screen, and the board's
        // picture is never touched.
        const QImage flash = onScreen();
        int red = 0;
        for (int y = 0; y < flash.height(); ++y)
            for (int x = 0; x < flash.width(); ++x)
                red += flash.pixel(x, y) == qRgb(0xFF, 0, 0);
        QVERIFY2(red >= 10 * cell(), qPrintable(QStringLiteral("%1 red pixels").arg(red)));
        QCOMPARE(box()->image(), before);
        QTRY_VERIFY_WITH_TIMEOUT(!box()->blinking(), 3000);
        QCOMPARE(onScreen(), before);
        QCOMPARE(box()->image(), before);
        // Dragging after the refused press does nothing.
        const PieceState held = board.piece(1);
        moveHeld(box(), QPoint(20 * cell(), 20 * cell()));
        QCOMPARE(board.piece(1), held);
    }

    // The sign of a refused put-down is seen by a player not looking for
    // it: two red flashes of some 200 ms with a pause as long between, about
    // 600 ms in all. It is the screen's only: once it is over the screen
    // shows what a fresh repaint of the board draws, bit for bit.
    void refusedSignIsTwoLongFlashesAndLeavesTheFreshPicture()
    {
        Board& board = holdPieceOneOnPieceTwo();
        const QImage before = box()->image().copy();

        QElapsedTimer clock;
        clock.start();
        press(box(), QPoint(3 * cell(), 3 * cell()));
        QCOMPARE(board.selectedPiece, 1);
        // The flashes as (first, last) sight of red, in ms since the press.
        QList<QPair<qint64, qint64>> flashes;
        bool wasRed = false;
        while (box()->blinking() && clock.elapsed() < 3000) {
            const QImage shown = onScreen();
            const bool red = std::ranges::any_of(std::views::iota(0, shown.height()), [&shown](int y) {
                const auto* line = reinterpret_cast<const QRgb*>(shown.constScanLine(y));
                return std::ranges::find(line, line + shown.width(), qRgb(0xFF, 0, 0)) != line + shown.width();
            });
            if (red && !wasRed)
                flashes.append({clock.elapsed(), clock.elapsed()});
            else if (red)
                flashes.last().second = clock.elapsed();
            wasRed = red;
            QTest::qWait(10);
        }
        const qint64 total = clock.elapsed();
        QVERIFY2(!box()->blinking(), "the sign never ended");
        QCOMPARE(flashes.size(), 2);
        for (const auto& [first, last] : flashes)
            QVERIFY2(last - first >= 140, qPrintable(QStringLiteral("a flash of %1 ms").arg(last - first)));
        QVERIFY2(flashes[1].first - flashes[0].second >= 140, "no pause between the flashes");
        QVERIFY2(total >= 550 && total <= 1500, qPrintable(QStringLiteral("the sign lasted %1 ms").arg(total)));

        const QImage after = onScreen();
        QCOMPARE(box()->image(), before);
        box()->repaintBoard();
        QCOMPARE(after, box()->image());
    }

    // The opening: right after the first paint the screen shows the pieces
    // on their way, not yet at their places; it ends by itself, at once with
    // a press on the board, and never touches the board's picture. Off when
    // QUELLON_NO_ANIMATION is set.
    void openingEffectNeitherDelaysNorLeavesATrace()
    {
        qunsetenv("QUELLON_NO_ANIMATION");
        open();
        QVERIFY(box()->openingRunning());
        QVERIFY(onScreen() != box()->image());
        QTRY_VERIFY_WITH_TIMEOUT(!box()->openingRunning(), 3000);
        QCOMPARE(onScreen(), box()->image());

        form.reset();
        open();
        QVERIFY(box()->openingRunning());
        const PieceState first = form->board().piece(1);
        press(box(), anchorPixel(first, cell()));
        QCOMPARE(form->board().selectedPiece, 1);
        QVERIFY(!box()->openingRunning());
        QCOMPARE(onScreen(), box()->image());

        form.reset();
        qputenv("QUELLON_NO_ANIMATION", "1");
        open();
        QVERIFY(!box()->openingRunning());
        QCOMPARE(onScreen(), box()->image());
    }

    void theSolvingDropRunsItsStepsInOrder()
    {
        open();
        const PuzzleRecord solution = session->game().workingRecord();
        PuzzleRecord layout = solution;
        layout.pieces[7] = PieceState{75, 50, solution.pieces[7].orientation};
        arrange(layout);
        session->setUnsavedProgress(false);
        QRgb colourAtMessage = 0;
        messages->answers = {6};
        const PieceState home = solution.pieces[7];
        press(box(), anchorPixel(layout.pieces[7], cell()));
        moveHeld(box(), anchorPixel(home, cell()));
        release(box(), anchorPixel(home, cell()));
        QCOMPARE(form->board().piece(8), home);
        QCOMPARE(session->game().progressTable[1], uint8_t{0});

        // The message is up only after the pieces turned green.
        log->entries.clear();
        const QPoint probe = centroid(solution.pieces[0], cell());
        messages->whileShown = [this, &colourAtMessage, probe] { colourAtMessage = pixel(probe); };
        press(box(), QPoint(3 * cell(), 3 * cell()));
        const QStringList steps = log->entries;
        QCOMPARE(steps.mid(0, 3),
                 (QStringList{QStringLiteral("sound 2"), QStringLiteral("sound 5"), QStringLiteral("message 1")}));
        QCOMPARE(colourAtMessage, board_colour::kSolved);
        QCOMPARE(form->board().solveState, SolveState::Solved);
        QCOMPARE(session->game().progressTable[1], uint8_t{8});
        QVERIFY(session->unsavedProgress());
        QCOMPARE(form->windowTitle(), QStringLiteral("Zindle Quellon V3.1 - Quellon: 1 (solved)"));

        // Later presses have no effect.
        log->entries.clear();
        const Board after = form->board();
        press(box(), anchorPixel(home, cell()));
        press(box(), anchorPixel(home, cell()), Qt::RightButton);
        QVERIFY(log->entries.isEmpty());
        QCOMPARE(form->board().selectedPiece, 0);
        QCOMPARE(form->board().layoutGrid, after.layoutGrid);
    }

    void solvingAgainKeepsTheProgressByte()
    {
        open();
        session->game().progressTable[1] = 12;  // dropped earlier
        form->carryOut(session->setUpCurrent());
        session->setUnsavedProgress(false);
        const PuzzleRecord solution = session->game().workingRecord();
        PuzzleRecord layout = solution;
        layout.pieces[0] = PieceState{12, 52, solution.pieces[0].orientation};
        arrange(layout);
        press(box(), anchorPixel(layout.pieces[0], cell()));
        moveHeld(box(), anchorPixel(solution.pieces[0], cell()));
        press(box(), QPoint(3 * cell(), 3 * cell()));
        QCOMPARE(form->board().solveState, SolveState::Solved);
        QCOMPARE(session->game().progressTable[1], uint8_t{12});
        QVERIFY(!session->unsavedProgress());
        QVERIFY(log->entries.contains(QStringLiteral("sound 5")));
        QVERIFY(log->entries.contains(QStringLiteral("message 1")));
    }

    void navigationWrapsAround()
    {
        open(3);
        QTest::mouseClick(button("DnBtn"), Qt::LeftButton);
        QCOMPARE(session->game().currentQuellon, 3);
        QCOMPARE(session->game().workingRecord(), session->game().catalogue[3]);
        QTest::mouseClick(button("UpBtn"), Qt::LeftButton);
        QCOMPARE(session->game().currentQuellon, 1);
        QCOMPARE(form->windows().patternWindow().windowTitle(), QStringLiteral("Quellon 1"));
    }

    void unsolvedSearchWithEverythingFinishedOnlyTells()
    {
        open(3);
        GameData& game = session->game();
        game.progressTable[1] = 8;
        game.progressTable[2] = 12;
        game.progressTable[3] = 9;
        QTest::mouseClick(button("UpBtn"), Qt::LeftButton);
        const Board before = form->board();
        log->entries.clear();
        QTest::mouseClick(button("UnsolvedUpBtn"), Qt::LeftButton);
        QCOMPARE(steps(), QStringList{QStringLiteral("message 10 All Quellons already solved.")});
        QCOMPARE(game.currentQuellon, 2);
        QCOMPARE(form->board().pieces, before.pieces);

        session->settings().language = 1;
        log->entries.clear();
        QTest::mouseClick(button("UnsolvedDnBtn"), Qt::LeftButton);
        QCOMPARE(steps(), QStringList{QStringLiteral("message 10 Alle Quellons bereits gel\u00f6st.")});

        // The only unfinished Quellon is found again at step N, without a notice.
        game.progressTable[2] = 0;
        log->entries.clear();
        QTest::mouseClick(button("UnsolvedUpBtn"), Qt::LeftButton);
        QCOMPARE(game.currentQuellon, 2);
        QVERIFY(!log->entries.join(' ').contains(QStringLiteral("message")));
        game.progressTable[3] = 0;
        QTest::mouseClick(button("UnsolvedDnBtn"), Qt::LeftButton);
        QCOMPARE(game.currentQuellon, 3);
    }

    void newGameAsksThenClearsProgressAndName()
    {
        open(3);
        GameData& game = session->game();
        QTest::mouseClick(button("UpBtn"), Qt::LeftButton);
        game.progressTable[1] = 9;
        game.progressTable[2] = 2;
        game.gameName = "evening";
        session->setUnsavedProgress(true);

        messages->answers = {7};
        QTest::mouseClick(button("NewGameBtn"), Qt::LeftButton);
        QCOMPARE(game.progressTable[1], uint8_t{9});
        QCOMPARE(steps(), QStringList{QStringLiteral("message 4")});

        log->entries.clear();
        messages->answers = {6};
        ModalDriver driver;
        expectSaveOfferCancelled(driver);
        QTest::mouseClick(button("NewGameBtn"), Qt::LeftButton);
        QVERIFY(driver.allDone());
        QCOMPARE(steps().mid(0, 2), (QStringList{QStringLiteral("message 4"), QStringLiteral("offerSave")}));
        QCOMPARE(game.progressTable[1], uint8_t{0});
        QCOMPARE(game.progressTable[2], uint8_t{0});
        QCOMPARE(game.currentQuellon, 2);
        QVERIFY(game.gameName.empty());
        QVERIFY(!session->unsavedProgress());
        QVERIFY(button("TipBtn")->isEnabled());
        QCOMPARE(form->windowTitle(), QStringLiteral("Zindle Quellon V3.1 - Quellon: 2"));
    }

    void helpPlacesTwoPiecesAtATimeThenDrops()
    {
        open(3);
        const PuzzleRecord solution = session->game().workingRecord();
        Board& board = form->board();
        press(box(), anchorPixel(board.piece(5), cell()));  // help also frees a held piece
        QCOMPARE(board.selectedPiece, 5);
        const uint8_t expected[] = {1, 2, 3, 12};
        for (int step = 0; step < 4; ++step) {
            QTest::mouseClick(button("TipBtn"), Qt::LeftButton);
            QCOMPARE(session->game().progressTable[1], expected[step]);
            QCOMPARE(board.selectedPiece, 0);
            for (int k = 1; k <= std::min(2 * (step + 1), 8); ++k)
                QCOMPARE(board.piece(k), solution.pieces[static_cast<size_t>(k - 1)]);
            QCOMPARE(board.layoutGrid, gridWithout(0));
        }
        QVERIFY(session->unsavedProgress());
        QCOMPARE(board.solveState, SolveState::Dropped);
        QCOMPARE(pixel(centroid(solution.pieces[0], cell())), board_colour::kDropped);
        QTest::mouseClick(button("TipBtn"), Qt::LeftButton);
        QCOMPARE(session->game().progressTable[1], uint8_t{12});
        press(box(), anchorPixel(board.piece(1), cell()));
        QCOMPARE(board.selectedPiece, 0);
        // Coming back to the dropped Quellon: all parked, help not offered.
        QTest::mouseClick(button("UpBtn"), Qt::LeftButton);
        QTest::mouseClick(button("DnBtn"), Qt::LeftButton);
        QVERIFY(!button("TipBtn")->isEnabled());
        QCOMPARE(form->windowTitle(), QStringLiteral("Zindle Quellon V3.1 - Quellon: 1 (dropped)"));
    }

    void loadAndSelectionGoThroughTheirDialogs()
    {
        open(3);
        GameData& game = session->game();
        QDir().mkpath(sandbox->dir() + QStringLiteral("games"));
        writeFile(sandbox->dir() + QStringLiteral("games/evening.zql"), QByteArray("\x0a\x08", 2));
        ModalDriver driver;
        auto chooseGame = [&driver](const QString& name) {
            driver.expect(QStringLiteral("LoadGameDlg"), [name](QWidget* modal) {
                auto* dialog = static_cast<TLoadGameDlg*>(modal);
                // A game no longer listed stands for one deleted behind the list's back.
                const QList<QListWidgetItem*> items =
                    dialog->nameList()->findItems(QStringLiteral("evening"), Qt::MatchExactly);
                if (name != QStringLiteral("evening"))
                    items.first()->setText(name);
                dialog->NameListBoxClick(dialog->nameList()->row(items.first()));
            });
        };
        session->setUnsavedProgress(true);
        expectSaveOfferCancelled(driver);
        chooseGame(QStringLiteral("evening"));
        QTest::mouseClick(button("LoadBtn"), Qt::LeftButton);
        QVERIFY(driver.allDone());
        QCOMPARE(steps().mid(0, 1), QStringList{QStringLiteral("offerSave")});
        QCOMPARE(game.progressTable[1], uint8_t{10});
        QVERIFY(!session->unsavedProgress());
        QVERIFY(!button("TipBtn")->isEnabled());
        QCOMPARE(form->windowTitle(), QStringLiteral("Zindle Quellon V3.1 - Quellon: 1 (solved) - Game: evening"));

        // A game that cannot be read: its name in the notice, the progress kept.
        chooseGame(QStringLiteral("gone"));
        log->entries.clear();
        QTest::mouseClick(button("LoadBtn"), Qt::LeftButton);
        QVERIFY(driver.allDone());
        QVERIFY(steps().contains(QStringLiteral("message 10 Error occured while loading file gone")));
        QVERIFY(game.gameName.empty());
        QCOMPARE(game.progressTable[1], uint8_t{10});
        QCOMPARE(form->windowTitle(), QStringLiteral("Zindle Quellon V3.1 - Quellon: 1 (solved)"));

        driver.expect(QStringLiteral("SelectDlg"), [](QWidget* modal) {
            static_cast<TSelectDlg*>(modal)->boxMouseDown(QPoint(100 * 2 + 50, 50));  // the third cell
        });
        QTest::mouseClick(button("SelectBtn"), Qt::LeftButton);
        QVERIFY(driver.allDone());
        QCOMPARE(game.currentQuellon, 3);
        QCOMPARE(game.workingRecord(), game.catalogue[3]);
        QCOMPARE(form->windowTitle(), QStringLiteral("Zindle Quellon V3.1 - Quellon: 3"));
        driver.expect(QStringLiteral("SelectDlg"),
                      [](QWidget* modal) { static_cast<TSelectDlg*>(modal)->cancelButton()->click(); });
        QTest::mouseClick(button("SelectBtn"), Qt::LeftButton);
        QVERIFY(driver.allDone());
        QCOMPARE(game.workingRecord(), game.catalogue[3]);
    }

    void rulesOpenInTheLanguageChosen()
    {
        open(3);
        QTest::mouseClick(button("RulesBtn"), Qt::LeftButton);
        session->settings().language = 1;
        QTest::mouseClick(button("RulesBtn"), Qt::LeftButton);
        QCOMPARE(media->helpContexts, (std::vector<int>{2, 1}));
    }

    // A face is lit while the pointer is over its button and the button can
    // take the click: not while a dialog blocks its window, not after the
    // pointer left a dialog that hid with it, the next time it shows.
    void faceIsLitOnlyWhileThePointerIsOverTheButton()
    {
        open();
        // The dialog beside a small main window, both on the small offscreen
        // screen: that platform hands the pointer to the first window under
        // it, not to the topmost.
        form->setMinimumSize(0, 0);
        form->resize(400, 300);
        TYesNoDlg question(session->settings());
        question.move(form->frameGeometry().right() + 20, 0);
        ImageButton* exitButton = button("ExitBtn");
        auto pointAt = [](QWidget* widget, QPoint at) {
            (void)QTest::qWaitForWindowExposed(widget->window());
            QCursor::setPos(widget->mapToGlobal(at));
            QTest::qWait(50);
        };
        auto pointAtButton = [&](ImageButton* b) { pointAt(b, b->rect().center()); };
        pointAtButton(exitButton);
        QVERIFY(exitButton->isHovered());

        // Asked from the tool button and answered No with the mouse.
        bool exitLitWhileAsked = true;
        bool noLitUnderPointer = false;
        QTimer::singleShot(0, &question, [&] {
            exitLitWhileAsked = exitButton->isHovered();
            pointAtButton(question.noButton());
            noLitUnderPointer = question.noButton()->isHovered();
            QTest::mouseClick(question.noButton(), Qt::LeftButton);
        });
        QCOMPARE(question.showCode(MessageCode::Quit), 7);
        QVERIFY(!exitLitWhileAsked);
        QVERIFY(noLitUnderPointer);
        pointAt(form.get(), QPoint(200, 200));  // over the board
        QVERIFY(!exitButton->isHovered());

        // Asked again, the pointer going to Yes: only Yes is lit.
        bool noLitAtShow = true;
        bool yesLit = false;
        bool noLit = true;
        QTimer::singleShot(0, &question, [&] {
            noLitAtShow = question.noButton()->isHovered();
            pointAtButton(question.yesButton());
            yesLit = question.yesButton()->isHovered();
            noLit = question.noButton()->isHovered();
            QTest::keyClick(&question, Qt::Key_Escape);
        });
        QCOMPARE(question.showCode(MessageCode::Quit), 7);
        QVERIFY(!noLitAtShow);
        QVERIFY(yesLit);
        QVERIFY(!noLit);

        // A dialog closing while the pointer rests on the tool button that
        // opened it leaves the face lit.
        pointAtButton(exitButton);
        QTimer::singleShot(0, &question, [&] { QTest::keyClick(&question, Qt::Key_Escape); });
        question.showCode(MessageCode::Quit);
        QVERIFY(exitButton->isHovered());
    }

    // A hint shows whenever the pointer rests on a button, also while
    // another window of the game (the pattern window) is the active one.
    void hintsShowWhileAnotherWindowIsActive()
    {
        open();
        form->resize(700, 500);
        QWidget pattern(form.get(), Qt::Window);
        pattern.setGeometry(form->frameGeometry().right() + 20, 0, 60, 60);
        pattern.show();
        pattern.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&pattern));
        QTRY_VERIFY_WITH_TIMEOUT(!form->isActiveWindow(), 2000);
        ImageButton* tip = button("TipBtn");
        QCursor::setPos(tip->mapToGlobal(tip->rect().center()));
        QTRY_VERIFY_WITH_TIMEOUT(QToolTip::isVisible(), 3000);
        QCOMPARE(QToolTip::text(), QStringLiteral("I need a little help."));
        QToolTip::hideText();
    }

    void firstActivationAsksTheLanguageThenSetsHints()
    {
        writeCatalogue(sandbox->programDir.path(), 2);
        form = std::make_unique<TMainform>(*session, *sound, *media, messages.get(), sandbox->dir());
        int asked = 0;
        ModalDriver driver;
        driver.expect(QStringLiteral("TongueDlg"), [&asked](QWidget* modal) {
            ++asked;
            static_cast<TTongueDlg*>(modal)->GermanBtn->click();
        });
        QVERIFY(form->FormCreate());
        QCOMPARE(session->settings().language, -1);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTRY_VERIFY(!form->firstActivation());
        QCOMPARE(asked, 1);
        QCOMPARE(session->settings().language, 1);
        QVERIFY(form->windows().patternWindow().isVisible());  // patmode 2 by default
        QCOMPARE(button("UpBtn")->toolTip(), QStringLiteral("Ich nehm' das n\u00e4chste Quellon."));
        QCOMPARE(button("InfoBtn")->toolTip(), QStringLiteral("Wer hat diese Spiele nur verbrochen?"));
        form->windows().stepOption(GameSession::Option::Language);
        QCOMPARE(button("StatBtn")->toolTip(), QStringLiteral("Let me see, what I've solved until now."));
        QCoreApplication::processEvents();
        QCOMPARE(asked, 1);
    }

    void patternWindowGoesAndComesBackWithTheMainWindow()
    {
        open();
        TPatForm& pattern = form->windows().patternWindow();
        session->settings().patmode = 2;
        form->windows().stepOption(GameSession::Option::PatternMode);  // 3: the window shows
        QTRY_VERIFY(pattern.isVisible());
        form->showMinimized();
        QTRY_VERIFY(!pattern.isVisible());
        form->showNormal();
        QTRY_VERIFY(pattern.isVisible());
        // With the pattern on the board there is no window to bring back.
        form->windows().stepOption(GameSession::Option::PatternMode);  // 0: on the board
        QVERIFY(!pattern.isVisible());
        form->showMinimized();
        form->showNormal();
        QTest::qWait(100);
        QVERIFY(!pattern.isVisible());
    }

    void closeQuestionDecidesAndClosingWritesTheSettings()
    {
        open(3);
        QTest::mouseClick(button("UpBtn"), Qt::LeftButton);
        session->game().gameName = "evening";
        messages->answers = {7};
        QVERIFY(!form->close());
        QVERIFY(form->isVisible());
        QVERIFY(sandbox->setting(QStringLiteral("level")).isEmpty());

        log->entries.clear();
        messages->answers = {6};
        session->setUnsavedProgress(true);
        ModalDriver driver;
        expectSaveOfferCancelled(driver);
        QVERIFY(form->close());
        QVERIFY(driver.allDone());
        QCOMPARE(steps().mid(0, 2), (QStringList{QStringLiteral("message 3"), QStringLiteral("offerSave")}));
        QCOMPARE(sandbox->setting(QStringLiteral("level")), QStringLiteral("2"));
        QCOMPARE(sandbox->setting(QStringLiteral("game")), QStringLiteral("evening"));
        QCOMPARE(sandbox->setting(QStringLiteral("tongue")), QStringLiteral("0"));
        QCOMPARE(sandbox->setting(QStringLiteral("sound")), QStringLiteral("1"));
        QCOMPARE(sandbox->setting(QStringLiteral("patmode")), QStringLiteral("0"));
        QCOMPARE(sandbox->setting(QStringLiteral("wid")), QString::number(form->frameGeometry().width()));
        form.reset();
        QVERIFY(parsePlacement(sandbox->setting(QStringLiteral("MainForm")).toStdString()).has_value() ||
                QSettings(QSettings::NativeFormat, QSettings::UserScope, SettingsStore::kOrganisation,
                          SettingsStore::kApplication)
                        .value(QStringLiteral("common/MainForm"))
                        .toStringList()
                        .size() == 7);
    }

    void infoDialogShowsTitleAndVersion()
    {
        open(2);
        QTimer::singleShot(0, form.get(), [this] {
            auto* dialog = form->findChild<QDialog*>(QStringLiteral("InfoDlg"));
            QVERIFY(dialog);
            auto* name = dialog->findChild<QLabel*>(QStringLiteral("NameLabel"));
            auto* version = dialog->findChild<QLabel*>(QStringLiteral("VersionLabel"));
            QVERIFY(name && version);
            QCOMPARE(name->text(), QStringLiteral("Zindle Quellon"));
            QVERIFY(version->text().contains(QStringLiteral("V3.1")));
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        QTest::mouseClick(button("InfoBtn"), Qt::LeftButton);
        QVERIFY(form->isVisible());
    }
};

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
