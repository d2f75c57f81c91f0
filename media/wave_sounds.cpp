// Sound effects through QSoundEffect. Numbers 1..6 map to the embedded waves
// in the order pick up, put down, turn step, move step, solved, refused.
#include "media/wave_sounds.h"

#include <QAudioDevice>
#include <QSoundEffect>
#include <QUrl>

namespace {

const char* const kWaveFiles[quellon::WaveSounds::kSoundCount] = {
    "pick_up.wav", "put_down.wav", "turn_step.wav", "move_step.wav", "solved.wav", "refused.wav",
};

}  // namespace

namespace quellon {

WaveSounds::WaveSounds(const bool& soundOn, std::function<bool()> outputCheck, QObject* parent)
    : QObject(parent), soundOn_(soundOn), outputPresentCheck_(std::move(outputCheck)) {
    if (!outputPresentCheck_) {
        // Asking the platform for its device list at every step of a drag is
        // wasteful; keep the answer and renew it when the devices change.
        devices_ = new QMediaDevices(this);
        hasOutput_ = !QMediaDevices::audioOutputs().isEmpty();
        connect(devices_, &QMediaDevices::audioOutputsChanged, this,
                [this] { hasOutput_ = !QMediaDevices::audioOutputs().isEmpty(); });
    }
    // Without an output the effects are not even made: QSoundEffect then
    // complains for each of them. They are loaded once an output shows up.
    if (outputPresent()) loadWaves();
}

WaveSounds::~WaveSounds() {
    for (QSoundEffect* effect : effects_)
        if (effect != nullptr) effect->stop();
}

void WaveSounds::loadWaves() {
    if (effects_[0] != nullptr) return;
    for (int i = 0; i < kSoundCount; ++i) {
        auto* effect = new QSoundEffect(this);
        effect->setSource(QUrl(QStringLiteral("qrc") + resourceFor(i + 1)));
        effects_[i] = effect;
    }
}

QString WaveSounds::resourceFor(int n) {
    if (n < 1 || n > kSoundCount) return {};
    return QStringLiteral(":/sounds/") + QLatin1String(kWaveFiles[n - 1]);
}

QSoundEffect* WaveSounds::effect(int n) const {
    if (n < 1 || n > kSoundCount) return nullptr;
    return effects_[n - 1];
}

bool WaveSounds::outputPresent() const {
    return outputPresentCheck_ ? outputPresentCheck_() : hasOutput_;
}

void WaveSounds::playSound(int n) {
    // With sound off a sound that is still playing runs to its end.
    if (!soundOn_) return;
    if (current_ != 0) {
        effects_[current_ - 1]->stop();  // current_ is only set once the effects exist
        current_ = 0;
    }
    if (n < 1 || n > kSoundCount || !outputPresent()) return;
    loadWaves();
    QSoundEffect* wave = effects_[n - 1];
    // A wave that failed to load plays nothing; one still loading starts
    // as soon as it is ready.
    if (wave->status() == QSoundEffect::Error || wave->status() == QSoundEffect::Null) return;
    wave->play();
    current_ = n;
}

} // namespace quellon
