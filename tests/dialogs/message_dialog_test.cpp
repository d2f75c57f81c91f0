// The message dialog: texts by code and language, the buttons of each mode,
// the keys and their results, and where the dialog appears.
#include <QTimer>
#include <QtTest>

#include "dialogs/message_dialog.h"
#include "tests/support/gui_support.h"

using namespace quellon;
using namespace quellon::testing;

class MessageDialogTest : public QObject {
    Q_OBJECT

    SettingsValues settings_;

    // Shows a message and, once it is up, runs `whileShown` (which closes it).
    template <typename Show, typename Act>
    int run(TYesNoDlg& dialog, Show show, Act whileShown)
    {
        QTimer::singleShot(0, &dialog, [&dialog, whileShown] { whileShown(dialog); });
        return show(dialog);
    }

private slots:
    void init() { settings_ = SettingsValues{}; }

    void solvedNoticeShowsOnlyTheTick()
    {
        TYesNoDlg dialog(settings_);
        settings_.language = 0;
        bool noVisible = true;
        QString text;
        const int result = run(
            dialog, [](TYesNoDlg& d) { return d.showCode(MessageCode::Solved); },
            [&](TYesNoDlg& d) {
                noVisible = d.noButton()->isVisible();
                text = d.shownText();
                QVERIFY(d.yesButton()->isVisible());
                QCOMPARE(d.yesButton()->pos(), QPoint(260, 100));
                QTest::keyClick(&d, Qt::Key_Return);
            });
        QCOMPARE(result, 6);
        QVERIFY(!noVisible);
        QCOMPARE(text, QStringLiteral("Hurrah, you did it!"));
        QCOMPARE(dialog.size(), QSize(319, 158));
    }

