// Sound effects: the embedded waves load as they are played, the channel
// plays a sound whole unless the next one cuts it, and what reaches a real
// SDL output (its disk driver, which writes the samples to a file at the
// pace of a device) is exactly that: every sound whole, a cut only at the
// next sound, and nothing stopped by switching sound off. The output opens
// with the switch on, not before. Without an output the game stays silent
// and asks again at most once a second.
// Whether the sounds reach a sound server is checked by audio_e2e.
#include "media/effect_channel.h"
#include "media/wave_sounds.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <thread>

using namespace quellon;

namespace {

QByteArray bytes(const std::vector<uint8_t>& samples)
{
    return QByteArray(reinterpret_cast<const char*>(samples.data()), static_cast<qsizetype>(samples.size()));
}

// The data chunk of a plain WAV file.
QByteArray waveData(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray all = file.readAll();
    const qsizetype at = all.indexOf("data");
    return at < 0 ? QByteArray() : all.mid(at + 8, qFromLittleEndian<quint32>(all.constData() + at + 4));
}

}  // namespace

class WaveSoundsTest : public QObject {
    Q_OBJECT

private slots:
    void everyWaveLoadsAsItIsPlayed();
    void theChannelPlaysASoundWholeUnlessTheNextCutsIt();
    void theOutputCarriesEachSoundWholeUntilTheNextAndOpensWithTheSwitch();
    void withoutAnOutputItStaysSilentAndAsksAgainOnceASecond();
};

void WaveSoundsTest::everyWaveLoadsAsItIsPlayed()
{
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    WaveSounds sounds(false);
    QList<qsizetype> sizes;
    for (int n = 1; n <= WaveSounds::kSoundCount; ++n) {
        QVERIFY2(QFile::exists(WaveSounds::resourceFor(n)), qPrintable(WaveSounds::resourceFor(n)));
        // The files are already in the output's format: played byte for byte.
        const QByteArray file = waveData(WaveSounds::resourceFor(n));
        QVERIFY(file.size() > 100);
        QCOMPARE(bytes(sounds.samples(n)), file);
        sizes.append(file.size());
    }
    for (int n = 1; n <= WaveSounds::kSoundCount; ++n) {
        if (n != kSoundSolved)
            QVERIFY(sizes[kSoundSolved - 1] > 5 * sizes[n - 1]);
        // Step sounds repeat at every cell of a drag and must stay short.
        if (n != kSoundTurnStep && n != kSoundMoveStep) {
            QVERIFY(sizes[kSoundTurnStep - 1] < sizes[n - 1]);
            QVERIFY(sizes[kSoundMoveStep - 1] < sizes[n - 1]);
        }
    }
    QVERIFY(sizes[kSoundMoveStep - 1] < 2 * WaveSounds::kRate / 10);  // well under a tenth of a second
    QVERIFY(WaveSounds::resourceFor(0).isEmpty());
    QVERIFY(WaveSounds::resourceFor(7).isEmpty());
    QVERIFY(sounds.samples(7).empty());
}

