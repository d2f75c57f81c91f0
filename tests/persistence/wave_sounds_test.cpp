// Sound effects: the embedded waves load as plain PCM with silence after
// them, a new sound cuts off the one before, sound off neither plays nor
// stops anything, and nothing is tried without an audio output. Whether the
// sounds really reach a sound server is checked by audio_e2e.
#include "media/wave_sounds.h"

#include <QAudioDevice>
#include <QFile>
#include <QtTest>

using namespace quellon;

class WaveSoundsTest : public QObject {
    Q_OBJECT

private slots:
    void everyWaveIsEmbeddedAndLoads();
    void solvedIsLongestAndStepsAreShortest();
    void newSoundCutsOffThePrevious();
    void soundOffPlaysNothingAndDoesNotStopAPlayingSound();
    void nothingIsAttemptedWithoutAnOutput();
    void numbersOutsideTheTableOnlyStop();
};

// With an output forced present a stream is tried for real; on a machine
// without a sound server it closes at once, so these tests follow the
// sound last started, not the stream.
static std::function<bool()> outputPresent()
{
    return [] { return true; };
}

void WaveSoundsTest::everyWaveIsEmbeddedAndLoads()
{
    bool soundOn = true;
    WaveSounds sounds(soundOn, outputPresent());
    sounds.playSound(kSoundPickUp);
    for (int n = 1; n <= WaveSounds::kSoundCount; ++n) {
        QVERIFY2(QFile::exists(WaveSounds::resourceFor(n)), qPrintable(WaveSounds::resourceFor(n)));
        const QAudioFormat format = sounds.format(n);
        QCOMPARE(format.sampleRate(), 22050);
        QCOMPARE(format.channelCount(), 1);
        QCOMPARE(format.sampleFormat(), QAudioFormat::Int16);
        // The file's samples between the silences that let a server start
        // the stream: all zero before and after, the sound itself not.
        const QByteArray samples = sounds.samples(n);
        const qsizetype lead = format.bytesForDuration(WaveSounds::kLeadMilliseconds * 1000);
        const qsizetype tail = format.bytesForDuration(WaveSounds::kTailMilliseconds * 1000);
        const QByteArray sound = samples.mid(lead, samples.size() - lead - tail);
        QVERIFY(sound.size() > 100);
        QVERIFY(sound.size() < QFile(WaveSounds::resourceFor(n)).size());
        QCOMPARE(samples.left(lead).count('\0'), lead);
        QCOMPARE(samples.right(tail).count('\0'), tail);
        QVERIFY(sound.count('\0') < sound.size() / 2);
    }
    QVERIFY(WaveSounds::resourceFor(0).isEmpty());
    QVERIFY(WaveSounds::resourceFor(7).isEmpty());
    QVERIFY(sounds.samples(7).isEmpty());
}

void WaveSoundsTest::solvedIsLongestAndStepsAreShortest()
{
    QList<qint64> sizes;
    for (int n = 1; n <= WaveSounds::kSoundCount; ++n)
        sizes.append(QFile(WaveSounds::resourceFor(n)).size());
    for (int n = 1; n <= WaveSounds::kSoundCount; ++n) {
        if (n != kSoundSolved)
            QVERIFY(sizes[kSoundSolved - 1] > 5 * sizes[n - 1]);
        // Step sounds repeat at every cell of a drag and must stay short.
        if (n != kSoundTurnStep && n != kSoundMoveStep) {
            QVERIFY(sizes[kSoundTurnStep - 1] < sizes[n - 1]);
            QVERIFY(sizes[kSoundMoveStep - 1] < sizes[n - 1]);
        }
    }
    QVERIFY(sizes[kSoundMoveStep - 1] < 4000);  // well under a tenth of a second
}

void WaveSoundsTest::newSoundCutsOffThePrevious()
{
    bool soundOn = true;
    WaveSounds sounds(soundOn, outputPresent());
    sounds.playSound(kSoundPickUp);
    QCOMPARE(sounds.currentSound(), int(kSoundPickUp));
    // A drag over three cells: each step cuts off the one before.
    for (int step = 0; step < 3; ++step) {
        sounds.playSound(kSoundMoveStep);
        QCOMPARE(sounds.currentSound(), int(kSoundMoveStep));
    }
    sounds.playSound(kSoundSolved);
    QCOMPARE(sounds.currentSound(), int(kSoundSolved));
}

void WaveSoundsTest::soundOffPlaysNothingAndDoesNotStopAPlayingSound()
{
    bool soundOn = true;
    WaveSounds sounds(soundOn, outputPresent());
    sounds.playSound(kSoundSolved);
    const bool open = sounds.streamOpen();

    soundOn = false;
    for (int n = 1; n <= WaveSounds::kSoundCount; ++n)
        sounds.playSound(n);
    QCOMPARE(sounds.currentSound(), int(kSoundSolved));
    QCOMPARE(sounds.streamOpen(), open);

    soundOn = true;
    sounds.playSound(kSoundRefused);
    QCOMPARE(sounds.currentSound(), int(kSoundRefused));
}

void WaveSoundsTest::nothingIsAttemptedWithoutAnOutput()
{
    bool soundOn = true;
    WaveSounds sounds(soundOn, [] { return false; });
    for (int n = 1; n <= WaveSounds::kSoundCount; ++n) {
        sounds.playSound(n);
        QVERIFY(sounds.samples(n).isEmpty());
        QCOMPARE(sounds.currentSound(), 0);
        QVERIFY(!sounds.streamOpen());
    }

    // The platform's own answer: on a machine without any device (as on CI)
    // the default check tries no stream, so no complaint about the missing
    // device reaches the terminal.
    if (!QMediaDevices::audioOutputs().isEmpty())
        return;
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    WaveSounds platform(soundOn);
    for (int n = 1; n <= WaveSounds::kSoundCount; ++n) {
        platform.playSound(n);
        QCOMPARE(platform.currentSound(), 0);
        QVERIFY(!platform.streamOpen());
    }
}

void WaveSoundsTest::numbersOutsideTheTableOnlyStop()
{
    bool soundOn = true;
    WaveSounds sounds(soundOn, outputPresent());
    sounds.playSound(kSoundPutDown);
    QCOMPARE(sounds.currentSound(), int(kSoundPutDown));
    sounds.playSound(7);
    QCOMPARE(sounds.currentSound(), 0);
    QVERIFY(!sounds.streamOpen());
    sounds.playSound(0);
    sounds.playSound(-1);
    QCOMPARE(sounds.currentSound(), 0);
}

QTEST_MAIN(WaveSoundsTest)
#include "wave_sounds_test.moc"
