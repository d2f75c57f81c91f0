// Music through FluidSynth. The SoundFont is loaded once, the first time a
// piece plays; the audio output is opened while music is on and closed when
// it is switched off. A machine without sound simply stays silent.
#include "persistence/music_player.h"

#include <fluidsynth.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMutex>

#include <dlfcn.h>

#include <cstdarg>
#include <cstring>

namespace {

Q_LOGGING_CATEGORY(lcMusic, "quellon.music", QtWarningMsg)

const char* const kTimSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
const char* const kDefaultSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";
// Background music sits below the effects; FluidSynth's default gain of 0.2
// is too faint for the quiet pieces.
constexpr double kSynthGain = 0.6;
constexpr int kLogLines = 20;

QMutex logMutex;
QStringList logLines;

// FluidSynth logs from its audio thread too, hence the lock.
void fluidLog(int level, const char* message, void*) {
    const QString line = QString::fromUtf8(message).trimmed();
    {
        QMutexLocker lock(&logMutex);
        logLines.append(line);
        while (logLines.size() > kLogLines) logLines.removeFirst();
    }
    if (level <= FLUID_ERR)
        qCDebug(lcMusic, "fluidsynth error: %s", qPrintable(line));
    else
        qCDebug(lcMusic, "fluidsynth: %s", qPrintable(line));
}

// A Standard MIDI File: an "MThd" chunk (at least 6 bytes) followed by an
// "MTrk" chunk. FluidSynth only looks at the first four bytes before it
// accepts a file, and a file it then cannot parse would be retried for ever.
bool looksLikeMidi(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = file.read(8);
    if (head.size() < 8 || !head.startsWith("MThd")) return false;
    const quint32 length = (quint32(quint8(head[4])) << 24) | (quint32(quint8(head[5])) << 16) |
                           (quint32(quint8(head[6])) << 8) | quint32(quint8(head[7]));
    if (length < 6 || !file.seek(8 + qint64(length))) return false;
    return file.read(4) == "MTrk";
}

void routeFluidLog() {
    static const bool routed = [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, fluidLog, nullptr);
        return true;
    }();
    (void)routed;
}

// ALSA's library prints its own complaints on stderr when no card exists.
// It is loaded with FluidSynth; silence it through its error-handler hook,
// looked up at run time so the game does not link ALSA itself.
extern "C" void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

void silenceAlsa() {
    static const bool done = [] {
        using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
        using SetHandler = int (*)(Handler);
        void* symbol = dlsym(RTLD_DEFAULT, "snd_lib_error_set_handler");
        if (symbol != nullptr) {
            SetHandler set = nullptr;
            std::memcpy(&set, &symbol, sizeof set);
            set(quietAlsa);
        }
        return true;
    }();
    (void)done;
}

}  // namespace

