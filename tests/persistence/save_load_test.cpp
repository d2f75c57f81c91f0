// Saving and loading: offerSave through every branch with the files on disk
// checked, the load list, and the keys and buttons of both dialogs.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "dialogs/message_dialog.h"
#include "engine/catalogue.h"
#include "tests/support/modal_driver.h"
#include "session/game_session.h"
#include "dialogs/load_game_dialog.h"
#include "dialogs/save_game_dialog.h"
#include "dialogs/save_offer.h"
#include "tests/support/gui_support.h"

using namespace quellon;

namespace {

void typeNameAndAccept(QWidget* modal, const QString& name)
{
    auto* dialog = static_cast<TSaveGameDlg*>(modal);
    dialog->nameEdit()->setText(name);
    dialog->okButton()->click();
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

}  // namespace

class SaveLoadTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {}

    void init()
    {
        sandbox_ = std::make_unique<testing::Sandbox>();
        saveDialog_.reset();
        messages_.reset();
        session_ = std::make_unique<GameSession>();
        QVERIFY(sandbox_->programDir.isValid());
        QVERIFY(QDir(sandbox_->programDir.path()).mkpath(QStringLiteral("games")));
        game().quellonCount = 950;
        game().programDir = sandbox_->programDir.path().toStdString() + "/";
        game().progressTable[1] = 8;
        game().progressTable[950] = 12;
        settings().language = 0;
        unsaved_ = true;
        titleUpdates_ = 0;
        saveDialog_ = std::make_unique<TSaveGameDlg>(game(), settings());
        messages_ = std::make_unique<TYesNoDlg>(settings());
    }

    void nothingUnsavedShowsNothing()
    {
        unsaved_ = false;
        ModalDriver driver;
        QCOMPARE(offer(), SaveOfferOutcome::NothingToSave);
        QVERIFY(driver.unexpected().isEmpty());
        QCOMPARE(titleUpdates_, 0);
    }

    void cancelDropsTheReminderWithoutWriting()
    {
        game().gameName = "evening";
        ModalDriver driver;
        driver.expect("SaveGameDlg", [](QWidget* modal) {
            auto* dialog = static_cast<TSaveGameDlg*>(modal);
            QCOMPARE(dialog->nameEdit()->text(), QStringLiteral("evening"));  // starts with the game name
            dialog->cancelButton()->click();
        });
        QCOMPARE(offer(), SaveOfferOutcome::Declined);
        QVERIFY(driver.allDone());
        QVERIFY(!unsaved_);
        QCOMPARE(titleUpdates_, 1);
        QVERIFY(gamesDir().entryList(QDir::Files | QDir::Hidden).isEmpty());
        // The next offer shows nothing.
        QCOMPARE(offer(), SaveOfferOutcome::NothingToSave);
        QVERIFY(driver.unexpected().isEmpty());
    }

