// Music through FluidSynth. The SoundFont is loaded once, the first time a
// piece plays; the audio output is opened while music is on and closed when
// it is switched off. A machine without sound simply stays silent, and keeps
// neither a synthesiser nor the FluidSynth library in memory.
#include "media/music_player.h"

#include "media/fluidsynth_library.h"
#include "media/quiet_alsa.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMutex>

#include <cstdarg>
#include <cstring>

namespace {

Q_LOGGING_CATEGORY(lcMusic, "quellon.music", QtWarningMsg)

const char* const kTimSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
const char* const kDefaultSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";
// Every piece reaches the sound server at -23 LUFS (integrated loudness, as
// a meter reads it; scripts/measure-music), the level of programme audio,
// with the effects standing clearly above it.
constexpr double kSynthGain = 1.06;
constexpr int kLogLines = 20;
// Seconds a playing piece may stand still before its output counts as lost.
constexpr int kStalledTicks = 2;

QMutex logMutex;
QStringList logLines;

// FluidSynth logs from its audio thread too, hence the lock.
void fluidLog(int level, const char* message, void*)
{
    const QString line = QString::fromUtf8(message).trimmed();
    {
        QMutexLocker lock(&logMutex);
        logLines.append(line);
        while (logLines.size() > kLogLines)
            logLines.removeFirst();
    }
    if (level <= FLUID_ERR)
        qCDebug(lcMusic, "fluidsynth error: %s", qPrintable(line));
    else
        qCDebug(lcMusic, "fluidsynth: %s", qPrintable(line));
}

// A Standard MIDI File: an "MThd" chunk (at least 6 bytes) followed by an
// "MTrk" chunk. FluidSynth only looks at the first four bytes before it
// accepts a file, and a file it then cannot parse would be retried for ever.
bool looksLikeMidi(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(8);
    if (head.size() < 8 || !head.startsWith("MThd"))
        return false;
    const quint32 length = (quint32(quint8(head[4])) << 24) | (quint32(quint8(head[5])) << 16) |
                           (quint32(quint8(head[6])) << 8) | quint32(quint8(head[7]));
    if (length < 6 || !file.seek(8 + qint64(length)))
        return false;
    return file.read(4) == "MTrk";
}

// Every time the library is opened: a library opened anew has forgotten.
void routeFluidLog(const quellon::FluidSynthLibrary& fluid)
{
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid.setLogFunction(level, fluidLog, nullptr);
}

// The callback of the output probe: plays silence.
int renderSilence(void*, int length, int, float*[], int outputs, float* out[])
{
    for (int i = 0; i < outputs; ++i)
        if (out[i] != nullptr)
            std::memset(out[i], 0, sizeof(float) * static_cast<size_t>(length));
    return FLUID_OK;
}

}  // namespace

