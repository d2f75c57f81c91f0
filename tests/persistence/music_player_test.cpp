// Background music: the order of the pieces as music is switched off and on,
// music off in the settings, a directory without music, the restart of a
// finished piece by the one-second timer, and silence without an audio
// output. Music that must really play goes to FluidSynth's file driver
// writing into /dev/null, so no audio device is needed.
#include "media/music_player.h"

#include <QAudioDevice>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstdio>
#include <unistd.h>

using namespace quellon;

namespace {

MusicOutput silentOutput()
{
    MusicOutput output;
    output.drivers = {QStringLiteral("file")};
    output.fileName = QStringLiteral("/dev/null");
    return output;
}

// A format-0 MIDI file of `notes` eighth notes on the piano at 120 beats per
// minute (a quarter of a second each), its track ending with the last note.
QByteArray shortMidi(int notes)
{
    QByteArray track;
    track.append("\x00\xC0\x00", 3);
    for (int i = 0; i < notes; ++i) {
        const char pitch = static_cast<char>(60 + 2 * i);
        track.append('\x00');
        track.append('\x90');
        track.append(pitch);
        track.append('\x50');
        track.append("\x81\x70", 2);  // 240 ticks
        track.append('\x80');
        track.append(pitch);
        track.append('\x00');
    }
    track.append("\x00\xFF\x2F\x00", 4);
    QByteArray file("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xE0", 14);
    file.append("MTrk");
    for (int shift : {24, 16, 8, 0})
        file.append(static_cast<char>((track.size() >> shift) & 0xFF));
    file.append(track);
    return file;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

}  // namespace

class MusicPlayerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    // First: once any test has made a synthesiser, FluidSynth stays for good.
    void withoutAnAudioOutputNothingOfFluidSynthStays();
    void togglingWalksThroughTheFilesAndWrapsAround();
    void musicOffInTheSettingsPlaysTheNextFileWhenSwitchedOn();
    void noMusicFileLeavesEverythingOff();
    void filesDeletedMeanwhileLeaveMusicOff();
    void theTimerRestartsAFinishedPieceWithinASecond();
    void withoutAnAudioOutputMusicStaysSilentAndQuiet();
    void theDesktopDriversFailQuietlyWithoutSound();
    void aBrokenFileIsNotPlayed();
    void theGamesOwnMusicLoads();

private:
    QTemporaryDir dir_;
    QString abcDir_;
};

void MusicPlayerTest::initTestCase()
{
    QVERIFY2(!MusicPlayer::systemSoundFont().isEmpty(), "no General MIDI SoundFont (timgm6mb-soundfont)");
    QVERIFY(dir_.isValid());
    abcDir_ = dir_.filePath(QStringLiteral("abc")) + QLatin1Char('/');
    QVERIFY(QDir().mkpath(abcDir_));
    // Written in another order than they sort, to show the order is the name's.
    for (const char* name : {"c.mid", "a.mid", "b.mid"})
        writeFile(abcDir_ + QLatin1String(name), shortMidi(16));
    writeFile(abcDir_ + QStringLiteral("notes.txt"), "not music");
}

// Music on and no output, as on a machine without sound: neither the
// synthesiser nor the library stays in memory, however often it is tried.
// Then a file output plays the next piece as if nothing had happened.
void MusicPlayerTest::withoutAnAudioOutputNothingOfFluidSynthStays()
{
    QVERIFY(!MusicPlayer::synthLibraryInMemory());
    MusicOutput output;
    output.drivers = {QStringLiteral("no-such-driver")};
    MusicPlayer music(abcDir_, output);
    music.start(true);
    QVERIFY(music.musicFound());
    QVERIFY(!music.synthesiserMade());
    QVERIFY(!music.soundFontLoaded());
    QVERIFY(!MusicPlayer::synthLibraryInMemory());
    QVERIFY(!music.toggleMusic());
    QVERIFY(music.toggleMusic());
    QCOMPARE(music.musicName(), QStringLiteral("b.mid"));
    QVERIFY(!music.deviceOpen());
    QVERIFY(!MusicPlayer::synthLibraryInMemory());

    MusicPlayer later(abcDir_, silentOutput());
    later.start(true);
    QVERIFY(later.deviceOpen());
    QVERIFY(later.synthesiserMade());
    later.close();
    QVERIFY(MusicPlayer::synthLibraryInMemory());  // kept once a synthesiser was made
    later.toggleMusic();
    later.toggleMusic();
    QVERIFY(later.deviceOpen());
    QCOMPARE(later.musicName(), QStringLiteral("b.mid"));
}

