// The game's six sound effects, played from the WAV files embedded as
// ":/sounds/...". Each effect is loaded once; a new sound cuts off the one
// before instead of queueing, since step sounds can come at every cell of a
// drag.
#pragma once

#include "session/sound.h"

#include <QMediaDevices>
#include <QObject>
#include <QString>

#include <array>
#include <functional>

class QSoundEffect;

namespace quellon {

class WaveSounds : public QObject, public SoundEffects {
    Q_OBJECT
public:
    static constexpr int kSoundCount = 6;

    // soundOn is read at every call, so the owner's flag (the "sound"
    // setting) stays the one place that says whether effects play.
    // outputCheck answers whether an audio output exists; by default the
    // platform's device list is asked. With no device a QSoundEffect reports
    // "playing" for ever, so nothing is started then.
    explicit WaveSounds(const bool& soundOn, std::function<bool()> outputCheck = {},
                        QObject* parent = nullptr);
    ~WaveSounds() override;

    void playSound(int n) override;

    // Resource path of sound n (1..6), empty for any other number.
    static QString resourceFor(int n);
    // The effect object of sound n (1..6); nullptr for any other number and
    // while no audio output has been seen.
    QSoundEffect* effect(int n) const;
    // The sound last started and not yet cut off by a later call (0: none).
    int currentSound() const { return current_; }

private:
    bool outputPresent() const;
    void loadWaves();

    const bool& soundOn_;
    std::function<bool()> outputPresentCheck_;
    QMediaDevices* devices_ = nullptr;
    bool hasOutput_ = false;
    std::array<QSoundEffect*, kSoundCount> effects_{};
    int current_ = 0;
};

} // namespace quellon
