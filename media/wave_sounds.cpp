// Sound effects through a QAudioSink of their own: one output stream at a
// time, opened for a sound and closed once it has played out. Numbers 1..6
// map to the embedded waves in the order pick up, put down, turn step, move
// step, solved, refused.
#include "media/wave_sounds.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QFile>
#include <QtEndian>

#include <algorithm>

namespace {

const char* const kWaveFiles[quellon::WaveSounds::kSoundCount] = {
    "pick_up.wav", "put_down.wav", "turn_step.wav", "move_step.wav", "solved.wav", "refused.wav",
};

quint32 little32(const QByteArray& bytes, qsizetype at) { return qFromLittleEndian<quint32>(bytes.constData() + at); }
quint16 little16(const QByteArray& bytes, qsizetype at) { return qFromLittleEndian<quint16>(bytes.constData() + at); }

}  // namespace

namespace quellon {

WaveSounds::WaveSounds(const bool& soundOn, std::function<bool()> outputCheck, QObject* parent)
    : QObject(parent),
      soundOn_(soundOn),
      outputPresentCheck_(std::move(outputCheck))
{
    closeTimer_.setSingleShot(true);
    connect(&closeTimer_, &QTimer::timeout, this, [this] { closeStream(); });
    feedTimer_.setInterval(kFeedMilliseconds);
    connect(&feedTimer_, &QTimer::timeout, this, [this] { feed(); });
    if (!outputPresentCheck_) {
        // Asking the platform for its device list at every step of a drag is
        // wasteful; keep the answer and renew it when the devices change (a
        // sound server that stops and starts again changes them).
        devices_ = new QMediaDevices(this);
        hasOutput_ = !QMediaDevices::audioOutputs().isEmpty();
        connect(devices_, &QMediaDevices::audioOutputsChanged, this,
                [this] { hasOutput_ = !QMediaDevices::audioOutputs().isEmpty(); });
    }
}

WaveSounds::~WaveSounds() { closeStream(); }

// A RIFF/WAVE image with plain PCM of 8 or 16 bits; anything else gives an
// empty wave, which plays nothing.
WaveSounds::Wave WaveSounds::readWave(const QString& resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return {};
    Wave wave;
    bool haveFormat = false;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype size = little32(bytes, at + 4);
        const qsizetype body = at + 8;
        if (size > bytes.size() - body)
            return {};
        if (id == "fmt " && size >= 16) {
            const int tag = little16(bytes, body), channels = little16(bytes, body + 2);
            const int rate = static_cast<int>(little32(bytes, body + 4)), bits = little16(bytes, body + 14);
            if (tag != 1 || channels < 1 || rate <= 0 || (bits != 8 && bits != 16))
                return {};
            wave.format.setSampleRate(rate);
            wave.format.setChannelCount(channels);
            wave.format.setSampleFormat(bits == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
            haveFormat = true;
        } else if (id == "data" && haveFormat) {
            const char silence = wave.format.sampleFormat() == QAudioFormat::UInt8 ? char(0x80) : char(0);
            const qsizetype lead = wave.format.bytesForDuration(qint64(kLeadMilliseconds) * 1000);
            const qsizetype tail = wave.format.bytesForDuration(qint64(kTailMilliseconds) * 1000);
            wave.samples = QByteArray(lead, silence);
            wave.samples.append(bytes.mid(body, size - size % wave.format.bytesPerFrame()));
            wave.samples.append(tail, silence);
            return wave;
        }
        at = body + size + (size & 1);
    }
    return {};
}

void WaveSounds::loadWaves()
{
    if (loaded_)
        return;
    loaded_ = true;
    for (int i = 0; i < kSoundCount; ++i)
        waves_[static_cast<size_t>(i)] = readWave(resourceFor(i + 1));
}

QString WaveSounds::resourceFor(int n)
{
    if (n < 1 || n > kSoundCount)
        return {};
    return QStringLiteral(":/sounds/") + QLatin1String(kWaveFiles[n - 1]);
}

QByteArray WaveSounds::samples(int n) const
{
    return n >= 1 && n <= kSoundCount ? waves_[static_cast<size_t>(n - 1)].samples : QByteArray();
}

QAudioFormat WaveSounds::format(int n) const
{
    return n >= 1 && n <= kSoundCount ? waves_[static_cast<size_t>(n - 1)].format : QAudioFormat();
}

bool WaveSounds::outputPresent() const { return outputPresentCheck_ ? outputPresentCheck_() : hasOutput_; }

void WaveSounds::closeStream()
{
    closeTimer_.stop();
    feedTimer_.stop();
    pending_.clear();
    written_ = 0;
    if (sink_ == nullptr)
        return;
    QAudioSink* sink = sink_;
    sink_ = nullptr;
    output_ = nullptr;
    sink->disconnect(this);
    sink->stop();  // drops what the server has not played yet: the cut-off
    sink->deleteLater();
}

void WaveSounds::playSound(int n)
{
    // With sound off a sound that is still playing runs to its end.
    if (!soundOn_)
        return;
    closeStream();
    current_ = 0;
    if (n < 1 || n > kSoundCount || !outputPresent())
        return;
    loadWaves();
    const Wave& wave = waves_[static_cast<size_t>(n - 1)];
    if (wave.samples.isEmpty())
        return;
    // A stream of its own for every sound, on the output that is the
    // default now: the server or its devices may have changed since the last.
    sink_ = new QAudioSink(QMediaDevices::defaultAudioOutput(), wave.format, this);
    // Room for the whole sound, written at once: fed bit by bit from this
    // thread's event loop it started a timer tick late, and broke off
    // whenever the window was busy for longer than the buffer lasted (the
    // solved message opening cut the bells in two).
    sink_->setBufferSize(wave.samples.size());
    connect(sink_, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        // Stopped on its own: the server went away, and the stream with it.
        if (state == QAudio::StoppedState)
            closeStream();
    });
    current_ = n;
    output_ = sink_->start();
    if (sink_ == nullptr || output_ == nullptr) {
        closeStream();  // no server to take it
        return;
    }
    pending_ = wave.samples;
    written_ = 0;
    feed();
    // The stream is closed once the sound and the silence after it have
    // played, so none is kept open between sounds. Not at the sink's "idle":
    // that comes when the last sample has been handed to the server, which
    // may not have played a third of a second of it yet, and closing then
    // drops it.
    closeTimer_.start(static_cast<int>(wave.format.durationForBytes(wave.samples.size()) / 1000) +
                      kCloseMarginMilliseconds);
}

// Writes what the server takes now; a server that keeps less than the
// whole sound gets the rest as it plays.
void WaveSounds::feed()
{
    while (sink_ != nullptr && written_ < pending_.size()) {
        const qsizetype room = std::min<qsizetype>(sink_->bytesFree(), pending_.size() - written_);
        if (room <= 0)
            break;
        const qint64 wrote = output_->write(pending_.constData() + written_, room);
        if (wrote <= 0)
            break;
        written_ += wrote;
    }
    if (sink_ != nullptr && written_ < pending_.size())
        feedTimer_.start();
    else
        feedTimer_.stop();
}

}  // namespace quellon