void MusicPlayerTest::togglingWalksThroughTheFilesAndWrapsAround()
{
    MusicPlayer music(abcDir_, silentOutput());
    music.start(true);
    QVERIFY(music.musicFound());
    QCOMPARE(music.musicName(), QStringLiteral("a.mid"));
    QCOMPARE(music.musicFile(), abcDir_ + QStringLiteral("a.mid"));
    QVERIFY(music.deviceOpen());

    // off, on with b, off, on with c, off, on with a
    const char* expected[] = {"b.mid", "c.mid", "a.mid"};
    for (const char* name : expected) {
        music.toggleMusic();
        QVERIFY(!music.musicOn());
        QVERIFY(!music.deviceOpen());
        music.toggleMusic();
        QVERIFY(music.musicOn());
        QCOMPARE(music.musicName(), QLatin1String(name));
        QCOMPARE(music.musicFile(), abcDir_ + QLatin1String(name));
        QVERIFY(music.deviceOpen());
    }
    QTRY_VERIFY_WITH_TIMEOUT(music.currentTick() > 0, 3000);
    music.close();
    QVERIFY(!music.deviceOpen());
}

void MusicPlayerTest::musicOffInTheSettingsPlaysTheNextFileWhenSwitchedOn()
{
    MusicPlayer music(abcDir_, silentOutput());
    music.start(false);
    QVERIFY(music.musicFound());
    QVERIFY(!music.deviceOpen());
    music.Timer1Timer();
    QVERIFY(!music.deviceOpen());
    music.toggleMusic();
    QVERIFY(music.musicOn());
    QCOMPARE(music.musicName(), QStringLiteral("b.mid"));
    QVERIFY(music.deviceOpen());

    // Where start-up left the player alone because music was off, switching
    // on still plays the second file.
    MusicPlayer later(abcDir_, silentOutput());
    later.toggleMusic();
    QVERIFY(later.musicOn());
    QVERIFY(later.musicFound());
    QCOMPARE(later.musicName(), QStringLiteral("b.mid"));
    QVERIFY(later.deviceOpen());

    // With a single file, switching on plays that one again.
    QTemporaryDir single;
    writeFile(single.filePath(QStringLiteral("only.MID")), shortMidi(4));
    MusicPlayer one(single.path(), silentOutput());
    one.start(false);
    QCOMPARE(one.musicName(), QStringLiteral("only.MID"));
    for (int round = 0; round < 2; ++round) {
        one.toggleMusic();
        QVERIFY(one.musicOn());
        QCOMPARE(one.musicName(), QStringLiteral("only.MID"));
        QVERIFY(one.deviceOpen());
        one.toggleMusic();
        QVERIFY(!one.musicOn());
    }
}

void MusicPlayerTest::noMusicFileLeavesEverythingOff()
{
    QTemporaryDir empty;
    MusicPlayer music(empty.path(), silentOutput());
    music.start(true);
    QVERIFY(!music.musicFound());
    QVERIFY(music.musicName().isEmpty());
    QVERIFY(!music.deviceOpen());
    music.Timer1Timer();
    QVERIFY(!music.deviceOpen());
    QCOMPARE(music.restartCount(), 0);
    // Switching on finds nothing either.
    music.toggleMusic();  // off
    music.toggleMusic();
    QVERIFY(!music.musicOn());
    QVERIFY(!music.deviceOpen());
}

