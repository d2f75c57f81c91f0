// Start-up and the settings store: defaults, parsing of stored texts, the
// fatal catalogue box, the level clamp, the last game restored or dropped,
// and the main window's placement.
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include "engine/catalogue.h"
#include "tests/support/gui_support.h"
#include "tests/support/modal_driver.h"
#include "storage/settings_store.h"
#include "storage/startup.h"
#include "play/main_form.h"

using namespace quellon;
using namespace quellon::testing;

class StartupTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Sandbox> sandbox;
    std::unique_ptr<EventLog> log;
    std::unique_ptr<AnsweringMessages> messages;

    std::unique_ptr<GameSession> session;
    std::unique_ptr<RecordingMedia> media;
    // Closes the language dialog a shown window asks with no language stored.
    std::unique_ptr<ModalDriver> driver;
    SilentSound sound;

    std::unique_ptr<TMainform> makeForm()
    {
        return std::make_unique<TMainform>(*session, sound, *media, messages.get(), sandbox->dir());
    }

    bool storedAnything() const { return QFile::exists(sandbox->settingsFile()); }

private slots:
    void init()
    {
        sandbox = std::make_unique<Sandbox>();
        log = std::make_unique<EventLog>();
        messages = std::make_unique<AnsweringMessages>(*log);
        session = std::make_unique<GameSession>();
        media = std::make_unique<RecordingMedia>();
        driver = std::make_unique<ModalDriver>();
    }

    void cleanup()
    {
        messages.reset();
        log.reset();
        sandbox.reset();
    }

    void storeReadsDefaultsAndParsesText()
    {
        const SettingsStore store;
        const QString s = SettingsStore::kSection;
        QCOMPARE(store.readInteger(s, QStringLiteral("tongue"), -1), -1);
        QVERIFY(store.readBoolean(s, QStringLiteral("sound"), true));
        QCOMPARE(store.readText(s, QStringLiteral("game"), QString()), QString());
        QVERIFY(!storedAnything());  // reading creates nothing

        sandbox->setSetting(QStringLiteral("sound"), QStringLiteral("0"));
        QVERIFY(!store.readBoolean(s, QStringLiteral("sound"), true));
        sandbox->setSetting(QStringLiteral("sound"), QStringLiteral("7"));
        QVERIFY(store.readBoolean(s, QStringLiteral("sound"), true));
        sandbox->setSetting(QStringLiteral("sound"), QStringLiteral("loud"));
        QVERIFY(store.readBoolean(s, QStringLiteral("sound"), true));
        sandbox->setSetting(QStringLiteral("level"), QStringLiteral("-3"));
        QCOMPARE(store.readInteger(s, QStringLiteral("level"), 1), -3);
        sandbox->setSetting(QStringLiteral("game"), QString());
        QCOMPARE(store.readText(s, QStringLiteral("game"), QStringLiteral("x")), QString());

        store.writeInteger(s, QStringLiteral("back"), -4);
        store.writeBoolean(s, QStringLiteral("music"), false);
        QCOMPARE(sandbox->setting(QStringLiteral("back")), QStringLiteral("-4"));
        QCOMPARE(sandbox->setting(QStringLiteral("music")), QStringLiteral("0"));
    }

    // A start-up with the store held open reads what it reads key by key and
    // leaves the same file behind; writes in a session reach the file when it
    // ends, and hand edits are seen again afterwards.
    void aSessionReadsAndWritesLikeSingleOpenings()
    {
        writeCatalogue(sandbox->programDir.path(), 5);
        QDir().mkpath(QFileInfo(sandbox->settingsFile()).path());
        const QByteArray stored = "[common]\nMainForm=200,0,1,100,100,800,600\nlevel=3\ntongue=1\nsound=0\n"
                                  "back=4\npatmode=1\n";
        const auto startUp = [this, &stored](bool inSession) {
            writeFile(sandbox->settingsFile(), stored);
            QList<int> values;
            {
                std::optional<SettingsStore::Session> storeSession;
                std::optional<SettingsStore::Session> nested;
                if (inSession) {
                    storeSession.emplace();
                    nested.emplace();
                }
                auto form = makeForm();
                if (form->FormCreate()) {
                    const SettingsValues& v = session->settings();
                    values = {v.language,   v.soundOn, v.musicOn,
                              v.background, v.patmode, session->game().currentQuellon};
                }
            }
            QFile file(sandbox->settingsFile());
            return std::make_pair(values, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
        };
        const auto keyByKey = startUp(false);
        QCOMPARE(keyByKey.first, (QList<int>{1, 0, 1, 4, 1, 3}));
        QCOMPARE(startUp(true), keyByKey);

        const SettingsStore store;
        const QString s = SettingsStore::kSection;
        {
            const SettingsStore::Session session;
            store.writeInteger(s, QStringLiteral("back"), 5);
            QCOMPARE(store.readInteger(s, QStringLiteral("back"), 0), 5);
        }
        QCOMPARE(sandbox->setting(QStringLiteral("back")), QStringLiteral("5"));
        sandbox->setSetting(QStringLiteral("back"), QStringLiteral("2"));
        QCOMPARE(store.readInteger(s, QStringLiteral("back"), 0), 2);
    }

    void handEditedPlacementWithoutQuotesIsRead()
    {
        QDir().mkpath(QFileInfo(sandbox->settingsFile()).path());
        writeFile(sandbox->settingsFile(), "[common]\nMainForm=200,0,1,100,100,800,600\nlevel=3\n");
        const SettingsStore store;
        QCOMPARE(store.readText(SettingsStore::kSection, QStringLiteral("MainForm"), QString()),
                 QStringLiteral("200,0,1,100,100,800,600"));
        QCOMPARE(readPlacement(store), (WindowPlacement{0, 1, 100, 100, 800, 600}));
        writePlacement(store, WindowPlacement{0, 3, 5, 6, 705, 506});
        QCOMPARE(store.readText(SettingsStore::kSection, QStringLiteral("MainForm"), QString()),
                 QStringLiteral("200,0,3,5,6,705,506"));
    }

    void firstStartTakesTheDefaults()
    {
        writeCatalogue(sandbox->programDir.path(), 5);
        auto form = makeForm();
        QVERIFY(form->FormCreate());
        const SettingsValues& v = session->settings();
        QCOMPARE(v.language, -1);
        QVERIFY(v.soundOn);
        QVERIFY(v.musicOn);
        QCOMPARE(v.background, 0);
        QCOMPARE(v.patmode, 2);
        QCOMPARE(session->game().currentQuellon, 1);
        QCOMPARE(session->game().quellonCount, 5);
        QVERIFY(QDir(sandbox->dir() + QStringLiteral("games")).exists());
        QVERIFY(log->entries.isEmpty());
    }

    void missingCatalogueEndsTheStartWithoutWriting()
    {
        {
            auto form = makeForm();
            QVERIFY(!form->FormCreate());
        }
        QCOMPARE(messages->fatal, QStringList{QStringLiteral("Can't find file ZQLN.DAT. Program aborted.")});
        QVERIFY(!storedAnything());

        sandbox->setSetting(QStringLiteral("tongue"), QStringLiteral("1"));
        messages->fatal.clear();
        auto form = makeForm();
        QVERIFY(!form->FormCreate());
        QCOMPARE(messages->fatal, QStringList{QStringLiteral(
                                      "Datei ZQLN.DAT konnte nicht gefunden werden. Programm wird abgebrochen.")});
        form.reset();
        QVERIFY(sandbox->setting(QStringLiteral("MainForm")).isEmpty());
    }

    void damagedCatalogueIsRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QByteArray offBoard = recordBytes(sampleRecord(1)) + recordBytes(sampleRecord(2));
        offBoard[24] = char(1);  // piece 1 of Quellon 2 at column 1 sticks out
        QTest::newRow("piece off the board") << offBoard << QStringLiteral("Quellon 2");
        QTest::newRow("shorter than a record") << QByteArray(10, '\x05') << QStringLiteral("no Quellon");
        QByteArray badOrientation = recordBytes(sampleRecord(1));
        badOrientation[2] = char(40);
        QTest::newRow("orientation above 15") << badOrientation << QStringLiteral("Quellon 1");
    }

    void damagedCatalogueIsRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        writeFile(sandbox->dir() + QStringLiteral("zqln.dat"), bytes);
        auto form = makeForm();
        QVERIFY(!form->FormCreate());
        QCOMPARE(messages->fatal.size(), 1);
        QVERIFY2(messages->fatal.first().contains(text), qPrintable(messages->fatal.first()));
        QVERIFY(messages->fatal.first().contains(QStringLiteral("Program aborted.")));
    }

    void storedLevelIsClamped_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("level");
        QTest::newRow("0") << QStringLiteral("0") << 1;
        QTest::newRow("-5") << QStringLiteral("-5") << 1;
        QTest::newRow("2000") << QStringLiteral("2000") << 950;
        QTest::newRow("17") << QStringLiteral("17") << 17;
        QTest::newRow("text") << QStringLiteral("seven") << 1;
    }

    void storedLevelIsClamped()
    {
        QFETCH(QString, stored);
        QFETCH(int, level);
        writeCatalogue(sandbox->programDir.path(), 960);  // records past 950 are ignored
        sandbox->setSetting(QStringLiteral("level"), stored);
        auto form = makeForm();
        QVERIFY(form->FormCreate());
        QCOMPARE(session->game().quellonCount, 950);
        QCOMPARE(session->game().currentQuellon, level);
        QCOMPARE(session->game().workingRecord(), session->game().catalogue[static_cast<size_t>(level)]);
    }

    void deletedLastGameStartsFreshWithoutAMessage()
    {
        writeCatalogue(sandbox->programDir.path(), 5);
        sandbox->setSetting(QStringLiteral("game"), QStringLiteral("evening"));
        sandbox->setSetting(QStringLiteral("patmode"), QStringLiteral("0"));
        auto form = makeForm();
        QVERIFY(form->FormCreate());
        QVERIFY(session->game().gameName.empty());
        QVERIFY(log->entries.isEmpty());
        QCOMPARE(session->game().progressTable[1], uint8_t{0});
        QVERIFY(!session->unsavedProgress());
        QCOMPARE(form->windowTitle(), QStringLiteral("Zindle Quellon V3.1 - Quellon: 1"));
    }

    void lastGameIsRestored()
    {
        writeCatalogue(sandbox->programDir.path(), 5);
        QDir().mkpath(sandbox->dir() + QStringLiteral("games"));
        writeFile(sandbox->dir() + QStringLiteral("games/evening.zql"), QByteArray("\x08\x02\x0c", 3));
        sandbox->setSetting(QStringLiteral("game"), QStringLiteral("evening"));
        sandbox->setSetting(QStringLiteral("level"), QStringLiteral("2"));
        sandbox->setSetting(QStringLiteral("tongue"), QStringLiteral("0"));
        sandbox->setSetting(QStringLiteral("patmode"), QStringLiteral("0"));
        auto form = makeForm();
        QVERIFY(form->FormCreate());
        QCOMPARE(session->game().gameName, std::string("evening"));
        QCOMPARE(session->game().progressTable[1], uint8_t{8});
        QCOMPARE(session->game().progressTable[3], uint8_t{12});
        QCOMPARE(session->game().progressTable[4], uint8_t{0});
        // Help level 2 on Quellon 2: pieces 1 to 4 start at their solution spots.
        for (int k = 1; k <= 4; ++k)
            QCOMPARE(form->board().piece(k), session->game().catalogue[2].pieces[static_cast<size_t>(k - 1)]);
        QCOMPARE(form->windowTitle(), QStringLiteral("Zindle Quellon V3.1 - Quellon: 2 - Game: evening"));
    }

    // The order of start-up as the player would see it: when the music is
    // asked to start, the settings are read, the catalogue checked, the last
    // game restored and the Quellon set up, and no window has shown yet;
    // "patmode" alone is read after it.
    void musicStartsAfterTheRestoredGameIsSetUpAndBeforeAnyWindowShows()
    {
        writeCatalogue(sandbox->programDir.path(), 5);
        QDir().mkpath(sandbox->dir() + QStringLiteral("games"));
        writeFile(sandbox->dir() + QStringLiteral("games/evening.zql"), QByteArray("\x08\x02\x0c", 3));
        sandbox->setSetting(QStringLiteral("game"), QStringLiteral("evening"));
        sandbox->setSetting(QStringLiteral("level"), QStringLiteral("2"));
        sandbox->setSetting(QStringLiteral("back"), QStringLiteral("3"));
        sandbox->setSetting(QStringLiteral("patmode"), QStringLiteral("0"));
        auto form = makeForm();
        QStringList seen;
        media->onMusicStart = [&] {
            const GameSession& state = *session;
            seen << QStringLiteral("music");
            if (state.settings().background == 3)
                seen << QStringLiteral("settings read");
            if (state.game().quellonCount == 5)
                seen << QStringLiteral("catalogue checked");
            if (state.game().gameName == "evening" && state.game().progressTable[1] == 8)
                seen << QStringLiteral("game restored");
            if (form->board().piece(1) == state.game().catalogue[2].pieces[0])
                seen << QStringLiteral("set up");
            if (state.settings().patmode == 2)
                seen << QStringLiteral("patmode not yet read");
            if (!form->isVisible())
                seen << QStringLiteral("no window shown");
        };
        QVERIFY(form->FormCreate());
        QCOMPARE(seen, (QStringList{QStringLiteral("music"), QStringLiteral("settings read"),
                                    QStringLiteral("catalogue checked"), QStringLiteral("game restored"),
                                    QStringLiteral("set up"), QStringLiteral("patmode not yet read"),
                                    QStringLiteral("no window shown")}));
        QCOMPARE(session->settings().patmode, 0);
    }

    void unreadableLastGameIsReportedAndDropped()
    {
        writeCatalogue(sandbox->programDir.path(), 5);
        QDir().mkpath(sandbox->dir() + QStringLiteral("games/evening.zql"));  // a folder, not a file
        sandbox->setSetting(QStringLiteral("game"), QStringLiteral("evening"));
        sandbox->setSetting(QStringLiteral("tongue"), QStringLiteral("0"));
        auto form = makeForm();
        // The notice waits for the window on the screen: shown before, it
        // made the window's native window early and the window manager's
        // frame was never taken into its placement.
        QStringList shownOver;
        messages->whileShown = [&] {
            shownOver << (form->isVisible() ? QStringLiteral("over the shown window") : QStringLiteral("no window"));
        };
        QVERIFY(form->FormCreate());
        QVERIFY(session->game().gameName.empty());
        QVERIFY(log->entries.isEmpty());
        form->showRestored();
        QTRY_COMPARE(log->entries, QStringList{QStringLiteral("message 10 Error occured while loading file evening")});
        QCOMPARE(shownOver, QStringList{QStringLiteral("over the shown window")});
        // Once only.
        form->hide();
        form->show();
        QTest::qWait(20);
        QCOMPARE(log->entries.size(), 1);
    }

    void placementIsRestoredAndKeptOnTheDesktop()
    {
        writeCatalogue(sandbox->programDir.path(), 2);
        const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
        // Wider than the desktop on the right: pulled back in.
        const int w = 700;
        const int h = 500;
        sandbox->setSetting(QStringLiteral("MainForm"), QStringLiteral("200,0,1,%1,%2,%3,%4")
                                                            .arg(desktop.right() - 100)
                                                            .arg(20)
                                                            .arg(desktop.right() - 100 + w)
                                                            .arg(20 + h));
        auto form = makeForm();
        QVERIFY(form->FormCreate());
        form->showRestored();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCoreApplication::processEvents();
        QCOMPARE(form->frameGeometry().topLeft(), QPoint(desktop.left() + desktop.width() - w, 20));
        QCOMPARE(form->frameGeometry().size(), QSize(w, h));
        form.reset();
        // Stored again at destruction, in the seven-number form.
        const std::optional<WindowPlacement> stored = readPlacement(SettingsStore());
        QVERIFY(stored);
        QCOMPARE(stored->showState, kShowNormal);
        QCOMPARE(stored->right - stored->left, w);
        QCOMPARE(stored->left, desktop.left() + desktop.width() - w);
    }

    void savedGamesLiveBesideTheProgramWhenItCanHoldThem()
    {
        GameData game;
        game.programDir = sandbox->dir().toStdString();
        QTemporaryDir userData;
        createGamesDirectory(game, userData.path());
        QVERIFY(game.gamesDir.empty());
        QVERIFY(QFileInfo(sandbox->dir() + QStringLiteral("games")).isDir());
        QVERIFY(writeSavedGame(game, "portable"));
        QVERIFY(QFile::exists(sandbox->dir() + QStringLiteral("games/portable.zql")));
    }

    void readOnlyProgramFolderKeepsSavedGamesInTheUserDataDirectory()
    {
        // "games" taken by a plain file stands for any folder that cannot
        // hold files (a read-only install), also for root.
        writeFile(sandbox->dir() + QStringLiteral("games"), "not a folder");
        GameData game;
        game.programDir = sandbox->dir().toStdString();
        QTemporaryDir userData;
        createGamesDirectory(game, userData.path());
        QCOMPARE(QString::fromStdString(game.gamesDir), userData.path() + QStringLiteral("/games"));
        QVERIFY(writeSavedGame(game, "installed"));
        QVERIFY(QFile::exists(userData.path() + QStringLiteral("/games/installed.zql")));
        QVERIFY(loadSavedGame(game, "installed").ok);
    }

    void malformedPlacementCentresTheWindow()
    {
        writeCatalogue(sandbox->programDir.path(), 2);
        sandbox->setSetting(QStringLiteral("MainForm"), QStringLiteral("100,0,1,100,100,800,600"));
        auto form = makeForm();
        QVERIFY(form->FormCreate());
        form->showRestored();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(form->size(), TMainform::kInitialClientSize);
        // Centred by the size the window had before it was shown.
        QCOMPARE(form->frameGeometry().left(),
                 screen.left() + (screen.width() - TMainform::kInitialClientSize.width()) / 2);
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