// What the output pulls, in pulls of any size: the sound from its first
// byte, silence after its last, and from a new start the new sound.
void WaveSoundsTest::theChannelPlaysASoundWholeUnlessTheNextCutsIt()
{
    const std::vector<uint8_t> a{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, b{20, 21, 22, 23};
    struct Step {
        int start;    // -1: no start before this pull
        size_t pull;  // bytes pulled
        std::vector<uint8_t> heard;
        int current;  // after the pull
    };
    const std::vector<Step> steps = {
        {-1, 3, {0, 0, 0}, 0},                        // nothing started: silence
        {1, 4, {1, 2, 3, 4}, 1},                      // a from its start
        {-1, 3, {5, 6, 7}, 1},                        // on where the last pull ended
        {2, 6, {20, 21, 22, 23, 0, 0}, 0},            // b cuts a, then silence
        {1, 10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 0},  // played out exactly
        {1, 2, {1, 2}, 1},
        {0, 2, {0, 0}, 0},  // 0 stops
        {3, 2, {0, 0}, 0},  // so does a number without a sound
    };
    EffectChannel channel({a, b, {}});
    for (const Step& step : steps) {
        if (step.start >= 0)
            channel.start(step.start);
        std::vector<uint8_t> out(step.pull, 99);
        channel.fill(out);
        QCOMPARE(out, step.heard);
        QCOMPARE(channel.current(), step.current);
    }
}

void WaveSoundsTest::theOutputCarriesEachSoundWholeUntilTheNextAndOpensWithTheSwitch()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("output.raw"));
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(file));
    {
        WaveSounds sounds(false);
        QVERIFY(!sounds.outputOpen());
        QCOMPARE(sounds.openAttempts(), 0);
        sounds.setSoundsEnabled(true);
        QVERIFY(sounds.outputOpen());
        QCOMPARE(sounds.openAttempts(), 1);
        auto playedOut = [&sounds] {
            for (int waited = 0; sounds.currentSound() != 0 && waited < 10000; waited += 10)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            return sounds.currentSound() == 0;
        };
        sounds.playSound(kSoundPickUp);
        QCOMPARE(sounds.currentSound(), int(kSoundPickUp));
        QVERIFY(playedOut());
        sounds.playSound(kSoundSolved);
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        sounds.playSound(kSoundRefused);  // cuts the bells
        QVERIFY(playedOut());
        sounds.playSound(kSoundSolved);
        sounds.setSoundsEnabled(false);  // does not stop the bells
        QCOMPARE(sounds.currentSound(), int(kSoundSolved));
        QVERIFY(playedOut());
        QCOMPARE(sounds.openAttempts(), 1);
    }
    qunsetenv("SDL_DISKAUDIOFILE");
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray heard = written.readAll();
    const QByteArray pickUp = waveData(WaveSounds::resourceFor(kSoundPickUp));
    const QByteArray solved = waveData(WaveSounds::resourceFor(kSoundSolved));
    const QByteArray refused = waveData(WaveSounds::resourceFor(kSoundRefused));
    const qsizetype pickUpAt = heard.indexOf(pickUp);
    QVERIFY2(pickUpAt >= 0, "the pick-up sound did not reach the output whole");
    // The bells from their start right up to the refusal: cut there and only there.
    const qsizetype firstSound =
        std::find_if(solved.begin(), solved.end(), [](char c) { return c != 0; }) - solved.begin();
    const qsizetype cutBellsAt = heard.indexOf(solved.mid(firstSound, 64), pickUpAt + pickUp.size()) - firstSound;
    const qsizetype refusedAt = heard.indexOf(refused, cutBellsAt);
    QVERIFY(cutBellsAt > 0 && refusedAt > cutBellsAt);
    QVERIFY(refusedAt - cutBellsAt < solved.size());
    QCOMPARE(heard.mid(cutBellsAt, refusedAt - cutBellsAt), solved.left(refusedAt - cutBellsAt));
    // The bells again, whole, with sound switched off while they rang.
    QVERIFY2(heard.indexOf(solved, refusedAt) > refusedAt, "switching sound off stopped the bells");
}

void WaveSoundsTest::withoutAnOutputItStaysSilentAndAsksAgainOnceASecond()
{
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    WaveSounds sounds(true);
    QVERIFY(!sounds.outputOpen());
    QCOMPARE(sounds.openAttempts(), 1);
    // A drag: a sound at every cell, none played, no new try.
    for (int step = 0; step < 20; ++step) {
        sounds.playSound(kSoundMoveStep);
        QCOMPARE(sounds.currentSound(), 0);
    }
    QCOMPARE(sounds.openAttempts(), 1);
    std::this_thread::sleep_for(WaveSounds::kRetryInterval);
    sounds.playSound(kSoundPickUp);
    QCOMPARE(sounds.openAttempts(), 2);
    QVERIFY(!sounds.outputOpen());
}

QTEST_MAIN(WaveSoundsTest)
#include "wave_sounds_test.moc"