    void emptyNameDropsTheReminderWithoutWriting()
    {
        ModalDriver driver;
        driver.expect("SaveGameDlg", [](QWidget* modal) { typeNameAndAccept(modal, QString()); });
        QCOMPARE(offer(), SaveOfferOutcome::Declined);
        QVERIFY(!unsaved_);
        QVERIFY(gamesDir().entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    void newNameWritesTheProgress()
    {
        ModalDriver driver;
        driver.expect("SaveGameDlg", [](QWidget* modal) { typeNameAndAccept(modal, QStringLiteral("week")); });
        QCOMPARE(offer(), SaveOfferOutcome::Saved);
        QVERIFY(driver.unexpected().isEmpty());
        QVERIFY(!unsaved_);
        QCOMPARE(titleUpdates_, 1);
        QCOMPARE(QString::fromStdString(game().gameName), QStringLiteral("week"));
        const QByteArray bytes = fileBytes(gamePath(QStringLiteral("week")));
        QCOMPARE(bytes.size(), 950);
        QCOMPARE(static_cast<uint8_t>(bytes[0]), uint8_t{8});
        QCOMPARE(static_cast<uint8_t>(bytes[949]), uint8_t{12});
        QCOMPARE(gamesDir().entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("week.zql")});
    }

    // No to "Overwrite?" leads back to the name, selected, and the game keeps
    // its former name until another one is saved: a second name is written,
    // a cancel only drops the reminder. The old file stays as it was.
    void existingNameAnsweredNoAsksForTheNameAgain()
    {
        for (const bool cancelAfterwards : {false, true}) {
            writeOldGame(QStringLiteral("evening"));
            QFile::remove(gamePath(QStringLiteral("week")));
            game().gameName = "old";
            unsaved_ = true;
            titleUpdates_ = 0;
            ModalDriver driver;
            driver.expect("SaveGameDlg", [](QWidget* modal) { typeNameAndAccept(modal, QStringLiteral("evening")); });
            driver.expect("YesNoDlg", [](QWidget* modal) {
                auto* question = static_cast<TYesNoDlg*>(modal);
                QCOMPARE(question->shownText(), QStringLiteral("Game evening already exists. Overwrite?"));
                QVERIFY(question->noButton()->isVisible());
                question->noButton()->click();
            });
            driver.expect("SaveGameDlg", [this, cancelAfterwards](QWidget* modal) {
                auto* dialog = static_cast<TSaveGameDlg*>(modal);
                QCOMPARE(dialog->nameEdit()->text(), QStringLiteral("evening"));
                QCOMPARE(dialog->nameEdit()->selectedText(), QStringLiteral("evening"));
                QVERIFY(dialog->nameEdit()->hasFocus());
                QCOMPARE(QString::fromStdString(game().gameName), QStringLiteral("old"));
                if (cancelAfterwards)
                    dialog->cancelButton()->click();
                else
                    typeNameAndAccept(modal, QStringLiteral("week"));
            });
            QCOMPARE(offer(), cancelAfterwards ? SaveOfferOutcome::Declined : SaveOfferOutcome::Saved);
            QVERIFY(driver.allDone());
            QVERIFY(driver.unexpected().isEmpty());
            QVERIFY(!unsaved_);
            QCOMPARE(titleUpdates_, 1);
            QCOMPARE(QString::fromStdString(game().gameName),
                     cancelAfterwards ? QStringLiteral("old") : QStringLiteral("week"));
            QCOMPARE(fileBytes(gamePath(QStringLiteral("evening"))), QByteArray(950, '\x09'));
            QCOMPARE(QFile::exists(gamePath(QStringLiteral("week"))), !cancelAfterwards);
            // The next showing starts with the game name again.
            saveDialog_->show();
            QCOMPARE(saveDialog_->nameEdit()->text(), QString::fromStdString(game().gameName));
            saveDialog_->hide();
        }
    }

    void existingNameAnsweredYesOverwrites()
    {
        writeOldGame(QStringLiteral("evening"));
        settings().language = 1;
        ModalDriver driver;
        driver.expect("SaveGameDlg", [](QWidget* modal) { typeNameAndAccept(modal, QStringLiteral("evening")); });
        driver.expect("YesNoDlg", [](QWidget* modal) {
            auto* question = static_cast<TYesNoDlg*>(modal);
            QCOMPARE(question->shownText(), QString::fromUtf8("Spiel evening existiert bereits. Überschreiben?"));
            question->yesButton()->click();
        });
        QCOMPARE(offer(), SaveOfferOutcome::Saved);
        QVERIFY(driver.allDone());
        QVERIFY(!unsaved_);
        const QByteArray bytes = fileBytes(gamePath(QStringLiteral("evening")));
        QCOMPARE(bytes.size(), 950);
        QCOMPARE(static_cast<uint8_t>(bytes[0]), uint8_t{8});
        QCOMPARE(static_cast<uint8_t>(bytes[1]), uint8_t{0});
    }

    void writeFailureIsReportedAndStaysUnsaved()
    {
        // The games "directory" is a file: nothing can be created in it.
        const QString blocker = sandbox_->programDir.filePath(QStringLiteral("blocker"));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        game().gamesDir = blocker.toStdString();
        ModalDriver driver;
        driver.expect("SaveGameDlg", [](QWidget* modal) { typeNameAndAccept(modal, QStringLiteral("week")); });
        driver.expect("YesNoDlg", [](QWidget* modal) {
            auto* notice = static_cast<TYesNoDlg*>(modal);
            QCOMPARE(notice->shownText(),
                     QStringLiteral("An errorSave occured while saving game \"week\". Drive full or not writable."));
            QVERIFY(!notice->noButton()->isVisible());
            notice->yesButton()->click();
        });
        QCOMPARE(offer(), SaveOfferOutcome::Failed);
        QVERIFY(driver.allDone());
        QVERIFY(unsaved_);
        QCOMPARE(titleUpdates_, 0);
    }

    void nameLeavingTheGamesDirectoryIsRefused()
    {
        settings().language = 1;
        ModalDriver driver;
        driver.expect("SaveGameDlg", [](QWidget* modal) { typeNameAndAccept(modal, QStringLiteral("../escape")); });
        driver.expect("YesNoDlg", [](QWidget* modal) {
            auto* notice = static_cast<TYesNoDlg*>(modal);
            QCOMPARE(notice->shownText(), QString::fromUtf8("Fehler beim speichern von Spiel \"../escape\". "
                                                            "Datenträger voll oder nicht beschreibbar."));
            notice->yesButton()->click();
        });
        QCOMPARE(offer(), SaveOfferOutcome::Failed);
        QVERIFY(driver.allDone());
        QVERIFY(unsaved_);
        QVERIFY(!QFile::exists(sandbox_->programDir.filePath(QStringLiteral("escape.zql"))));
        QVERIFY(gamesDir().entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    void trailingBlankIsPartOfTheName()
    {
        ModalDriver driver;
        driver.expect("SaveGameDlg", [](QWidget* modal) { typeNameAndAccept(modal, QStringLiteral("late ")); });
        QCOMPARE(offer(), SaveOfferOutcome::Saved);
        QVERIFY(QFile::exists(gamePath(QStringLiteral("late "))));
    }

    void saveDialogClosesOnlyByItsButtons()
    {
        settings().language = 1;
        game().gameName = "evening";
        TSaveGameDlg& dialog = *saveDialog_;
        dialog.show();
        QCOMPARE(dialog.askLabel()->text(), QStringLiteral("Unter welchem Namen soll ich das Spiel speichern?"));
        QCOMPARE(dialog.okButton()->toolTip(), QStringLiteral("Name akzeptieren"));
        QTest::keyClick(dialog.nameEdit(), Qt::Key_Return);
        QTest::keyClick(dialog.nameEdit(), Qt::Key_Escape);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        dialog.okButton()->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), static_cast<int>(DialogResult::Ok));
        QCOMPARE(QString::fromStdString(game().gameName), QStringLiteral("evening"));
    }

    void loadListShowsTheGamesWithoutExtension()
    {
        writeOldGame(QStringLiteral("week"));
        writeOldGame(QStringLiteral("evening"));
        TLoadGameDlg dialog(game(), settings());
        dialog.show();
        QVERIFY(dialog.hasGames());
        QCOMPARE(lines(dialog), (QStringList{QStringLiteral("evening"), QStringLiteral("week")}));
        QCOMPARE(dialog.whatLabel()->text(), QStringLiteral("What game shall be loaded?"));
        QCOMPARE(dialog.cancelButton()->toolTip(), QStringLiteral("Don't load any game"));
        // No line is chosen merely by the dialog opening.
        QVERIFY(dialog.isVisible());
        clickLine(dialog, 1);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), static_cast<int>(DialogResult::Ok));
        QCOMPARE(QString::fromStdString(dialog.chosenGame()), QStringLiteral("week"));
    }

    void loadListIsRefilledAtEveryShowing()
    {
        settings().language = 1;
        game().gameName = "old";
        TLoadGameDlg dialog(game(), settings());
        dialog.show();
        QVERIFY(!dialog.hasGames());
        QCOMPARE(lines(dialog), QStringList{QStringLiteral("Kein Spiel vorhanden")});
        // The placeholder closes with Ok and chooses the name as it is.
        clickLine(dialog, 0);
        QCOMPARE(dialog.result(), static_cast<int>(DialogResult::Ok));
        QCOMPARE(QString::fromStdString(dialog.chosenGame()), QStringLiteral("old"));

        writeOldGame(QStringLiteral("evening"));
        dialog.show();
        QVERIFY(dialog.hasGames());
        QCOMPARE(lines(dialog), QStringList{QStringLiteral("evening")});
        dialog.cancelButton()->click();
        QCOMPARE(dialog.result(), static_cast<int>(DialogResult::Cancel));
        QCOMPARE(QString::fromStdString(game().gameName), QStringLiteral("old"));
    }

    void loadDialogHasNoClosingKey()
    {
        writeOldGame(QStringLiteral("evening"));
        TLoadGameDlg dialog(game(), settings());
        for (QWidget* target : {static_cast<QWidget*>(dialog.nameList()), static_cast<QWidget*>(&dialog)}) {
            dialog.show();
            for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_N})
                QTest::keyClick(target, key);
            QVERIFY(dialog.isVisible());
        }
        dialog.cancelButton()->click();
        QCOMPARE(dialog.result(), static_cast<int>(DialogResult::Cancel));
    }

    void keyboardMoveOntoALineChoosesIt()
    {
        writeOldGame(QStringLiteral("evening"));
        writeOldGame(QStringLiteral("week"));
        TLoadGameDlg dialog(game(), settings());
        dialog.show();
        QTest::keyClick(dialog.nameList(), Qt::Key_Down);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), static_cast<int>(DialogResult::Ok));
        QCOMPARE(QString::fromStdString(dialog.chosenGame()), QStringLiteral("evening"));
    }

