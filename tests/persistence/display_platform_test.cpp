// The platform the game starts on: the player's QT_QPA_PLATFORM always
// stands; an X display puts X11 first with Wayland behind it; without one Qt
// keeps its own choice.
#include <QtTest>

#include "app/display_platform.h"

using namespace quellon;

class DisplayPlatformTest : public QObject {
    Q_OBJECT

private slots:
    void playersChoiceStands_data()
    {
        QTest::addColumn<QByteArray>("requested");
        QTest::newRow("wayland") << QByteArray("wayland");
        QTest::newRow("xcb") << QByteArray("xcb");
        QTest::newRow("offscreen") << QByteArray("offscreen");
        QTest::newRow("list") << QByteArray("wayland;xcb");
    }
    void playersChoiceStands()
    {
        QFETCH(QByteArray, requested);
        QVERIFY(chosenPlatform(requested, ":0").isEmpty());
        QVERIFY(chosenPlatform(requested, "").isEmpty());
    }

    void anXDisplayPutsX11FirstAndWaylandBehind_data()
    {
        QTest::addColumn<QByteArray>("requested");
        QTest::addColumn<QByteArray>("display");
        QTest::newRow("nothing chosen") << QByteArray() << QByteArray(":0");
        QTest::newRow("blank choice") << QByteArray("  ") << QByteArray(":1");
        QTest::newRow("remote display") << QByteArray() << QByteArray("localhost:10.0");
    }
    void anXDisplayPutsX11FirstAndWaylandBehind()
    {
        QFETCH(QByteArray, requested);
        QFETCH(QByteArray, display);
        QCOMPARE(chosenPlatform(requested, display), QByteArray("xcb;wayland"));
    }

    void withoutAnXDisplayQtChooses()
    {
        QVERIFY(chosenPlatform({}, {}).isEmpty());
        QVERIFY(chosenPlatform({}, " ").isEmpty());
    }

    // The choice reaches Qt through the environment it reads when the
    // application object is made.
    void choiceIsWrittenForQtOnlyWhenNoneWasMade()
    {
        qunsetenv("QT_QPA_PLATFORM");
        qputenv("DISPLAY", ":5");
        choosePlatform();
        QCOMPARE(qgetenv("QT_QPA_PLATFORM"), QByteArray("xcb;wayland"));

        qputenv("QT_QPA_PLATFORM", "wayland");
        choosePlatform();
        QCOMPARE(qgetenv("QT_QPA_PLATFORM"), QByteArray("wayland"));

        qunsetenv("QT_QPA_PLATFORM");
        qunsetenv("DISPLAY");
        choosePlatform();
        QVERIFY(!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"));
    }
};

QTEST_APPLESS_MAIN(DisplayPlatformTest)
#include "display_platform_test.moc"
