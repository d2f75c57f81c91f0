// The picture selection: which page opens, how the slider pages, which click
// picks which Quellon, the keys that close it, and what a cell shows.
#include <QtTest>

#include "dialogs/select_dialog.h"
#include "engine/pattern.h"
#include "engine/selection.h"
#include "session/game_session.h"
#include "tests/support/gui_support.h"

using namespace quellon;

namespace {

constexpr int kCancel = static_cast<int>(DialogResult::Cancel);
constexpr int kOk = static_cast<int>(DialogResult::Ok);

// A point well inside the first triangle of a cell's silhouette.
QPoint insideFirstTriangle(const PuzzleRecord& record, QPoint cellCorner)
{
    int sumX = 0;
    int sumY = 0;
    for (int corner = 0; corner < 3; ++corner) {
        const GridPoint point = pieceCorner(record.pieces[0], corner);
        sumX += point.x;
        sumY += point.y;
    }
    return cellCorner + QPoint(sumX / 3, 15 + sumY / 3);
}

}  // namespace

class SelectDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        game_ = GameData{};
        settings_ = SettingsValues{};
        setCatalogue(950);
    }

    void opensAtTheCurrentQuellonOrTheLastPage()
    {
        TSelectDlg dialog(game_, settings_);
        const QList<QPair<int, int>> cases{{1, 1}, {17, 17}, {935, 935}, {936, 935}, {940, 935}, {950, 935}};
        for (const auto& [current, first] : cases) {
            game_.currentQuellon = current;
            dialog.show();
            QCOMPARE(dialog.firstShown(), first);
            QCOMPARE(dialog.slider()->maximum(), 935);
            dialog.hide();
        }
        // The thumb's top end is the first page.
        game_.currentQuellon = 1;
        dialog.show();
        QCOMPARE(dialog.slider()->value(), dialog.slider()->maximum());
        QCOMPARE(dialog.focusWidget(), dialog.slider());
    }

    void sliderKeysStepARowOrAPage()
    {
        game_.currentQuellon = 1;
        TSelectDlg dialog(game_, settings_);
        dialog.show();
        QTest::keyClick(dialog.slider(), Qt::Key_Down);
        QCOMPARE(dialog.firstShown(), 5);
        QTest::keyClick(dialog.slider(), Qt::Key_PageDown);
        QCOMPARE(dialog.firstShown(), 21);
        QTest::keyClick(dialog.slider(), Qt::Key_Up);
        QCOMPARE(dialog.firstShown(), 17);
        // Home is the first page (the slider's top), End the last.
        QTest::keyClick(dialog.slider(), Qt::Key_End);
        QCOMPARE(dialog.firstShown(), 935);
        QTest::keyClick(dialog.slider(), Qt::Key_Home);
        QCOMPARE(dialog.firstShown(), 1);
        QVERIFY(dialog.isVisible());
    }

    void clicksPickTheCellIncludingItsGaps()
    {
        game_.currentQuellon = 17;
        TSelectDlg dialog(game_, settings_);
        dialog.show();
        QTest::mouseClick(dialog.pageBox(), Qt::LeftButton, {}, QPoint(95, 80));
        QCOMPARE(dialog.result(), kOk);
        QCOMPARE(dialog.chosenQuellon(), 17);

        dialog.show();
        QTest::mouseClick(dialog.pageBox(), Qt::RightButton, {}, QPoint(395, 330));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.chosenQuellon(), 17 + 15);
    }

    void clickBelowTheCellsChoosesNothing()
    {
        game_.currentQuellon = 1;
        TSelectDlg dialog(game_, settings_);
        dialog.show();
        QTest::mouseClick(dialog.pageBox(), Qt::LeftButton, {}, QPoint(50, 340));
        QVERIFY(dialog.isVisible());
        QCOMPARE(game_.currentQuellon, 1);
    }

    void escapeAndNCancelEvenWithTheSliderFocused()
    {
        game_.currentQuellon = 300;
        TSelectDlg dialog(game_, settings_);
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_N}) {
            dialog.show();
            QCOMPARE(dialog.focusWidget(), dialog.slider());
            QTest::keyClick(dialog.slider(), Qt::Key_PageDown);
            QTest::keyClick(dialog.slider(), key);
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.result(), kCancel);
            QCOMPARE(game_.currentQuellon, 300);
        }
        dialog.show();
        dialog.cancelButton()->click();
        QCOMPARE(dialog.result(), kCancel);
    }

    void smallCatalogueDrawsAndPicksOnlyItsQuellons()
    {
        setCatalogue(6);
        game_.currentQuellon = 6;
        TSelectDlg dialog(game_, settings_);
        dialog.show();
        QCOMPARE(dialog.firstShown(), 1);
        const QImage page = pageImage(dialog);
        QCOMPARE(page.pixelColor(150, 90 + 5), QColor(0xC0, 0xC0, 0xC0));   // Quellon 6 (cell 5)
        QVERIFY(page.pixelColor(250, 90 + 5) != QColor(0xC0, 0xC0, 0xC0));  // cell 6 is empty
        QTest::mouseClick(dialog.pageBox(), Qt::LeftButton, {}, QPoint(250, 95));
        QVERIFY(dialog.isVisible());
        QTest::mouseClick(dialog.pageBox(), Qt::LeftButton, {}, QPoint(150, 95));
        QCOMPARE(dialog.result(), kOk);
        QCOMPARE(dialog.chosenQuellon(), 6);
    }

    void finishedQuellonsAreGreyAndOpenOnesBlack()
    {
        game_.currentQuellon = 1;
        game_.progressTable[1] = 8;   // solved without help
        game_.progressTable[2] = 12;  // dropped
        game_.progressTable[3] = 2;   // help used, still open
        TSelectDlg dialog(game_, settings_);
        dialog.show();
        const QImage page = pageImage(dialog);
        const PuzzleRecord& record = game_.catalogue[1];
        QCOMPARE(page.pixelColor(insideFirstTriangle(record, {0, 0})), QColor(0x7F, 0x7F, 0x7F));
        QCOMPARE(page.pixelColor(insideFirstTriangle(record, {100, 0})), QColor(0x7F, 0x7F, 0x7F));
        QCOMPARE(page.pixelColor(insideFirstTriangle(record, {200, 0})), QColor(Qt::black));
        // A face only on finished Quellons, at the cell's top right.
        QVERIFY(page.pixelColor(73 + 7, 2 + 7) != QColor(0xC0, 0xC0, 0xC0));
        QCOMPARE(page.pixelColor(200 + 73 + 7, 2 + 7), QColor(0xC0, 0xC0, 0xC0));
    }

    // Each finished help level shows its own face of the strip, at every
    // device pixel ratio (the test runs again at ratios 2 and 1.5).
    void facesShowTheHelpUsed()
    {
        game_.currentQuellon = 1;
        for (int level = 0; level <= 4; ++level)
            game_.progressTable[static_cast<size_t>(level + 1)] = static_cast<uint8_t>(8 + level);
        TSelectDlg dialog(game_, settings_);
        dialog.show();
        const QImage page = pageImage(dialog);
        const QPixmap strip = TSelectDlg::faceStrip();
        const qreal ratio = page.devicePixelRatio();
        QCOMPARE(strip.devicePixelRatio(), ratio);
        const int side = qRound(15 * ratio);
        QCOMPARE(strip.size(), QSize(5 * side, side));
        for (int level = 0; level <= 4; ++level) {
            // The strip's square over the cell's silver, as the page shows it.
            QImage expected(side, side, QImage::Format_RGB32);
            expected.fill(QColor(0xC0, 0xC0, 0xC0));
            QPainter painter(&expected);
            QImage square = strip.toImage().copy(QRect((4 - level) * side, 0, side, side));
            square.setDevicePixelRatio(1);
            painter.drawImage(0, 0, square);
            painter.end();
            const QPoint cell(100 * (level % 4), 85 * (level / 4));
            const QPoint corner(qRound((cell.x() + 73) * ratio), qRound((cell.y() + 2) * ratio));
            // Rows above the silhouette, which may reach under the face.
            for (int y = 0; y < qRound(12 * ratio); ++y)
                for (int x = 0; x < side; ++x) {
                    const QColor shown = page.pixelColor(corner + QPoint(x, y));
                    const QColor wanted = expected.pixelColor(x, y);
                    if (qAbs(shown.red() - wanted.red()) > 3 || qAbs(shown.green() - wanted.green()) > 3 ||
                        qAbs(shown.blue() - wanted.blue()) > 3)
                        QFAIL(qPrintable(QStringLiteral("help level %1: pixel (%2, %3) is %4, the strip has %5")
                                             .arg(level)
                                             .arg(x)
                                             .arg(y)
                                             .arg(shown.name(), wanted.name())));
                }
        }
    }

    void wheelOverThePicturesMovesTheSlider()
    {
        game_.currentQuellon = 1;
        TSelectDlg dialog(game_, settings_);
        dialog.show();
        const int start = dialog.slider()->value();
        auto turnWheel = [](QWidget* target) {
            QWheelEvent wheel(QPointF(30, 30), target->mapToGlobal(QPointF(30, 30)), QPoint(), QPoint(0, -120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(target, &wheel);
        };
        turnWheel(dialog.slider());
        const int overSlider = dialog.slider()->value();
        QVERIFY(overSlider < start);  // towards the later Quellons
        dialog.slider()->setValue(start);
        turnWheel(dialog.pageBox());
        QCOMPARE(dialog.slider()->value(), overSlider);
        QCOMPARE(dialog.firstShown(), firstOnPage(game_.quellonCount, overSlider));
    }

    void pictureFramesKeepTheirPixelsOnAScaledScreen()
    {
        TSelectDlg dialog(game_, settings_);
        game_.currentQuellon = 1;
        dialog.show();
        // Each frame line with one pixel either side of it.
        QRegion band;
        for (int cell = 0; cell < kSelectPageSize; ++cell) {
            const QRect frame(kSelectCellPitchX * (cell % kSelectColumns), kSelectCellPitchY * (cell / kSelectColumns),
                              kSelectFrameWidth, kSelectFrameHeight);
            band += QRegion(frame.adjusted(-1, -1, 1, 1)).subtracted(frame.adjusted(2, 2, -2, -2));
        }
        band &= dialog.pageBox()->rect();
        const std::optional<QPoint> moved = testing::blackMovedAtDoubleScale(*dialog.pageBox(), band);
        QVERIFY2(!moved, qPrintable(QStringLiteral("device pixel %1, %2")
                                        .arg(moved.value_or(QPoint()).x())
                                        .arg(moved.value_or(QPoint()).y())));
    }

private:
    void setCatalogue(int count)
    {
        game_.quellonCount = count;
        for (int n = 1; n <= count; ++n)
            for (int k = 0; k < kPieceCount; ++k)
                game_.catalogue[static_cast<size_t>(n)].pieces[static_cast<size_t>(k)] =
                    PieceState{static_cast<uint8_t>(20 + 6 * k), 25, 0};
    }

    static QImage pageImage(TSelectDlg& dialog) { return dialog.pageBox()->grab().toImage(); }

    GameData game_;
    SettingsValues settings_;
};

QTEST_MAIN(SelectDialogTest)
#include "select_dialog_test.moc"
