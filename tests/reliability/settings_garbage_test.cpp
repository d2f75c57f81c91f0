// Hand-edited settings files from tests/data/settings: the real main window
// starts on each, must read the documented values (defaults for garbage,
// clamped "level", centred window for a bad "MainForm"), draw itself, close,
// and leave a settings file that reads back cleanly.
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>
#include <memory>
#include <optional>

#include "ui/dialog_look.h"
#include "engine/settings_values.h"
#include "session/game_session.h"
#include "ui/message_seam.h"
#include "storage/settings_store.h"
#include "storage/startup.h"
#include "play/main_form.h"
#include "play/board_view.h"
#include "play/pattern_form.h"
#include "tests/support/gui_support.h"
#include "tests/support/modal_driver.h"

using namespace quellon;

namespace {

const QString kData = QStringLiteral(QUELLON_TEST_DATA);
constexpr int kCatalogueCount = 10;  // ten_and_5_bytes.dat

// Says Yes to the close question and writes down every notice.
class AnsweringMessages : public Messages {
public:
    int showCode(MessageCode) override { return static_cast<int>(DialogResult::Yes); }
    int showText(MessageCode code, const QString& text) override
    {
        notices << text;
        return static_cast<int>(code == MessageCode::Question ? DialogResult::Yes : DialogResult::Ok);
    }
    void showFatal(const QString& text) override { notices << QStringLiteral("fatal: ") + text; }
    QStringList notices;
};

bool copyInto(const QString& from, const QString& to)
{
    QDir().mkpath(QFileInfo(to).path());
    QFile::remove(to);
    return QFile::copy(from, to);
}

enum class Placement { Centred, Stored, Maximized, Any };

}  // namespace

class SettingsGarbageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(configRoot_.isValid());
        qputenv("XDG_CONFIG_HOME", configRoot_.path().toUtf8());
    }

    // Players edit this file: it must be where they would look for it.
    void desktopIsLargeEnough() { QCOMPARE(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 1920, 1080)); }

    void storeIsAnIniFileUnderTheUsersConfigFolder()
    {
        SettingsStore store;
        store.writeInteger(SettingsStore::kSection, QStringLiteral("level"), 42);
        const QString path = SettingsStore::fileIn(configRoot_.path());
        QVERIFY2(QFile::exists(path), qPrintable(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains("[common]"));
        QVERIFY(text.contains("level=42"));
    }

    void startsOnDamagedSettings_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("checkValues");
        QTest::addColumn<int>("tongue");
        QTest::addColumn<bool>("sound");
        QTest::addColumn<int>("back");
        QTest::addColumn<bool>("music");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("game");
        QTest::addColumn<int>("patmode");
        QTest::addColumn<int>("notices");
        QTest::addColumn<int>("placement");
        QTest::addColumn<QRect>("frame");

        const auto row = [](const char* file, int tongue, bool sound, int back, bool music, int level, const char* game,
                            int patmode, int notices = 0, Placement placement = Placement::Centred, QRect frame = {}) {
            QTest::newRow(file) << QString::fromLatin1(file) << true << tongue << sound << back << music << level
                                << QString::fromUtf8(game) << patmode << notices << static_cast<int>(placement)
                                << frame;
        };
        const auto anyValues = [](const char* file) {
            QTest::newRow(file) << QString::fromLatin1(file) << false << 0 << false << 0 << false << 0 << QString() << 0
                                << 0 << static_cast<int>(Placement::Any) << QRect();
        };
        row("only_section.conf", -1, true, 0, true, 1, "", 2);
        row("other_section.conf", -1, true, 0, true, 1, "", 2);
        row("not_numbers.conf", -1, true, 0, true, 1, "", 2);
        row("booleans.conf", 1, false, 0, true, 4, "", 2);
        row("blanks_and_signs.conf", 1, true, 2, true, 3, "", 2);
        // Out of range values are kept as they are (the drawing clamps the
        // background); only "level" is brought into 1..N.
        row("out_of_range.conf", 7, true, 99, true, kCatalogueCount, "", 9);
        row("negative.conf", -1, true, -1, true, 1, "", -7);
        row("huge_numbers.conf", -1, true, 2147483647, true, 1, "", -2147483647 - 1);
        row("mainform_unquoted.conf", -1, true, 0, true, 1, "", 2, 0, Placement::Stored, QRect(100, 100, 700, 500));
        row("mainform_quoted.conf", -1, true, 0, true, 1, "", 2, 0, Placement::Stored, QRect(100, 100, 700, 500));
        row("mainform_bad_mark.conf", -1, true, 0, true, 1, "", 2);
        row("mainform_six_parts.conf", -1, true, 0, true, 1, "", 2);
        row("mainform_eight_parts.conf", -1, true, 0, true, 1, "", 2);
        row("mainform_blank_part.conf", -1, true, 0, true, 1, "", 2);
        row("mainform_off_desktop.conf", -1, true, 0, true, 1, "", 2, 0, Placement::Maximized);
        row("mainform_bigger_than_desktop.conf", -1, true, 0, true, 1, "", 2, 0, Placement::Any);
        // Past the int range: pulled to the desktop's top-left corner.
        row("mainform_extreme.conf", -1, true, 0, true, 1, "", 2, 0, Placement::Any);
        row("mainform_qt_type.conf", -1, true, 0, true, 1, "", 2);
        row("variant_garbage.conf", -1, true, 0, true, 1, "", 2);
        row("variant_huge_list.conf", -1, false, 0, true, 1, "", 2);
        row("non_utf8.conf", -1, true, 0, true, 1, "", 2);
        row("game_escape.conf", -1, true, 0, true, 1, "", 2);
        row("game_long.conf", -1, true, 0, true, 1, "", 2);
        row("game_exists.conf", -1, true, 0, true, 7, "evening", 2);
        row("game_unreadable.conf", -1, true, 0, true, 3, "", 2, 1);
        anyValues("binary.conf");
        anyValues("unterminated.conf");
    }

    void startsOnDamagedSettings()
    {
        QFETCH(QString, file);
        QFETCH(bool, checkValues);
        QFETCH(int, placement);
        QFETCH(int, notices);

        // A store of its own for every file, so nothing cached carries over.
        const testing::Sandbox sandbox;
        QVERIFY(copyInto(kData + QStringLiteral("/settings/") + file, sandbox.settingsFile()));

        const QTemporaryDir& programDir = sandbox.programDir;
        QVERIFY(QFile::copy(kData + QStringLiteral("/catalogue/ten_and_5_bytes.dat"), programDir.filePath("zqln.dat")));
        QVERIFY(QDir(programDir.path()).mkpath(QStringLiteral("games")));
        QVERIFY(
            QFile::copy(kData + QStringLiteral("/games/every_value.zql"), programDir.filePath("games/evening.zql")));
        QVERIFY(QDir(programDir.path()).mkpath(QStringLiteral("games/blocked.zql")));

        AnsweringMessages messages;
        // Where no language is stored the window asks for one when it shows;
        // the driver closes that dialog unanswered.
        ModalDriver driver;
        GameSession session;
        testing::SilentSound sound;
        testing::RecordingMedia media;
        auto form = std::make_unique<TMainform>(session, sound, media, &messages, programDir.path());
        QVERIFY(form->FormCreate());
        const GameSession& state = session;
        if (checkValues) {
            QFETCH(int, tongue);
            QFETCH(bool, sound);
            QFETCH(int, back);
            QFETCH(bool, music);
            QFETCH(int, level);
            QFETCH(QString, game);
            QFETCH(int, patmode);
            QCOMPARE(state.settings().language, tongue);
            QCOMPARE(state.settings().soundOn, sound);
            QCOMPARE(state.settings().background, back);
            QCOMPARE(state.settings().musicOn, music);
            QCOMPARE(state.settings().patmode, patmode);
            QCOMPARE(state.game().currentQuellon, level);
            QCOMPARE(QString::fromStdString(state.game().gameName), game);
            if (game == QLatin1String("evening"))
                QCOMPARE(state.game().progressTable[7], uint8_t{6});  // byte 6 of every_value.zql
        }
        QVERIFY(state.game().currentQuellon >= 1 && state.game().currentQuellon <= kCatalogueCount);

        // Shown and drawn with whatever was read.
        const QSize outerBefore = form->frameGeometry().size();
        form->showRestored();
        QTest::qWait(20);
        QVERIFY(form->isVisible());
        // A notice of the start waits for the window on the screen.
        if (checkValues)
            QTRY_COMPARE(messages.notices.size(), notices);
        QVERIFY(!form->grab().isNull());
        const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
        switch (static_cast<Placement>(placement)) {
        case Placement::Centred: {
            // Centred by the size it had before it was shown: the frame is
            // known only afterwards and may shift it by its width.
            const QRect screen = QGuiApplication::primaryScreen()->geometry();
            const QPoint expected(screen.left() + (screen.width() - outerBefore.width()) / 2,
                                  screen.top() + (screen.height() - outerBefore.height()) / 2);
            const QPoint shift = form->frameGeometry().topLeft() - expected;
            QVERIFY2(std::abs(shift.x()) <= 4 && std::abs(shift.y()) <= 4,
                     qPrintable(QStringLiteral("off centre by %1, %2").arg(shift.x()).arg(shift.y())));
            break;
        }
        case Placement::Stored: {
            QFETCH(QRect, frame);
            QCOMPARE(form->frameGeometry(), frame);
            break;
        }
        case Placement::Maximized:
            QVERIFY(form->isMaximized());
            QVERIFY(desktop.intersects(form->normalGeometry()));
            break;
        case Placement::Any:
            QVERIFY(desktop.contains(form->frameGeometry().topLeft()) || desktop.intersects(form->frameGeometry()));
            break;
        }

        // Closing writes clean values back, and the next start reads them.
        QVERIFY(form->close());
        form.reset();
        SettingsStore store;
        const QString& s = SettingsStore::kSection;
        const int level = store.readInteger(s, QStringLiteral("level"), 0);
        QVERIFY(level >= 1 && level <= kCatalogueCount);
        QCOMPARE(level, state.game().currentQuellon);
        QCOMPARE(store.readInteger(s, QStringLiteral("tongue"), 12345), state.settings().language);
        QCOMPARE(store.readInteger(s, QStringLiteral("patmode"), 12345), state.settings().patmode);
        QCOMPARE(store.readText(s, QStringLiteral("game"), QStringLiteral("?")),
                 QString::fromStdString(state.game().gameName));
        const std::optional<WindowPlacement> written = readPlacement(store);
        QVERIFY(written.has_value());
        QVERIFY(desktop.intersects(
            QRect(QPoint(written->left, written->top), QPoint(written->right - 1, written->bottom - 1))));
    }

    // The pattern window's "pleft" and "ptop": integers taken as stored, the
    // defaults 500 and 50 for anything else; the window opens and draws.
    void patternWindowOnDamagedPosition_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QPoint>("position");
        QTest::newRow("only_section") << QStringLiteral("only_section.conf") << QPoint(500, 50);
        QTest::newRow("not_numbers") << QStringLiteral("not_numbers.conf") << QPoint(500, 50);
        QTest::newRow("out_of_range") << QStringLiteral("out_of_range.conf") << QPoint(-30000, 30000);
        QTest::newRow("huge_numbers") << QStringLiteral("huge_numbers.conf") << QPoint(500, -2147483647 - 1);
    }

    void patternWindowOnDamagedPosition()
    {
        QFETCH(QString, file);
        QFETCH(QPoint, position);
        const testing::Sandbox sandbox;
        QVERIFY(copyInto(kData + QStringLiteral("/settings/") + file, sandbox.settingsFile()));
        GameSession session;
        GameData& game = session.game();
        game.quellonCount = 1;
        game.currentQuellon = 1;
        session.settings().patmode = 2;
        SettingsStore store;
        TPatForm pattern(game, session.settings());
        pattern.loadPosition(store);
        // A position on the desktop is kept; one off it is pulled back so the
        // whole window shows.
        const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
        if (desktop.contains(QRect(position, pattern.size())))
            QCOMPARE(pattern.pos(), position);
        else
            QVERIFY2(
                desktop.contains(QRect(pattern.pos(), pattern.size())),
                qPrintable(QStringLiteral("pattern window at %1, %2").arg(pattern.pos().x()).arg(pattern.pos().y())));
        pattern.showPattern();
        QTest::qWait(10);
        QVERIFY(!pattern.grab().isNull());
        pattern.savePosition(store);
        // What was written reads back as a number.
        QVERIFY(store.readInteger(SettingsStore::kSection, QStringLiteral("pleft"), 12345) != 12345 ||
                pattern.storedPosition().x() == 12345);
    }

    // A stored rectangle far larger than the desktop, restored at that size
    // (Qt caps a window at 16777215 pixels), would grow the cells to match
    // and ask terabytes for the board picture: the restored size is bounded
    // by the desktop.
    void hugeStoredWindowStillShowsTheBoard_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("bigger_than_desktop") << QStringLiteral("mainform_bigger_than_desktop.conf");
        QTest::newRow("extreme") << QStringLiteral("mainform_extreme.conf");
    }

    void hugeStoredWindowStillShowsTheBoard()
    {
        QFETCH(QString, file);
        const testing::Sandbox sandbox;
        QVERIFY(copyInto(kData + QStringLiteral("/settings/") + file, sandbox.settingsFile()));
        QVERIFY(QFile::copy(kData + QStringLiteral("/catalogue/ten_and_5_bytes.dat"),
                            sandbox.programDir.filePath("zqln.dat")));
        AnsweringMessages messages;
        ModalDriver driver;  // closes the language dialog of a store without a language
        GameSession session;
        testing::SilentSound sound;
        testing::RecordingMedia media;
        TMainform form(session, sound, media, &messages, sandbox.programDir.path());
        QVERIFY(form.FormCreate());
        form.showRestored();
        QTest::qWait(20);
        QVERIFY2(!form.boardView()->image().isNull(),
                 qPrintable(QStringLiteral("no board picture for a window of %1 x %2")
                                .arg(form.frameGeometry().width())
                                .arg(form.frameGeometry().height())));
        const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
        QVERIFY(form.frameGeometry().width() <= desktop.width() && form.frameGeometry().height() <= desktop.height());
    }

private:
    QTemporaryDir configRoot_;
};

// A desktop large enough for the window: on the offscreen platform's default
// 800 x 600 screen the 909 x 698 window cannot be centred.
int main(int argc, char** argv)
{
    QTemporaryDir screenDir;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen") {
        const QString config = screenDir.filePath(QStringLiteral("screen.json"));
        QFile file(config);
        if (file.open(QIODevice::WriteOnly))
            file.write(R"({"screens": [{"name": "desk", "x": 0, "y": 0, "width": 1920, "height": 1080,
                           "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        file.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toUtf8());
    }
    QApplication app(argc, argv);
    SettingsGarbageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "settings_garbage_test.moc"
