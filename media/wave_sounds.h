// The game's six sound effects, played from the WAV files embedded as
// ":/sounds/...". Each wave is read into memory once; a new sound cuts off
// the one before instead of queueing, since step sounds can come at every
// cell of a drag.
#pragma once

#include "session/sound.h"

#include <QAudioFormat>
#include <QByteArray>
#include <QMediaDevices>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>

class QAudioSink;
class QIODevice;

namespace quellon {

class WaveSounds : public QObject, public SoundEffects {
    Q_OBJECT
public:
    static constexpr int kSoundCount = 6;
    // Silence played after every sound: a server that waits for a minimum
    // of buffered sound before it starts a stream gets it even for the
    // shortest step, and the sound has played out before its stream closes.
    static constexpr int kTailMilliseconds = 300;
    // Silence before every sound. A server that has mixed ahead of the
    // clock starts a new stream a little into its samples (a hundredth of a
    // second on a sink mixing that far ahead, more on slower ones): without
    // it the attack of a step sound, its loudest part, would be lost.
    static constexpr int kLeadMilliseconds = 20;
    // How long a stream stays open after its samples' duration.
    static constexpr int kCloseMarginMilliseconds = 200;
    static constexpr int kFeedMilliseconds = 20;

    // The game session decides when a sound plays; soundOn, its "sound"
    // setting read at every call, keeps anything else silent too while
    // effects are off.
    // outputCheck answers whether an audio output exists; by default the
    // platform's device list is asked. With no device nothing is started.
    explicit WaveSounds(const bool& soundOn, std::function<bool()> outputCheck = {}, QObject* parent = nullptr);
    ~WaveSounds() override;

    void playSound(int n) override;

    // Resource path of sound n (1..6), empty for any other number.
    static QString resourceFor(int n);
    // The samples of sound n (1..6) as they go to the output, the silence
    // around them included; empty for any other number, for a wave that is
    // not plain PCM, and while no audio output has been seen.
    QByteArray samples(int n) const;
    QAudioFormat format(int n) const;
    // The sound last asked for and not yet cut off by a later call (0: none),
    // whether or not a server took it.
    int currentSound() const { return current_; }
    // An output stream is open for the current sound.
    bool streamOpen() const { return sink_ != nullptr; }

private:
    struct Wave {
        QAudioFormat format;
        QByteArray samples;
    };
    bool outputPresent() const;
    void loadWaves();
    void closeStream();
    void feed();
    static Wave readWave(const QString& resource);

    const bool& soundOn_;
    std::function<bool()> outputPresentCheck_;
    QMediaDevices* devices_ = nullptr;
    bool hasOutput_ = false;
    bool loaded_ = false;
    std::array<Wave, kSoundCount> waves_{};
    QAudioSink* sink_ = nullptr;
    QIODevice* output_ = nullptr;  // the stream's input, owned by sink_
    QByteArray pending_;           // the sound being written
    qsizetype written_ = 0;
    QTimer feedTimer_;
    QTimer closeTimer_;
    int current_ = 0;
};

}  // namespace quellon
