// The game's six sound effects, played from the WAV files embedded as
// ":/sounds/...". Each wave is read into memory once and played on one
// channel of an output that stays open for the rest of the game: a new
// sound cuts off the one before instead of queueing (step sounds can come
// at every cell of a drag), and nothing else ever cuts a sound short.
//
// The output is SDL's: it keeps the device open and pulls the samples on a
// thread of its own, so a sound plays out however long the sound server
// takes to start it and however busy the window is. A stream per sound,
// closed by a timer, lost every sound the server had not played yet when
// the timer ran out (seconds, at an idle or busy server).
#pragma once

#include "media/effect_channel.h"
#include "session/sound.h"

#include <QString>

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

namespace quellon {

class WaveSounds : public SoundEffects {
public:
    static constexpr int kSoundCount = 6;
    // The waves' own format, which the output is asked for as it is: 16-bit
    // mono at 22 050 Hz. A wave in another plain PCM format is converted.
    static constexpr int kRate = 22050;
    // Samples per pull of the output: about 23 ms, and the server is asked
    // to buffer no more than that. An effect reaches the sink some 20 to
    // 40 ms after the event that plays it, and a machine busy on both
    // cores still feeds the server in time (a pull of 12 ms ran dry there).
    static constexpr int kPullFrames = 512;
    // After an output that could not be opened (no sound server), the next
    // try waits this long: a drag asks for a sound at every cell.
    static constexpr std::chrono::milliseconds kRetryInterval{1000};
    // The stream's name at the sound server.
    static constexpr char kStreamName[] = "Quellon sound effects";

    // The game session decides when a sound plays. The output opens now
    // when the player's sound switch is on, so that the server has the
    // stream running before the first sound; otherwise when it is switched
    // on, or at the first sound.
    explicit WaveSounds(bool soundOn);
    ~WaveSounds() override;
    WaveSounds(const WaveSounds&) = delete;
    WaveSounds& operator=(const WaveSounds&) = delete;

    void playSound(SoundNumber n) override;
    // Switched off, the output stays open: a sound still playing runs to
    // its end.
    void setSoundsEnabled(bool on) override;

    // Resource path of sound n (1..6), empty for any other number.
    static QString resourceFor(int n);
    // The samples of sound n (1..6) as they go to the output: 16-bit mono
    // at kRate; empty for any other number and for a wave that could not be
    // read as plain PCM.
    const std::vector<uint8_t>& samples(int n) const { return channel_.samples(n); }
    // The sound last started and not yet played out or cut off (0: none).
    int currentSound() const;
    // The output is open (a server took the stream).
    bool outputOpen() const { return device_ != 0; }
    // How many times an output was tried, for the tests of the retry.
    int openAttempts() const { return openAttempts_; }

private:
    bool outputReady();
    void openOutput();
    void closeOutput();
    static void pull(void* self, uint8_t* stream, int length);

    EffectChannel channel_;
    uint32_t device_ = 0;
    bool subsystemUp_ = false;
    int openAttempts_ = 0;
    std::chrono::steady_clock::time_point lastAttempt_{};
};

}  // namespace quellon
