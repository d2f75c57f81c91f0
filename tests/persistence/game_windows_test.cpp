// The windows joined to the real main window: a game saved before a new one,
// loaded again, a Quellon chosen by picture, the language asked at the first
// activation, the pattern window's place kept, and dialogs made on first use.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "dialogs/message_dialog.h"
#include "dialogs/option_dialog.h"
#include "dialogs/select_dialog.h"
#include "dialogs/stat_dialog.h"
#include "dialogs/tongue_dialog.h"
#include "tests/support/modal_driver.h"
#include "play/game_windows.h"
#include "media/media_service.h"
#include "dialogs/load_game_dialog.h"
#include "media/music_player.h"
#include "dialogs/save_game_dialog.h"
#include "storage/settings_store.h"
#include "play/main_form.h"
#include "play/pattern_form.h"
#include "tests/support/gui_support.h"

using namespace quellon;

namespace {

constexpr int kQuellons = 40;

void writeCatalogue(const QString& path)
{
    QByteArray bytes;
    for (int n = 0; n < kQuellons; ++n)
        for (int k = 0; k < kPieceCount; ++k)
            bytes.append(static_cast<char>(20 + 5 * k)).append(static_cast<char>(30)).append(static_cast<char>(0));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

class GameWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Music as the game joins it, on a folder without any.
        music_ = std::make_unique<MusicPlayer>(mediaDir_.path());
    }

    void makeMainWindow()
    {
        main_ = std::make_unique<TMainform>(*session_, sound_, *media_, messages_.get(),
                                            sandbox_->programDir.path() + QLatin1Char('/'));
        QVERIFY(main_->FormCreate());
        session_->settings().language = 0;
    }

    void init()
    {
        sandbox_ = std::make_unique<testing::Sandbox>();
        writeCatalogue(sandbox_->programDir.filePath(QStringLiteral("zqln.dat")));
        session_ = std::make_unique<GameSession>();
        messages_ = std::make_unique<TYesNoDlg>(session_->settings());
        media_ =
            std::make_unique<MediaService>(*music_, session_->settings(), mediaDir_.path(), QStringLiteral("Quellon"));
        makeMainWindow();
    }

    void cleanup()
    {
        main_.reset();
        messages_.reset();
        media_.reset();
        session_.reset();
    }

    void newGameOffersToSaveAndLoadBringsItBack()
    {
        GameData& game = session_->game();
        game.progressTable[1] = 8;
        game.progressTable[7] = 12;
        session_->setUnsavedProgress(true);
        ModalDriver driver;
        driver.expect("YesNoDlg", [](QWidget* modal) { static_cast<TYesNoDlg*>(modal)->yesButton()->click(); });
        driver.expect("SaveGameDlg", [](QWidget* modal) {
            auto* dialog = static_cast<TSaveGameDlg*>(modal);
            dialog->nameEdit()->setText(QStringLiteral("evening"));
            dialog->okButton()->click();
        });
        main_->NewgameBtnClick();
        QVERIFY(driver.allDone());
        QVERIFY(driver.unexpected().isEmpty());
        QVERIFY(!session_->unsavedProgress());
        QVERIFY(game.gameName.empty());
        QCOMPARE(game.progressTable[1], uint8_t{0});
        QVERIFY(QFile::exists(sandbox_->programDir.filePath(QStringLiteral("games/evening.zql"))));

        driver.expect("LoadGameDlg", [](QWidget* modal) {
            auto* dialog = static_cast<TLoadGameDlg*>(modal);
            QCOMPARE(dialog->nameList()->count(), 1);
            dialog->NameListBoxClick(0);
        });
        main_->LoadBtnClick();
        QVERIFY(driver.allDone());
        QCOMPARE(QString::fromStdString(game.gameName), QStringLiteral("evening"));
        QCOMPARE(game.progressTable[1], uint8_t{8});
        QCOMPARE(game.progressTable[7], uint8_t{12});
        QVERIFY(main_->windowTitle().endsWith(QStringLiteral(" - Game: evening")));
    }