void MusicPlayerTest::filesDeletedMeanwhileLeaveMusicOff()
{
    QTemporaryDir temp;
    const QString dir = temp.path() + QLatin1Char('/');
    writeFile(dir + QStringLiteral("a.mid"), shortMidi(4));
    writeFile(dir + QStringLiteral("b.mid"), shortMidi(4));
    writeFile(dir + QStringLiteral("c.mid"), shortMidi(4));
    MusicPlayer music(dir, silentOutput());
    music.start(true);
    QVERIFY(QFile::remove(dir + QStringLiteral("b.mid")));
    music.toggleMusic();
    music.toggleMusic();
    QCOMPARE(music.musicName(), QStringLiteral("c.mid"));  // b is passed over

    QVERIFY(QFile::remove(dir + QStringLiteral("a.mid")));
    QVERIFY(QFile::remove(dir + QStringLiteral("c.mid")));
    music.toggleMusic();
    music.toggleMusic();
    QVERIFY(!music.musicOn());
    QVERIFY(!music.deviceOpen());
    QVERIFY(music.musicName().isEmpty());
}

// The piece lasts 0.75 s. A one-second timer as in the main window drives
// the restart; the gap from the last tick of the piece to its new start is
// measured. It stays within a second by design; the bound leaves room for a
// busy test machine but still fails a player that waits for FluidSynth's
// "done", which comes about three seconds after the last tick.
void MusicPlayerTest::theTimerRestartsAFinishedPieceWithinASecond()
{
    QTemporaryDir temp;
    writeFile(temp.filePath(QStringLiteral("short.mid")), shortMidi(3));
    MusicPlayer music(temp.path(), silentOutput());
    music.start(true);
    QVERIFY(music.deviceOpen());
    QVERIFY(music.soundFontLoaded());
    const long withSoundFont = residentKilobytes();

    QTimer timer1;
    timer1.setInterval(1000);
    connect(&timer1, &QTimer::timeout, this, [&music] { music.Timer1Timer(); });
    timer1.start();

    QElapsedTimer clock;
    clock.start();
    qint64 endedAt = -1;
    double longestGap = 0;
    int restartsSeen = 0;
    while (restartsSeen < 2 && clock.elapsed() < 10000) {
        QTest::qWait(5);
        if (endedAt < 0 && music.totalTicks() > 0 && music.currentTick() >= music.totalTicks())
            endedAt = clock.elapsed();
        if (music.restartCount() > restartsSeen) {
            restartsSeen = music.restartCount();
            QVERIFY(endedAt >= 0);
            longestGap = std::max(longestGap, (clock.elapsed() - endedAt) / 1000.0);
            endedAt = -1;
        }
    }
    QCOMPARE(restartsSeen, 2);
    QVERIFY2(longestGap <= 1.5, qPrintable(QString::number(longestGap)));
    // After a restart the piece really runs from its beginning again.
    QTRY_VERIFY_WITH_TIMEOUT(music.isPlaying() && music.currentTick() > 0, 2000);
    QVERIFY(music.currentTick() < music.totalTicks());
    qInfo("music restart gap: at most %.2f s; resident memory of this process with the SoundFont loaded: %ld kB",
          longestGap, withSoundFont);
}

void MusicPlayerTest::withoutAnAudioOutputMusicStaysSilentAndQuiet()
{
    // FluidSynth's complaints must reach our handler, not the terminal:
    // stderr is caught in a file while the driver fails to open.
    QTemporaryDir temp;
    const QString errors = temp.filePath(QStringLiteral("stderr.txt"));
    std::fflush(stderr);
    const int savedStderr = dup(STDERR_FILENO);
    FILE* capture = std::fopen(QFile::encodeName(errors).constData(), "w");
    QVERIFY(capture != nullptr);
    dup2(fileno(capture), STDERR_FILENO);

    MusicOutput output;
    output.drivers = {QStringLiteral("no-such-driver")};
    MusicPlayer music(abcDir_, output);
    music.start(true);
    music.Timer1Timer();

    std::fflush(stderr);
    dup2(savedStderr, STDERR_FILENO);
    close(savedStderr);
    std::fclose(capture);

    QVERIFY(music.musicFound());
    QVERIFY(music.musicOn());  // the player's choice is kept for a machine with sound
    QVERIFY(!music.deviceOpen());
    QVERIFY(!music.synthesiserMade());
    QVERIFY(!music.soundFontLoaded());  // no memory spent on silence
    QCOMPARE(music.restartCount(), 0);
    QFile caught(errors);
    QVERIFY(caught.open(QIODevice::ReadOnly));
    QCOMPARE(caught.readAll(), QByteArray());
    QVERIFY(!MusicPlayer::recentLog().isEmpty());
    QVERIFY(MusicPlayer::recentLog().join(QLatin1Char('\n')).contains(QStringLiteral("no-such-driver")));
}

