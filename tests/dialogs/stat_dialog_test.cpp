// The statistics dialog: its sentences in both languages, the gauges, the
// stacked bar as painted, and the keys that close it or not.
#include <QtTest>

#include "dialogs/stat_dialog.h"
#include "session/game_session.h"

using namespace quellon;

class StatDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        game_ = GameData{};
        game_.quellonCount = 950;
        settings_ = SettingsValues{};
    }

    void nothingFinished()
    {
        TStatDlg dialog(game_, settings_);
        settings_.language = 1;
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Quellon Statistik"));
        QCOMPARE(dialog.sentence(1)->text(), QString::fromUtf8("Bisher wurde noch kein Quellon gelöst !!!"));
        QCOMPARE(dialog.sentence(3)->text(), QStringLiteral("Du hast bisher leider keine Punkte erreicht."));
        QCOMPARE(dialog.finishedGauge()->percentText(), QStringLiteral("0%"));
        QCOMPARE(dialog.pointsGauge()->percentText(), QStringLiteral("0%"));
        // The bar area shows no segment colour anywhere.
        const QImage bar = dialog.barArea()->grab().toImage();
        for (int x = 0; x < bar.width(); x += 7)
            QVERIFY(bar.pixelColor(x, 5) != QColor(0x00, 0xFF, 0x00));
    }

    void oneSolvedOutOf950FillsTheBarGreen()
    {
        game_.progressTable[40] = 8;
        TStatDlg dialog(game_, settings_);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Quellon statistics"));
        QCOMPARE(dialog.sentence(1)->text(), QStringLiteral("Until now one out of total 950 Quellons was solved."));
        QCOMPARE(dialog.sentence(3)->text(), QStringLiteral("Until now you've reached 4 out of 3800 possible points."));
        const QImage bar = dialog.barArea()->grab().toImage();
        QCOMPARE(bar.width(), 393);
        for (int x : {0, 200, 392})
            QCOMPARE(bar.pixelColor(x, 0), QColor(0x00, 0xFF, 0x00));
        QCOMPARE(bar.pixelColor(100, 17), QColor(0x00, 0xFF, 0x00));
        QVERIFY(bar.pixelColor(100, 18) != QColor(0x00, 0xFF, 0x00));
    }

    void segmentsArePaintedAtTheirPixelRanges()
    {
        // Two without help, one with some more help, one dropped: 410 / 4 = 102.5.
        game_.quellonCount = 10;
        game_.progressTable[1] = 8;
        game_.progressTable[2] = 8;
        game_.progressTable[3] = 10;
        game_.progressTable[4] = 12;
        TStatDlg dialog(game_, settings_);
        dialog.show();
        const QImage bar = dialog.barArea()->grab().toImage();
        const QColor green(0x00, 0xFF, 0x00);
        const QColor someMore(0xE4, 0xFC, 0x00);
        const QColor dropped(0xFF, 0xC1, 0x00);
        QCOMPARE(bar.pixelColor(0, 9), green);
        QCOMPARE(bar.pixelColor(206, 9), green);
        QCOMPARE(bar.pixelColor(207, 9), someMore);  // the empty level 1 takes one column
        QCOMPARE(bar.pixelColor(310, 9), someMore);
        QCOMPARE(bar.pixelColor(311, 9), dropped);  // overlaps the last column before it
        QCOMPARE(bar.pixelColor(392, 9), dropped);
        QCOMPARE(dialog.finishedGauge()->percentText(), QStringLiteral("40%"));
        QCOMPARE(dialog.pointsGauge()->percentText(), QStringLiteral("25%"));  // 10 of 40
    }

    void escapeLeavesItOpenEnterAndYesClose()
    {
        TStatDlg dialog(game_, settings_);
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QTest::keyClick(&dialog, Qt::Key_N);
        QVERIFY(dialog.isVisible());
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), static_cast<int>(DialogResult::Ok));
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Y);
        QCOMPARE(dialog.result(), static_cast<int>(DialogResult::Ok));
        dialog.show();
        dialog.okButton()->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), static_cast<int>(DialogResult::Cancel));
    }

private:
    GameData game_;
    SettingsValues settings_;
};

QTEST_MAIN(StatDialogTest)
#include "stat_dialog_test.moc"