    // Declining to overwrite a saved game leads back to the name on each of
    // the three ways the offer comes: the old file stays, the declined name
    // is not taken, and the player saves under another one or cancels.
    void declinedOverwriteAsksForAnotherNameOnEveryPath()
    {
        enum Path { Close, NewGame, Load };
        for (const Path path : {Close, NewGame, Load}) {
            for (const bool otherName : {true, false}) {
                const QString where = QStringLiteral("path %1, %2").arg(path).arg(otherName ? "other name" : "cancel");
                GameData& game = session_->game();
                QDir(sandbox_->programDir.path()).mkpath(QStringLiteral("games"));
                QFile old(sandbox_->programDir.filePath(QStringLiteral("games/evening.zql")));
                QVERIFY(old.open(QIODevice::WriteOnly));
                old.write(QByteArray(950, '\x09'));
                old.close();
                QFile::remove(sandbox_->programDir.filePath(QStringLiteral("games/week.zql")));
                game.gameName.clear();
                game.progressTable[3] = 8;
                session_->setUnsavedProgress(true);

                ModalDriver driver;
                const auto yes = [](QWidget* modal) { static_cast<TYesNoDlg*>(modal)->yesButton()->click(); };
                if (path != Load)
                    driver.expect("YesNoDlg", yes);  // "Do you really want to go?" or "... give up the game?"
                driver.expect("SaveGameDlg", [](QWidget* modal) {
                    auto* dialog = static_cast<TSaveGameDlg*>(modal);
                    dialog->nameEdit()->setText(QStringLiteral("evening"));
                    dialog->okButton()->click();
                });
                driver.expect("YesNoDlg", [](QWidget* modal) { static_cast<TYesNoDlg*>(modal)->noButton()->click(); });
                driver.expect("SaveGameDlg", [otherName](QWidget* modal) {
                    auto* dialog = static_cast<TSaveGameDlg*>(modal);
                    QCOMPARE(dialog->nameEdit()->selectedText(), QStringLiteral("evening"));
                    if (otherName) {
                        dialog->nameEdit()->setText(QStringLiteral("week"));
                        dialog->okButton()->click();
                    } else {
                        dialog->cancelButton()->click();
                    }
                });
                if (path == Load)
                    driver.expect("LoadGameDlg",
                                  [](QWidget* modal) { static_cast<TLoadGameDlg*>(modal)->cancelButton()->click(); });
                switch (path) {
                case Close:
                    main_->show();
                    QTRY_VERIFY(!main_->firstActivation());
                    main_->close();
                    break;
                case NewGame:
                    main_->NewgameBtnClick();
                    break;
                case Load:
                    main_->LoadBtnClick();
                    break;
                }
                QVERIFY2(driver.allDone(), qPrintable(where));
                QVERIFY2(driver.unexpected().isEmpty(), qPrintable(where));
                QCOMPARE(old.open(QIODevice::ReadOnly) ? old.readAll() : QByteArray(), QByteArray(950, '\x09'));
                old.close();
                QCOMPARE(QFile::exists(sandbox_->programDir.filePath(QStringLiteral("games/week.zql"))), otherName);
                QVERIFY(!session_->unsavedProgress());
                // A new game forgets every name; otherwise the game is known
                // by the name saved, never by the declined one.
                const QString kept = otherName && path != NewGame ? QStringLiteral("week") : QString();
                QCOMPARE(QString::fromStdString(game.gameName), kept);
                if (path == Close)
                    QCOMPARE(sandbox_->setting(QStringLiteral("game")), kept);
            }
        }
    }

    void selectionChangesTheQuellon()
    {
        session_->game().currentQuellon = 9;
        ModalDriver driver;
        driver.expect("SelectDlg", [](QWidget* modal) {
            auto* dialog = static_cast<TSelectDlg*>(modal);
            QCOMPARE(dialog->firstShown(), 9);
            dialog->boxMouseDown(QPoint(150, 100));  // second column, second row
        });
        main_->SelectBtnClick();
        QVERIFY(driver.allDone());
        QCOMPARE(session_->game().currentQuellon, 9 + 1 + 4);
        QCOMPARE(main_->windows().patternWindow().windowTitle(), QStringLiteral("Quellon 14"));
    }

    void firstActivationAsksTheLanguageAndShowsThePattern()
    {
        session_->settings().language = -1;
        session_->settings().patmode = 3;
        ModalDriver driver;
        driver.expect("TongueDlg", [](QWidget* modal) { static_cast<TTongueDlg*>(modal)->GermanBtn->click(); });
        main_->show();
        QTRY_VERIFY(!main_->firstActivation());
        QVERIFY(driver.allDone());
        QCOMPARE(session_->settings().language, 1);
        QVERIFY(main_->windows().patternWindow().isVisible());
        QCOMPARE(main_->windows().patternWindow().size(), QSize(361, 240));
        main_->hide();
    }

    void patternWindowKeepsItsPlace()
    {
        QCOMPARE(main_->windows().patternWindow().storedPosition(), QPoint(500, 50));
        main_->windows().patternWindow().placeAt(QPoint(321, 99));
        main_.reset();
        const SettingsStore store;
        QCOMPARE(store.readInteger(SettingsStore::kSection, QStringLiteral("pleft"), 0), 321);
        QCOMPARE(store.readInteger(SettingsStore::kSection, QStringLiteral("ptop"), 0), 99);
        makeMainWindow();
        QCOMPARE(main_->windows().patternWindow().storedPosition(), QPoint(321, 99));
    }

    // Start-up makes no dialog. The first use makes one, which every later use
    // finds again as it was left, and a close with nothing to save makes none.
    void dialogsAreMadeOnFirstUseAndKept()
    {
        QVERIFY(!main_->windows().anyDialogMade());
        QVERIFY(main_->findChildren<FramelessDialog*>().isEmpty());

        QList<QWidget*> shown;
        ModalDriver driver;
        const auto closeStatistics = [&shown](QWidget* modal) {
            shown.append(modal);
            static_cast<TStatDlg*>(modal)->okButton()->click();
        };
        driver.expect("StatDlg", closeStatistics);
        driver.expect("StatDlg", closeStatistics);
        main_->StatBtnClick();
        main_->StatBtnClick();
        QVERIFY(driver.allDone());
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0], shown[1]);
        QCOMPARE(shown[0], static_cast<QWidget*>(&main_->windows().statDialog()));
        QVERIFY(!shown[0]->isVisible());
        QCOMPARE(main_->findChildren<FramelessDialog*>().size(), 1);

        // Without music the options dialog has nothing to switch.
        QVERIFY(!main_->windows().optionDialog().MusicBtn->isEnabled());

        session_->setUnsavedProgress(false);
        main_->windows().offerSave();
        QVERIFY(main_->findChild<TSaveGameDlg*>() == nullptr);
    }

private:
    QTemporaryDir mediaDir_;
    std::unique_ptr<MusicPlayer> music_;
    std::unique_ptr<GameSession> session_;
    testing::SilentSound sound_;
    std::unique_ptr<MediaService> media_;
    std::unique_ptr<testing::Sandbox> sandbox_;
    std::unique_ptr<TYesNoDlg> messages_;
    std::unique_ptr<TMainform> main_;
};

QTEST_MAIN(GameWindowsTest)
#include "game_windows_test.moc"