// The drivers a desktop uses (PulseAudio, then ALSA) fail on a machine
// without sound; neither FluidSynth nor the ALSA library may then write to
// the terminal. Skipped where an output exists, so the test makes no noise.
void MusicPlayerTest::theDesktopDriversFailQuietlyWithoutSound()
{
    if (!QMediaDevices::audioOutputs().isEmpty())
        QSKIP("this machine has an audio output");
    QTemporaryDir temp;
    const QString errors = temp.filePath(QStringLiteral("stderr.txt"));
    std::fflush(stderr);
    const int savedStderr = dup(STDERR_FILENO);
    FILE* capture = std::fopen(QFile::encodeName(errors).constData(), "w");
    QVERIFY(capture != nullptr);
    dup2(fileno(capture), STDERR_FILENO);

    MusicPlayer music(abcDir_);
    music.start(true);
    const bool opened = music.deviceOpen();

    std::fflush(stderr);
    dup2(savedStderr, STDERR_FILENO);
    close(savedStderr);
    std::fclose(capture);

    QVERIFY(!opened);
    QFile caught(errors);
    QVERIFY(caught.open(QIODevice::ReadOnly));
    QCOMPARE(caught.readAll(), QByteArray());
}

void MusicPlayerTest::aBrokenFileIsNotPlayed()
{
    QTemporaryDir temp;
    const QString dir = temp.path() + QLatin1Char('/');
    writeFile(dir + QStringLiteral("a.mid"), "MThd but nothing more");
    QByteArray badTrack = shortMidi(3);
    badTrack[26] = '\x7F';  // the first event turns into garbage
    badTrack.truncate(30);
    writeFile(dir + QStringLiteral("b.mid"), badTrack);
    writeFile(dir + QStringLiteral("c.mid"), shortMidi(3));
    MusicPlayer music(dir, silentOutput());
    music.start(true);
    QVERIFY(music.musicFound());
    QVERIFY(!music.deviceOpen());
    music.Timer1Timer();
    QVERIFY(!music.deviceOpen());

    // A file that passes the first look but cannot be played is given up
    // by the timer instead of being retried every second.
    music.toggleMusic();
    music.toggleMusic();
    QCOMPARE(music.musicName(), QStringLiteral("b.mid"));
    QTest::qWait(300);
    music.Timer1Timer();
    QTest::qWait(300);
    music.Timer1Timer();
    QVERIFY(!music.deviceOpen());

    // The next file plays as usual, and music was never switched off.
    QVERIFY(music.musicOn());
    music.toggleMusic();
    music.toggleMusic();
    QCOMPARE(music.musicName(), QStringLiteral("c.mid"));
    QVERIFY(music.deviceOpen());
}

// The pieces shipped with the game load and play, each of three to five minutes.
void MusicPlayerTest::theGamesOwnMusicLoads()
{
    const QStringList pieces =
        QDir(QStringLiteral(QUELLON_MUSIC_DIR)).entryList({QStringLiteral("*.mid")}, QDir::Files, QDir::Name);
    QVERIFY(pieces.size() >= 3);
    MusicPlayer music(QStringLiteral(QUELLON_MUSIC_DIR), silentOutput());
    music.start(true);
    for (const QString& piece : pieces) {
        QCOMPARE(music.musicName(), piece);
        QVERIFY(music.deviceOpen());
        QTRY_VERIFY_WITH_TIMEOUT(music.totalTicks() > 0, 3000);
        // 480 ticks a quarter; the pieces run at 60 to 100 quarters a minute.
        const double quarters = music.totalTicks() / 480.0;
        QVERIFY2(quarters >= 180 && quarters <= 500, qPrintable(piece));
        music.toggleMusic();
        music.toggleMusic();
    }
    QCOMPARE(music.musicName(), pieces.first());
}

QTEST_MAIN(MusicPlayerTest)
#include "music_player_test.moc"
