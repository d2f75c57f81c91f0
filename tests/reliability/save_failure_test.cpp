// A save that fails part way, through the real save offer: the player sees the
// save-failure notice, the game stays unsaved and the old file is untouched.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <cstdint>

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include "ui/dialog_look.h"
#include "engine/catalogue.h"
#include "session/game_session.h"
#include "ui/message_seam.h"
#include "dialogs/save_game_dialog.h"
#include "dialogs/save_offer.h"
#include "tests/support/gui_support.h"

using namespace quellon;

namespace {

// Says Yes to the overwrite question and writes down every text.
class AnsweringMessages : public Messages {
public:
    int showCode(MessageCode) override { return static_cast<int>(DialogResult::Yes); }
    int showText(MessageCode code, const QString& text) override
    {
        texts << text;
        return static_cast<int>(code == MessageCode::Question ? DialogResult::Yes : DialogResult::Ok);
    }
    void showFatal(const QString& text) override { texts << text; }
    QStringList texts;
};

// Types `name` into the save dialog as soon as it is up, and accepts it.
void answerSaveDialog(const QString& name)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, name] {
        auto* dialog = qobject_cast<TSaveGameDlg*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        dialog->nameEdit()->setText(name);
        dialog->okButton()->click();
        timer->stop();
        timer->deleteLater();
    });
    timer->start();
}

// Lowers the file size limit of this process for the lifetime of the object:
// a write past it fails with EFBIG, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit small = previous_;
        small.rlim_cur = bytes;
        ok_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    bool ok() const { return ok_; }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
    bool ok_ = false;
};

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class SaveFailureTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        sandbox_ = std::make_unique<testing::Sandbox>();
        session_ = std::make_unique<GameSession>();
        QVERIFY(QDir(sandbox_->programDir.path()).mkpath(QStringLiteral("games")));
        GameData& game = session_->game();
        game.quellonCount = 950;
        game.programDir = sandbox_->programDir.path().toStdString() + "/";
        for (size_t k = 1; k <= kMaxQuellons; ++k)
            game.progressTable[k] = static_cast<uint8_t>(k % 13);
        session_->settings().language = 0;
    }

    void writeFailingPartWayKeepsTheOldGame()
    {
        // The old game on disk, different from the progress in memory.
        GameData old = session_->game();
        old.progressTable.fill(12);
        QVERIFY(writeSavedGame(old, "evening"));
        const QString path = sandbox_->programDir.filePath(QStringLiteral("games/evening.zql"));
        const QByteArray before = fileBytes(path);
        QCOMPARE(before.size(), 950);

        TSaveGameDlg dialog(session_->game(), session_->settings());
        AnsweringMessages messages;
        bool unsaved = true;
        int titleUpdates = 0;
        answerSaveDialog(QStringLiteral("evening"));
        SaveOfferOutcome outcome;
        {
            FileSizeLimit limit(100);
            QVERIFY(limit.ok());
            outcome = offerSave(session_->game(), 0, unsaved, dialog, messages, [&] { ++titleUpdates; });
        }
        QCOMPARE(outcome, SaveOfferOutcome::Failed);
        QCOMPARE(messages.texts, QStringList({QStringLiteral("Game evening already exists. Overwrite?"),
                                              QStringLiteral("An errorSave occured while saving game \"evening\". "
                                                             "Drive full or not writable.")}));
        QVERIFY(unsaved);
        QCOMPARE(titleUpdates, 0);
        QCOMPARE(fileBytes(path), before);
        // Nothing half-written stays behind, not even hidden.
        QCOMPARE(QDir(sandbox_->programDir.filePath(QStringLiteral("games"))).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("evening.zql")});

        // With room again the same offer saves.
        answerSaveDialog(QStringLiteral("evening"));
        QCOMPARE(offerSave(session_->game(), 0, unsaved, dialog, messages, [&] { ++titleUpdates; }),
                 SaveOfferOutcome::Saved);
        QVERIFY(!unsaved);
        QCOMPARE(fileBytes(path).size(), 950);
        QCOMPARE(static_cast<uint8_t>(fileBytes(path)[0]), uint8_t{1});
    }

    void nameTheFileSystemRefusesGivesTheNotice()
    {
        // Longer than any file name may be.
        const QString name(300, QLatin1Char('x'));
        TSaveGameDlg dialog(session_->game(), session_->settings());
        AnsweringMessages messages;
        bool unsaved = true;
        answerSaveDialog(name);
        QCOMPARE(offerSave(session_->game(), 1, unsaved, dialog, messages, {}), SaveOfferOutcome::Failed);
        QCOMPARE(messages.texts.size(), 1);
        QVERIFY(messages.texts.first().startsWith(QStringLiteral("Fehler beim speichern von Spiel \"xxx")));
        QVERIFY(unsaved);
        QVERIFY(QDir(sandbox_->programDir.filePath(QStringLiteral("games")))
                    .entryList(QDir::Files | QDir::Hidden)
                    .isEmpty());
    }

    void readOnlyGamesDirectoryGivesTheNotice()
    {
        // Root writes through any mode bits: for root the games directory
        // becomes a read-only file system of its own, mounted in a private
        // mount namespace of this thread so that nothing else sees it.
        const QString games = sandbox_->programDir.filePath(QStringLiteral("games"));
        const QByteArray gamesPath = games.toLocal8Bit();
        bool mounted = false;
        if (geteuid() == 0) {
            if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                mount("tmpfs", gamesPath.constData(), "tmpfs", MS_RDONLY, "size=64k") != 0)
                QSKIP("no private mounts here");
            mounted = true;
        } else {
            QVERIFY(QFile::setPermissions(games, QFile::ReadOwner | QFile::ExeOwner));
        }
        TSaveGameDlg dialog(session_->game(), session_->settings());
        AnsweringMessages messages;
        bool unsaved = true;
        answerSaveDialog(QStringLiteral("week"));
        const SaveOfferOutcome outcome = offerSave(session_->game(), 0, unsaved, dialog, messages, {});
        if (mounted)
            umount(gamesPath.constData());
        else
            QFile::setPermissions(games, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(outcome, SaveOfferOutcome::Failed);
        QCOMPARE(messages.texts, QStringList{QStringLiteral(
                                     "An errorSave occured while saving game \"week\". Drive full or not writable.")});
        QVERIFY(unsaved);
        QVERIFY(!QFile::exists(sandbox_->programDir.filePath(QStringLiteral("games/week.zql"))));
    }

private:
    std::unique_ptr<testing::Sandbox> sandbox_;
    std::unique_ptr<GameSession> session_;
};

QTEST_MAIN(SaveFailureTest)
#include "save_failure_test.moc"
