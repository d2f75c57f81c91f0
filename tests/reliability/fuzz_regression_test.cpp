// Stored window rectangles the placement fuzzer found hostile, met where a
// player meets them: the settings file in the user's configuration folder,
// read by the game's start-up, which shows the main window. Whatever the
// numbers, the window lands in the desktop's top-left corner as wide as the
// desktop and no larger, with a board picture, and closing writes back a
// placement on the desktop. ctest runs this on the main screen and again on a desktop
// that lies wholly left of the origin (QUELLON_TEST_DESKTOP), where the
// desktop's right edge minus a huge width leaves the int range.
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <optional>

#include "play/board_view.h"
#include "play/main_form.h"
#include "session/game_session.h"
#include "storage/settings_store.h"
#include "storage/startup.h"
#include "tests/support/gui_support.h"

using namespace quellon;

namespace {

const QString kData = QStringLiteral(QUELLON_TEST_DATA);

// "x,y,width,height" of the only screen; the main screen by default.
QRect desktopUnderTest()
{
    const QList<QByteArray> parts = qgetenv("QUELLON_TEST_DESKTOP").split(',');
    if (parts.size() != 4)
        return QRect(0, 0, 1920, 1080);
    return QRect(parts[0].toInt(), parts[1].toInt(), parts[2].toInt(), parts[3].toInt());
}

}  // namespace

class FuzzRegressionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(configRoot_.isValid());
        qputenv("XDG_CONFIG_HOME", configRoot_.path().toUtf8());
        QCOMPARE(QGuiApplication::primaryScreen()->virtualGeometry(), desktopUnderTest());
    }

    void hostileStoredRectangleLandsInTheCorner_data()
    {
        QTest::addColumn<QByteArray>("mainForm");
        QTest::newRow("spanning the whole int range") << readMainForm("mainform_extreme.conf");
        QTest::newRow("two thousand million square") << readMainForm("mainform_bigger_than_desktop.conf");
        QTest::newRow("width of INT_MAX") << QByteArray("200,0,1,0,0,2147483647,100");
        QTest::newRow("turned over") << QByteArray("200,0,1,5000,600,0,0");
    }

    void hostileStoredRectangleLandsInTheCorner()
    {
        QFETCH(QByteArray, mainForm);
        QVERIFY(!mainForm.isEmpty());
        // The file as a player leaves it, where the game's store reads it.
        const QString file = SettingsStore::fileIn(configRoot_.path());
        QVERIFY(QDir().mkpath(QFileInfo(file).path()));
        testing::writeFile(file, "[common]\ntongue=0\nMainForm=" + mainForm + "\n");
        QTemporaryDir programDir;
        testing::writeCatalogue(programDir.path(), 2);

        testing::EventLog log;
        testing::AnsweringMessages messages(log);
        GameSession session;
        testing::SilentSound sound;
        testing::RecordingMedia media;
        auto form = std::make_unique<TMainform>(session, sound, media, &messages, programDir.path());
        QVERIFY(form->FormCreate());
        form->showRestored();
        QTest::qWait(20);

        const QRect desktop = desktopUnderTest();
        const QRect frame = form->frameGeometry();
        const QString where = QStringLiteral("window at %1, %2, %3 x %4")
                                  .arg(frame.left())
                                  .arg(frame.top())
                                  .arg(frame.width())
                                  .arg(frame.height());
        // The offscreen platform nudges a client area that would start left
        // of or above x, y = 0 in by the frame's width, wherever its screen
        // lies: that much is allowed.
        const QPoint nudge = form->geometry().topLeft() - frame.topLeft();
        const QPoint offCorner = frame.topLeft() - desktop.topLeft();
        QVERIFY2(offCorner.x() >= 0 && offCorner.x() <= nudge.x() && offCorner.y() >= 0 && offCorner.y() <= nudge.y(),
                 qPrintable(where));
        const QRect reach = desktop.adjusted(0, 0, nudge.x(), nudge.y());
        QVERIFY2(reach.contains(frame), qPrintable(where));
        // Every one is wider than either desktop: it fills the desktop's width.
        QVERIFY2(frame.width() == desktop.width(), qPrintable(where));
        QVERIFY2(!form->boardView()->image().isNull(), qPrintable(where));
        QVERIFY(log.entries.isEmpty());

        // The next start reads a placement on the desktop.
        QVERIFY(form->close());
        form.reset();
        const std::optional<WindowPlacement> written = readPlacement(SettingsStore());
        QVERIFY(written.has_value());
        const QRect rewritten(QPoint(written->left, written->top), QPoint(written->right - 1, written->bottom - 1));
        QVERIFY2(reach.contains(rewritten), qPrintable(QString::fromStdString(formatPlacement(*written))));
    }

private:
    static QByteArray readMainForm(const char* name)
    {
        QFile file(kData + QStringLiteral("/settings/") + QLatin1String(name));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        for (const QByteArray& line : file.readAll().split('\n'))
            if (line.startsWith("MainForm="))
                return line.mid(9);
        return {};
    }

    QTemporaryDir configRoot_;
};

// The offscreen platform with one screen where the desktop under test lies.
int main(int argc, char** argv)
{
    QTemporaryDir screenDir;
    const QRect desktop = desktopUnderTest();
    const QString config = screenDir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (file.open(QIODevice::WriteOnly))
        file.write(QStringLiteral(R"({"screens": [{"name": "desk", "x": %1, "y": %2, "width": %3, "height": %4,
                                     "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                       .arg(desktop.left())
                       .arg(desktop.top())
                       .arg(desktop.width())
                       .arg(desktop.height())
                       .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toUtf8());
    QApplication app(argc, argv);
    FuzzRegressionTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "fuzz_regression_test.moc"
