// The music button of the options dialog driving the real music player, as
// the game joins them (the main window's media service and its windows):
// six presses walk a, b, c as off, on b, off, on c, off, on a; music off in
// the settings switches on to the second file; without any music file the
// button is disabled and the label says so; the shipped pieces are named
// in full.
#include "dialogs/option_dialog.h"
#include "media/media_service.h"
#include "media/music_player.h"
#include "play/game_windows.h"
#include "play/main_form.h"
#include "tests/support/gui_support.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

using namespace quellon;

namespace {

// Three eighth notes on the piano: a valid Standard MIDI File.
const QByteArray kTinyMidi("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xE0"
                           "MTrk\x00\x00\x00\x19"
                           "\x00\xC0\x00"
                           "\x00\x90\x3C\x50\x81\x70\x80\x3C\x00"
                           "\x00\x90\x40\x50\x81\x70\x80\x40\x00"
                           "\x00\xFF\x2F\x00",
                           14 + 8 + 3 + 18 + 4);

MusicOutput silentOutput()
{
    MusicOutput output;
    output.drivers = {QStringLiteral("file")};
    output.fileName = QStringLiteral("/dev/null");
    return output;
}

// The game on a music folder: the main window started with the "tongue" and
// "music" settings given, the music started as at start-up.
struct GameOnMusic {
    testing::Sandbox sandbox;
    GameSession session;
    MusicPlayer music;
    MediaService media;
    testing::SilentSound sound;
    testing::EventLog log;
    testing::AnsweringMessages messages{log};
    std::unique_ptr<TMainform> form;

    GameOnMusic(const QString& musicDir, int language, bool musicOn)
        : music(musicDir, silentOutput()),
          media(music, session.settings(), musicDir, QStringLiteral("Quellon"))
    {
        testing::writeCatalogue(sandbox.programDir.path(), 2);
        sandbox.setSetting(QStringLiteral("tongue"), QString::number(language));
        sandbox.setSetting(QStringLiteral("music"), musicOn ? QStringLiteral("1") : QStringLiteral("0"));
        form = std::make_unique<TMainform>(session, sound, media, &messages, sandbox.dir());
        if (!form->FormCreate())
            qFatal("the test's catalogue was refused");
    }
    SettingsValues& settings() { return session.settings(); }
    TOptionDlg& dialog() { return form->windows().optionDialog(); }
};

QString musicLabel(const TOptionDlg& dialog) { return dialog.label(QStringLiteral("MusicLabel"))->text(); }

}  // namespace

class MusicOptionsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void sixPressesWalkThroughTheFiles();
    void musicOffInTheSettingsStartsWithTheSecondFile();
    void noMusicFileDisablesTheButton();
    void theShippedPiecesAreNamedInFullAndFit();

private:
    QTemporaryDir dir_;
};

void MusicOptionsTest::initTestCase()
{
    QVERIFY(dir_.isValid());
    for (const char* name : {"b.mid", "c.mid", "a.mid"}) {
        QFile file(dir_.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kTinyMidi);
    }
}

void MusicOptionsTest::sixPressesWalkThroughTheFiles()
{
    GameOnMusic game(dir_.path(), 0, true);
    SettingsValues& settings = game.settings();
    MusicPlayer& music = game.music;
    TOptionDlg& dialog = game.dialog();
    dialog.show();
    QVERIFY(dialog.MusicBtn->isEnabled());
    QCOMPARE(musicLabel(dialog), QStringLiteral("Music: a.mid"));
    QVERIFY(music.deviceOpen());

    const QStringList expected = {QStringLiteral("Music is off."), QStringLiteral("Music: b.mid"),
                                  QStringLiteral("Music is off."), QStringLiteral("Music: c.mid"),
                                  QStringLiteral("Music is off."), QStringLiteral("Music: a.mid")};
    for (const QString& text : expected) {
        dialog.MusicBtn->click();
        QCOMPARE(musicLabel(dialog), text);
        QCOMPARE(settings.musicOn, text != QStringLiteral("Music is off."));
        QCOMPARE(music.deviceOpen(), settings.musicOn);
    }
}

void MusicOptionsTest::musicOffInTheSettingsStartsWithTheSecondFile()
{
    GameOnMusic game(dir_.path(), 1, false);
    MusicPlayer& music = game.music;
    QVERIFY(!music.deviceOpen());
    TOptionDlg& dialog = game.dialog();
    dialog.show();
    QCOMPARE(musicLabel(dialog), QStringLiteral("Musik ist aus."));
    dialog.MusicBtn->click();
    QCOMPARE(musicLabel(dialog), QStringLiteral("Musik: b.mid"));
    QVERIFY(music.deviceOpen());
}

void MusicOptionsTest::noMusicFileDisablesTheButton()
{
    QTemporaryDir empty;
    GameOnMusic game(empty.path(), 1, true);
    SettingsValues& settings = game.settings();
    TOptionDlg& dialog = game.dialog();
    dialog.show();
    QVERIFY(!dialog.MusicBtn->isEnabled());
    QCOMPARE(musicLabel(dialog), QStringLiteral("Keine Musikdateien vorhanden."));
    settings.language = 0;
    dialog.updateOptionTexts();
    QCOMPARE(musicLabel(dialog), QStringLiteral("No music files available."));
    QVERIFY(settings.musicOn);  // the setting is kept as it was
}

// The label is where the player reads a piece's name: the whole file name,
// in play order, and short enough to fit beside the button.
void MusicOptionsTest::theShippedPiecesAreNamedInFullAndFit()
{
    const QStringList pieces =
        QDir(QStringLiteral(QUELLON_MUSIC_DIR)).entryList({QStringLiteral("*.mid")}, QDir::Files, QDir::Name);
    QVERIFY(pieces.size() >= 6);
    GameOnMusic game(QStringLiteral(QUELLON_MUSIC_DIR "/"), 1, true);
    TOptionDlg& dialog = game.dialog();
    dialog.show();
    const QLabel* label = dialog.label(QStringLiteral("MusicLabel"));
    for (const QString& piece : pieces) {
        QCOMPARE(musicLabel(dialog), QStringLiteral("Musik: ") + piece);
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), qPrintable(piece));
        dialog.MusicBtn->click();
        dialog.MusicBtn->click();
    }
    QCOMPARE(musicLabel(dialog), QStringLiteral("Musik: ") + pieces.first());
}

QTEST_MAIN(MusicOptionsTest)
#include "music_options_test.moc"