    void keysAnswerYesAndNo_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");
        QTest::newRow("Enter") << int(Qt::Key_Return) << 6;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << 6;
        QTest::newRow("J") << int(Qt::Key_J) << 6;
        QTest::newRow("Y") << int(Qt::Key_Y) << 6;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << 7;
        QTest::newRow("N") << int(Qt::Key_N) << 7;
    }

    void keysAnswerYesAndNo()
    {
        QFETCH(int, key);
        QFETCH(int, result);
        TYesNoDlg dialog(settings_);
        const int answer = run(
            dialog, [](TYesNoDlg& d) { return d.showCode(MessageCode::Quit); },
            [key](TYesNoDlg& d) {
                QVERIFY(d.noButton()->isVisible());
                QTest::keyClick(&d, 'x');  // ignored
                QVERIFY(d.isVisible());
                QTest::keyClick(&d, static_cast<Qt::Key>(key));
            });
        QCOMPARE(answer, result);
    }

    void lowerCaseKeysAnswerToo()
    {
        TYesNoDlg dialog(settings_);
        int answer = run(
            dialog, [](TYesNoDlg& d) { return d.showCode(MessageCode::NewGame); },
            [](TYesNoDlg& d) { QTest::keyClicks(&d, QStringLiteral("n")); });
        QCOMPARE(answer, 7);
        answer = run(
            dialog, [](TYesNoDlg& d) { return d.showCode(MessageCode::NewGame); },
            [](TYesNoDlg& d) { QTest::keyClicks(&d, QStringLiteral("j")); });
        QCOMPARE(answer, 6);
        // Escape also closes an OK-only notice, answering No.
        answer = run(
            dialog, [](TYesNoDlg& d) { return d.showText(MessageCode::Notice, QStringLiteral("x")); },
            [](TYesNoDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); });
        QCOMPARE(answer, 7);
    }

    void buttonClicksAnswer()
    {
        TYesNoDlg dialog(settings_);
        int answer = run(
            dialog, [](TYesNoDlg& d) { return d.showCode(MessageCode::Quit); },
            [](TYesNoDlg& d) { QTest::mouseClick(d.noButton(), Qt::LeftButton); });
        QCOMPARE(answer, 7);
        answer = run(
            dialog, [](TYesNoDlg& d) { return d.showCode(MessageCode::Quit); },
            [](TYesNoDlg& d) { QTest::mouseClick(d.yesButton(), Qt::LeftButton); });
        QCOMPARE(answer, 6);
    }

    void languageIsChosenWhenShown()
    {
        TYesNoDlg dialog(settings_);
        QString text;
        auto grab = [&](TYesNoDlg& d) {
            text = d.shownText();
            d.reject();
        };
        settings_.language = 1;
        run(
            dialog, [](TYesNoDlg& d) { return d.showCode(MessageCode::Quit); }, grab);
        QCOMPARE(text, QStringLiteral("Willst Du wirklich schon aufh\u00f6ren?"));
        QVERIFY(text.contains(QStringLiteral("aufh\u00f6ren")));
        settings_.language = 0;
        run(
            dialog, [](TYesNoDlg& d) { return d.showCode(MessageCode::Quit); }, grab);
        QCOMPARE(text, QStringLiteral("Do you really want to go?"));
        settings_.language = -1;
        run(
            dialog, [](TYesNoDlg& d) { return d.showCode(MessageCode::NewGame); }, grab);
        QCOMPARE(text, QStringLiteral("Do you really want to give up the game?"));
    }

    void modesFollowEachCall()
    {
        TYesNoDlg dialog(settings_);
        bool noVisible = false;
        QString text;
        auto grab = [&](TYesNoDlg& d) {
            noVisible = d.noButton()->isVisible();
            text = d.shownText();
            d.reject();
        };
        run(
            dialog, [](TYesNoDlg& d) { return d.showCode(MessageCode::Solved); }, grab);
        QVERIFY(!noVisible);
        run(
            dialog,
            [](TYesNoDlg& d) {
                return d.showText(MessageCode::Question, QStringLiteral("Game evening already exists. Overwrite?"));
            },
            grab);
        QVERIFY(noVisible);
        QCOMPARE(text, QStringLiteral("Game evening already exists. Overwrite?"));
        run(
            dialog,
            [](TYesNoDlg& d) {
                return d.showText(MessageCode::Notice, QStringLiteral("All Quellons already solved."));
            },
            grab);
        QVERIFY(!noVisible);
        QCOMPARE(dialog.buttonMode(), ButtonMode::OkOnly);
    }

    void carriageReturnStartsASecondLine()
    {
        TYesNoDlg dialog(settings_);
        QString text;
        int lineHeight = 0;
        run(
            dialog, [](TYesNoDlg& d) { return d.showText(MessageCode::Notice, QStringLiteral("first\rsecond")); },
            [&](TYesNoDlg& d) {
                text = d.shownText();
                lineHeight = QFontMetrics(d.findChild<QLabel*>(QStringLiteral("txt"))->font()).height();
                d.reject();
            });
        QCOMPARE(text, QStringLiteral("first\nsecond"));
        QVERIFY(lineHeight > 0);
    }

    void buttonsChangeTheirFaceUnderTheMouse()
    {
        ImageButton button(nullptr, art::kTickFace, art::kTickFaceOver, QSize(50, 50));
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QCursor::setPos(button.mapToGlobal(QPoint(200, 200)));
        QTest::qWait(50);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&button, &leave);
        const QImage normal = button.grab().toImage();
        // An enter lights the face only where the pointer really is.
        QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), button.mapToGlobal(QPointF(10, 10)));
        QApplication::sendEvent(&button, &enter);
        QVERIFY(!button.isHovered());
        QCursor::setPos(button.mapToGlobal(QPoint(10, 10)));
        QTest::qWait(50);
        QVERIFY(button.isHovered());
        QVERIFY(button.grab().toImage() != normal);
        QApplication::sendEvent(&button, &leave);
        QCOMPARE(button.grab().toImage(), normal);
    }

    void panelsHaveTheBevelledBlackFrame()
    {
        TexturedPanel panel(nullptr);
        panel.resize(100, 60);
        const QImage image = panel.grab().toImage();
        QVERIFY(image.pixel(0, 30) != qRgb(0, 0, 0));  // outer bevel
        for (int x = 2; x <= 4; ++x)
            QCOMPARE(image.pixel(x, 30), qRgb(0, 0, 0));  // the border
        QCOMPARE(panel.innerRect(), QRect(7, 7, 86, 46));
    }

    void placedOverTheMainWindow()
    {
        // Integer division truncating toward zero, also for negative values.
        QCOMPARE(placeOverMain(QRect(100, 50, 925, 737), 698, QSize(319, 158)), QPoint(100 + 303, 50 + 737 - 428));
        QCOMPARE(placeOverMain(QRect(0, 0, 200, 100), 80, QSize(319, 158)), QPoint(-59, 100 - 119));

        QWidget main;
        main.setGeometry(120, 80, 909, 698);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        TYesNoDlg dialog(settings_, &main);
        QPoint where;
        run(
            dialog, [](TYesNoDlg& d) { return d.showCode(MessageCode::Solved); },
            [&](TYesNoDlg& d) {
                where = d.pos();
                d.reject();
            });
        QCOMPARE(where, placeOverMain(main.frameGeometry(), main.height(), dialog.frameGeometry().size()));
    }
};

QTEST_MAIN(MessageDialogTest)
#include "message_dialog_test.moc"