namespace quellon {

// ---- MusicSearch -----------------------------------------------------------

QStringList MusicSearch::musicFiles(const QString& dir)
{
    // Any file attributes count, and the pattern ignores case as the file
    // system of a music collection copied from elsewhere may not. The suffix
    // is compared by hand: a name filter would start the regular-expression
    // compiler, which costs start-up time and half a megabyte.
    QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    names.removeIf([](const QString& name) { return !name.endsWith(QLatin1String(".mid"), Qt::CaseInsensitive); });
    return names;
}

bool MusicSearch::start(const QString& dir)
{
    dir_ = dir;
    if (!dir_.isEmpty() && !dir_.endsWith(QLatin1Char('/')))
        dir_ += QLatin1Char('/');
    matches_ = musicFiles(dir);
    index_ = matches_.isEmpty() ? -1 : 0;
    return index_ == 0;
}

bool MusicSearch::next()
{
    // A file deleted since the search began is passed over.
    while (index_ >= 0 && index_ + 1 < matches_.size()) {
        ++index_;
        if (QFileInfo::exists(dir_ + matches_[index_]))
            return true;
    }
    index_ = -1;
    return false;
}

QString MusicSearch::name() const { return index_ >= 0 && index_ < matches_.size() ? matches_[index_] : QString(); }

// ---- MusicPlayer -----------------------------------------------------------

// The opened library with what the player made of it.
struct MusicPlayer::Fluid : FluidSynthLibrary {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_audio_driver_t* audio = nullptr;
    fluid_player_t* player = nullptr;
};

MusicPlayer::MusicPlayer(const QString& programDir, MusicOutput output)
    : programDir_(programDir),
      output_(std::move(output)),
      fluid_(std::make_unique<Fluid>())
{
    if (!programDir_.isEmpty() && !programDir_.endsWith(QLatin1Char('/')))
        programDir_ += QLatin1Char('/');
}

MusicPlayer::~MusicPlayer() { close(); }

QString MusicPlayer::systemSoundFont()
{
    for (const char* path : {kTimSoundFont, kDefaultSoundFont})
        if (QFileInfo::exists(QString::fromLatin1(path)))
            return QString::fromLatin1(path);
    return {};
}

QStringList MusicPlayer::recentLog()
{
    QMutexLocker lock(&logMutex);
    return logLines;
}

void MusicPlayer::start(bool musicOn)
{
    musicOn_ = musicOn;
    searched_ = true;
    musicFound_ = musicSearch_.start(programDir_);
    musicFile_ = musicFound_ ? programDir_ + musicSearch_.name() : QString();
    if (musicOn_ && musicFound_)
        play();
}

bool MusicPlayer::toggleMusic()
{
    outputLost_ = false;
    if (musicOn_) {
        closeDevice();
        musicOn_ = false;
        return musicOn_;
    }
    // Music that was off at start-up may not have been looked for yet; the
    // search then begins at the first file so that switching on plays the
    // second, as if it had run at start-up.
    if (!searched_) {
        searched_ = true;
        musicFound_ = musicSearch_.start(programDir_);
    }
    if (musicSearch_.next() || musicSearch_.start(programDir_))
        musicOn_ = true;
    if (musicOn_) {
        musicFile_ = programDir_ + musicSearch_.name();
        play();
    }
    return musicOn_;
}

bool MusicPlayer::deviceOpen() const { return fluid_->player != nullptr; }

bool MusicPlayer::synthesiserMade() const { return fluid_->synth != nullptr; }

bool MusicPlayer::isPlaying() const
{
    if (fluid_->player == nullptr || fluid_->playerStatus(fluid_->player) != FLUID_PLAYER_PLAYING)
        return false;
    // The player reports "playing" for seconds after its last event while it
    // lets the voices ring out, so the end is read from the tick count. Just
    // after play the file is not parsed yet and the total is still 0.
    const int total = fluid_->playerTotalTicks(fluid_->player);
    return total <= 0 || fluid_->playerCurrentTick(fluid_->player) < total;
}

int MusicPlayer::currentTick() const { return fluid_->player ? fluid_->playerCurrentTick(fluid_->player) : 0; }

int MusicPlayer::totalTicks() const { return fluid_->player ? fluid_->playerTotalTicks(fluid_->player) : 0; }

void MusicPlayer::Timer1Timer()
{
    if (!musicFound_ || !musicOn_)
        return;
    if (fluid_->player == nullptr) {
        // The output went away while a piece played (a sound server that
        // stopped): try it again every second until it is back, then the
        // piece starts afresh.
        if (outputLost_)
            play();
        return;
    }
    if (isPlaying()) {
        // A playing piece whose position stands still for seconds has lost
        // its output: the synthesiser is only driven while the output takes
        // its sound.
        const int tick = fluid_->playerCurrentTick(fluid_->player);
        stalledTicks_ = tick == lastTick_ ? stalledTicks_ + 1 : 0;
        lastTick_ = tick;
        if (stalledTicks_ >= kStalledTicks) {
            qCDebug(lcMusic, "the audio output stopped taking sound");
            closeDevice();
            outputLost_ = true;
        }
        return;
    }
    if (fluid_->playerTotalTicks(fluid_->player) <= 0) {
        // The player gave up on the file without a single tick: a damaged
        // file is not tried again every second.
        closeDevice();
        return;
    }
    // Rewind, then play: while the player still counts as playing the seek
    // alone restarts it; once it is done it needs the play as well.
    fluid_->playerSeek(fluid_->player, 0);
    if (fluid_->playerStatus(fluid_->player) != FLUID_PLAYER_PLAYING)
        fluid_->playerPlay(fluid_->player);
    ++restarts_;
}

void MusicPlayer::play()
{
    closeDevice();
    lastTick_ = -1;
    stalledTicks_ = 0;
    const QByteArray path = QFile::encodeName(musicFile_);
    if (!looksLikeMidi(musicFile_)) {
        qCDebug(lcMusic, "not a MIDI file: %s", path.constData());
        return;
    }
    if (!openAudio() || !loadSoundFont()) {
        // Nothing plays: the synthesiser and the library go too, and the
        // next switching on starts from the beginning.
        close();
        return;
    }
    outputLost_ = false;
    fluid_->player = fluid_->newPlayer(fluid_->synth);
    if (fluid_->player == nullptr || fluid_->playerAdd(fluid_->player, path.constData()) != FLUID_OK ||
        fluid_->playerPlay(fluid_->player) != FLUID_OK) {
        qCDebug(lcMusic, "cannot play %s", path.constData());
        closeDevice();
    }
}

bool MusicPlayer::openSynth()
{
    if (fluid_->synth != nullptr)
        return true;
    fluid_->synth = fluid_->newSynth(fluid_->settings);
    if (fluid_->synth == nullptr)
        return false;
    // Its instrument loaders registered types with GObject for good.
    fluid_->keep();
    return true;
}

// Loaded once, and only after an output has opened: a machine without sound
// is spared the SoundFont's memory.
bool MusicPlayer::loadSoundFont()
{
    if (soundFontLoaded_)
        return true;
    if (fluid_->loadSoundFont(fluid_->synth, QFile::encodeName(soundFont_).constData(), 1) == FLUID_FAILED) {
        qCDebug(lcMusic, "cannot load the SoundFont %s", qPrintable(soundFont_));
        return false;
    }
    soundFontLoaded_ = true;
    return true;
}

// The output is tried before the synthesiser is made: without one, neither
// the synthesiser (some megabytes) nor FluidSynth stays in memory.
bool MusicPlayer::openAudio()
{
    if (fluid_->audio != nullptr)
        return true;
    if (fluid_->settings == nullptr) {
        soundFont_ = output_.soundFont.isEmpty() ? systemSoundFont() : output_.soundFont;
        if (soundFont_.isEmpty()) {
            qCDebug(lcMusic, "no General MIDI SoundFont installed");
            return false;
        }
        if (!fluid_->open()) {
            qCDebug(lcMusic, "FluidSynth cannot be loaded");
            return false;
        }
        routeFluidLog(*fluid_);
        fluid_->settings = fluid_->newSettings();
        if (fluid_->settings == nullptr)
            return false;
        fluid_->settingsSetNumber(fluid_->settings, "synth.gain", kSynthGain);
    }
    // PulseAudio first: desktops (PipeWire included) mix there; then ALSA
    // directly. JACK is left out, as its client may try to start a server.
    const QStringList drivers =
        output_.drivers.isEmpty() ? QStringList{QStringLiteral("pulseaudio"), QStringLiteral("alsa")} : output_.drivers;
    for (const QString& driver : drivers) {
        if (driver == QLatin1String("alsa"))
            silenceAlsa(fluid_->symbol("snd_lib_error_set_handler"));  // ALSA comes with FluidSynth
        if (fluid_->settingsSetText(fluid_->settings, "audio.driver", driver.toLatin1().constData()) != FLUID_OK)
            continue;
        if (driver == QLatin1String("file")) {
            // Writes to a file: there is always an output, and the file
            // driver cannot be asked without a synthesiser.
            fluid_->settingsSetText(fluid_->settings, "audio.file.name",
                                    QFile::encodeName(output_.fileName).constData());
            fluid_->settingsSetText(fluid_->settings, "audio.file.type", "raw");
        } else if (fluid_->synth == nullptr) {
            fluid_audio_driver_t* probe = fluid_->newAudioDriverWithCallback(fluid_->settings, renderSilence, nullptr);
            if (probe == nullptr)
                continue;
            fluid_->deleteAudioDriver(probe);
        }
        if (!openSynth())
            return false;
        fluid_->audio = fluid_->newAudioDriver(fluid_->settings, fluid_->synth);
        if (fluid_->audio != nullptr)
            return true;
    }
    // No output: the music stays silent, without a word to the player.
    qCDebug(lcMusic, "no audio output for music");
    return false;
}

void MusicPlayer::closeDevice()
{
    // The audio thread drives the player, so it goes first.
    if (fluid_->audio != nullptr) {
        fluid_->deleteAudioDriver(fluid_->audio);
        fluid_->audio = nullptr;
    }
    if (fluid_->player != nullptr) {
        fluid_->playerStop(fluid_->player);
        fluid_->deletePlayer(fluid_->player);
        fluid_->player = nullptr;
    }
    if (fluid_->synth != nullptr)
        fluid_->allSoundsOff(fluid_->synth, -1);
}

void MusicPlayer::close()
{
    closeDevice();
    if (fluid_->synth != nullptr)
        fluid_->deleteSynth(fluid_->synth);
    if (fluid_->settings != nullptr)
        fluid_->deleteSettings(fluid_->settings);
    fluid_->synth = nullptr;
    fluid_->settings = nullptr;
    soundFontLoaded_ = false;
    fluid_->close();
}

bool MusicPlayer::synthLibraryInMemory() { return FluidSynthLibrary::inMemory(); }

}  // namespace quellon