namespace quellon {

// ---- MusicSearch -----------------------------------------------------------

bool MusicSearch::start(const QString& dir) {
    dir_ = dir;
    if (!dir_.isEmpty() && !dir_.endsWith(QLatin1Char('/'))) dir_ += QLatin1Char('/');
    // Any file attributes count, and the pattern ignores case as the file
    // system of a music collection copied from elsewhere may not.
    matches_ = QDir(dir).entryList({QStringLiteral("*.mid")},
                                   QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    index_ = matches_.isEmpty() ? -1 : 0;
    return index_ == 0;
}

bool MusicSearch::next() {
    // A file deleted since the search began is passed over.
    while (index_ >= 0 && index_ + 1 < matches_.size()) {
        ++index_;
        if (QFileInfo::exists(dir_ + matches_[index_])) return true;
    }
    index_ = -1;
    return false;
}

QString MusicSearch::name() const {
    return index_ >= 0 && index_ < matches_.size() ? matches_[index_] : QString();
}

// ---- MusicPlayer -----------------------------------------------------------

MusicPlayer::MusicPlayer(const QString& programDir, MusicOutput output)
    : programDir_(programDir), output_(std::move(output)) {
    routeFluidLog();
    if (!programDir_.isEmpty() && !programDir_.endsWith(QLatin1Char('/'))) programDir_ += QLatin1Char('/');
}

MusicPlayer::~MusicPlayer() { close(); }

QString MusicPlayer::systemSoundFont() {
    for (const char* path : {kTimSoundFont, kDefaultSoundFont})
        if (QFileInfo::exists(QString::fromLatin1(path))) return QString::fromLatin1(path);
    return {};
}

QStringList MusicPlayer::recentLog() {
    QMutexLocker lock(&logMutex);
    return logLines;
}

void MusicPlayer::start(bool musicOn) {
    musicOn_ = musicOn;
    searched_ = true;
    musicFound_ = musicSearch_.start(programDir_);
    musicFile_ = musicFound_ ? programDir_ + musicSearch_.name() : QString();
    if (musicOn_ && musicFound_) play();
}

bool MusicPlayer::toggleMusic() {
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
    if (musicSearch_.next() || musicSearch_.start(programDir_)) musicOn_ = true;
    if (musicOn_) {
        musicFile_ = programDir_ + musicSearch_.name();
        play();
    }
    return musicOn_;
}

bool MusicPlayer::isPlaying() const {
    if (player_ == nullptr || fluid_player_get_status(player_) != FLUID_PLAYER_PLAYING) return false;
    // The player reports "playing" for seconds after its last event while it
    // lets the voices ring out, so the end is read from the tick count. Just
    // after play the file is not parsed yet and the total is still 0.
    const int total = fluid_player_get_total_ticks(player_);
    return total <= 0 || fluid_player_get_current_tick(player_) < total;
}

int MusicPlayer::currentTick() const { return player_ ? fluid_player_get_current_tick(player_) : 0; }

int MusicPlayer::totalTicks() const { return player_ ? fluid_player_get_total_ticks(player_) : 0; }

void MusicPlayer::Timer1Timer() {
    if (!musicFound_ || !musicOn_ || player_ == nullptr || isPlaying()) return;
    if (fluid_player_get_total_ticks(player_) <= 0) {
        // The player gave up on the file without a single tick: a damaged
        // file is not tried again every second.
        closeDevice();
        return;
    }
    // Rewind, then play: while the player still counts as playing the seek
    // alone restarts it; once it is done it needs the play as well.
    fluid_player_seek(player_, 0);
    if (fluid_player_get_status(player_) != FLUID_PLAYER_PLAYING) fluid_player_play(player_);
    ++restarts_;
}

void MusicPlayer::play() {
    closeDevice();
    const QByteArray path = QFile::encodeName(musicFile_);
    if (!looksLikeMidi(musicFile_)) {
        qCDebug(lcMusic, "not a MIDI file: %s", path.constData());
        return;
    }
    if (!openSynth() || !openAudio() || !loadSoundFont()) {
        closeDevice();
        return;
    }
    player_ = new_fluid_player(synth_);
    if (player_ == nullptr || fluid_player_add(player_, path.constData()) != FLUID_OK ||
        fluid_player_play(player_) != FLUID_OK) {
        qCDebug(lcMusic, "cannot play %s", path.constData());
        closeDevice();
    }
}

bool MusicPlayer::openSynth() {
    if (synth_ != nullptr) return true;
    soundFont_ = output_.soundFont.isEmpty() ? systemSoundFont() : output_.soundFont;
    if (soundFont_.isEmpty()) {
        qCDebug(lcMusic, "no General MIDI SoundFont installed");
        return false;
    }
    settings_ = new_fluid_settings();
    fluid_settings_setnum(settings_, "synth.gain", kSynthGain);
    synth_ = new_fluid_synth(settings_);
    if (synth_ == nullptr) {
        delete_fluid_settings(settings_);
        settings_ = nullptr;
        return false;
    }
    return true;
}

// Loaded once, and only after an output has opened: a machine without sound
// is spared the SoundFont's memory.
bool MusicPlayer::loadSoundFont() {
    if (soundFontLoaded_) return true;
    if (fluid_synth_sfload(synth_, QFile::encodeName(soundFont_).constData(), 1) == FLUID_FAILED) {
        qCDebug(lcMusic, "cannot load the SoundFont %s", qPrintable(soundFont_));
        return false;
    }
    soundFontLoaded_ = true;
    return true;
}

bool MusicPlayer::openAudio() {
    if (audio_ != nullptr) return true;
    // PulseAudio first: desktops (PipeWire included) mix there; then ALSA
    // directly. JACK is left out, as its client may try to start a server.
    const QStringList drivers =
        output_.drivers.isEmpty() ? QStringList{QStringLiteral("pulseaudio"), QStringLiteral("alsa")} : output_.drivers;
    for (const QString& driver : drivers) {
        if (driver == QLatin1String("alsa")) silenceAlsa();
        if (fluid_settings_setstr(settings_, "audio.driver", driver.toLatin1().constData()) != FLUID_OK) continue;
        if (driver == QLatin1String("file")) {
            fluid_settings_setstr(settings_, "audio.file.name", QFile::encodeName(output_.fileName).constData());
            fluid_settings_setstr(settings_, "audio.file.type", "raw");
        }
        audio_ = new_fluid_audio_driver(settings_, synth_);
        if (audio_ != nullptr) return true;
    }
    // No output: the music stays silent, without a word to the player.
    qCDebug(lcMusic, "no audio output for music");
    return false;
}

void MusicPlayer::closeDevice() {
    // The audio thread drives the player, so it goes first.
    if (audio_ != nullptr) {
        delete_fluid_audio_driver(audio_);
        audio_ = nullptr;
    }
    if (player_ != nullptr) {
        fluid_player_stop(player_);
        delete_fluid_player(player_);
        player_ = nullptr;
    }
    if (synth_ != nullptr) fluid_synth_all_sounds_off(synth_, -1);
}

void MusicPlayer::close() {
    closeDevice();
    if (synth_ != nullptr) delete_fluid_synth(synth_);
    if (settings_ != nullptr) delete_fluid_settings(settings_);
    synth_ = nullptr;
    settings_ = nullptr;
    soundFontLoaded_ = false;
}

} // namespace quellon