private:
    GameData& game() { return session_->game(); }
    SettingsValues& settings() { return session_->settings(); }
    QDir gamesDir() const { return QDir(sandbox_->programDir.filePath(QStringLiteral("games"))); }
    QString gamePath(const QString& name) const { return gamesDir().filePath(name + QStringLiteral(".zql")); }

    void writeOldGame(const QString& name) const
    {
        QFile file(gamePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(950, '\x09'));
    }

    SaveOfferOutcome offer()
    {
        return offerSave(game(), settings().language, unsaved_, *saveDialog_, *messages_, [this] { ++titleUpdates_; });
    }

    static QStringList lines(const TLoadGameDlg& dialog)
    {
        QStringList result;
        for (int row = 0; row < dialog.nameList()->count(); ++row)
            result << dialog.nameList()->item(row)->text();
        return result;
    }

    static void clickLine(TLoadGameDlg& dialog, int row)
    {
        QListWidget* list = dialog.nameList();
        const QRect line = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
    }

    std::unique_ptr<testing::Sandbox> sandbox_;
    std::unique_ptr<GameSession> session_;
    std::unique_ptr<TSaveGameDlg> saveDialog_;
    std::unique_ptr<TYesNoDlg> messages_;
    bool unsaved_ = true;
    int titleUpdates_ = 0;
};

QTEST_MAIN(SaveLoadTest)
#include "save_load_test.moc"
