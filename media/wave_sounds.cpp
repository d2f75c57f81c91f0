// Sound effects on one SDL output that stays open. Numbers 1..6 map to the
// embedded waves in the order pick up, put down, turn step, move step,
// solved, refused.
#include "media/wave_sounds.h"
#include "media/quiet_alsa.h"

#include <SDL2/SDL.h>

#include <QFile>
#include <QtEndian>

#include <dlfcn.h>

#include <algorithm>
#include <cstring>

namespace {

const char* const kWaveFiles[quellon::WaveSounds::kSoundCount] = {
    "pick_up.wav", "put_down.wav", "turn_step.wav", "move_step.wav", "solved.wav", "refused.wav",
};

quint32 little32(const QByteArray& bytes, qsizetype at) { return qFromLittleEndian<quint32>(bytes.constData() + at); }
quint16 little16(const QByteArray& bytes, qsizetype at) { return qFromLittleEndian<quint16>(bytes.constData() + at); }

// Plain PCM samples in the output's format.
std::vector<uint8_t> toOutputFormat(const QByteArray& data, SDL_AudioFormat format, int channels, int rate)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(data.constData());
    SDL_AudioCVT convert;
    const int built = SDL_BuildAudioCVT(&convert, format, static_cast<Uint8>(channels), rate, AUDIO_S16SYS, 1,
                                        quellon::WaveSounds::kRate);
    if (built < 0 || data.isEmpty())
        return {};
    if (built == 0)
        return {bytes, bytes + data.size()};
    std::vector<uint8_t> buffer(static_cast<size_t>(data.size()) * static_cast<size_t>(convert.len_mult));
    std::memcpy(buffer.data(), bytes, static_cast<size_t>(data.size()));
    convert.buf = buffer.data();
    convert.len = static_cast<int>(data.size());
    if (SDL_ConvertAudio(&convert) != 0)
        return {};
    buffer.resize(static_cast<size_t>(convert.len_cvt));
    return buffer;
}

// A RIFF/WAVE image with plain PCM of 8 or 16 bits, as the output plays it;
// anything else gives no samples, which plays nothing.
std::vector<uint8_t> readWave(const QString& resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return {};
    int channels = 0, rate = 0, bits = 0;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype size = little32(bytes, at + 4);
        const qsizetype body = at + 8;
        if (size > bytes.size() - body)
            return {};
        if (id == "fmt " && size >= 16) {
            const int tag = little16(bytes, body);
            channels = little16(bytes, body + 2);
            rate = static_cast<int>(little32(bytes, body + 4));
            bits = little16(bytes, body + 14);
            if (tag != 1 || channels < 1 || channels > 8 || rate <= 0 || (bits != 8 && bits != 16))
                return {};
        } else if (id == "data" && channels > 0) {
            const qsizetype frame = channels * bits / 8;
            return toOutputFormat(bytes.mid(body, size - size % frame), bits == 8 ? AUDIO_U8 : AUDIO_S16LSB, channels,
                                  rate);
        }
        at = body + size + (size & 1);
    }
    return {};
}

// ALSA as SDL loaded it, told to keep quiet.
void silenceSdlsAlsa()
{
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
    if (alsa == nullptr)
        return;
    quellon::silenceAlsa(dlsym(alsa, "snd_lib_error_set_handler"));
    dlclose(alsa);
}

std::vector<std::vector<uint8_t>> readWaves()
{
    std::vector<std::vector<uint8_t>> waves;
    for (int n = 1; n <= quellon::WaveSounds::kSoundCount; ++n)
        waves.push_back(readWave(quellon::WaveSounds::resourceFor(n)));
    return waves;
}

}  // namespace

namespace quellon {

WaveSounds::WaveSounds(bool soundOn) : channel_(readWaves()) { setSoundsEnabled(soundOn); }

void WaveSounds::setSoundsEnabled(bool on)
{
    if (on)
        outputReady();
}

WaveSounds::~WaveSounds() { closeOutput(); }

QString WaveSounds::resourceFor(int n)
{
    if (n < 1 || n > kSoundCount)
        return {};
    return QStringLiteral(":/sounds/") + QLatin1String(kWaveFiles[n - 1]);
}

int WaveSounds::currentSound() const
{
    if (device_ == 0)
        return channel_.current();
    SDL_LockAudioDevice(device_);
    const int current = channel_.current();
    SDL_UnlockAudioDevice(device_);
    return current;
}

void WaveSounds::pull(void* self, uint8_t* stream, int length)
{
    // SDL holds the device's lock while it pulls.
    static_cast<WaveSounds*>(self)->channel_.fill({stream, static_cast<size_t>(std::max(length, 0))});
}

// An output that was open and stopped on its own lost its server; it is
// closed and, like one that never opened, tried again at most once per
// kRetryInterval.
bool WaveSounds::outputReady()
{
    if (device_ != 0 && SDL_GetAudioDeviceStatus(device_) != SDL_AUDIO_STOPPED)
        return true;
    if (device_ != 0)
        closeOutput();
    const auto now = std::chrono::steady_clock::now();
    if (openAttempts_ > 0 && now - lastAttempt_ < kRetryInterval)
        return false;
    lastAttempt_ = now;
    ++openAttempts_;
    openOutput();
    return device_ != 0;
}

void WaveSounds::openOutput()
{
    // What the sound server shows of the stream.
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Quellon");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, kStreamName);
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_ROLE, "game");
    SDL_AudioSpec wanted{};
    wanted.freq = kRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = kPullFrames;
    wanted.callback = &WaveSounds::pull;
    wanted.userdata = this;
    // The sound server first (PipeWire's included), then ALSA directly, as
    // the music does; JACK is left out, as its client may try to start a
    // server. The driver is chosen at every try: a server missing at the
    // last one may be there now. SDL_AUDIODRIVER in the environment wins.
    for (const char* driver : {"pulseaudio", "alsa"}) {
        SDL_SetHint(SDL_HINT_AUDIODRIVER, driver);
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            continue;
        subsystemUp_ = true;
        if (std::strcmp(SDL_GetCurrentAudioDriver(), "alsa") == 0)
            silenceSdlsAlsa();
        // No changes allowed: SDL converts to whatever the device takes.
        device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
        if (device_ != 0) {
            SDL_PauseAudioDevice(device_, 0);
            return;
        }
        closeOutput();
    }
}

void WaveSounds::closeOutput()
{
    if (device_ != 0)
        SDL_CloseAudioDevice(device_);
    device_ = 0;
    if (subsystemUp_)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    subsystemUp_ = false;
}

void WaveSounds::playSound(SoundNumber n)
{
    // Any number without a wave stops the sound that is playing.
    const int next = samples(n).empty() ? 0 : n;
    if (next != 0 && !outputReady()) {
        channel_.start(0);  // nothing to play it on: no output is open
        return;
    }
    if (device_ == 0) {
        channel_.start(next);
        return;
    }
    SDL_LockAudioDevice(device_);
    channel_.start(next);
    SDL_UnlockAudioDevice(device_);
}

}  // namespace quellon
