// Background music: the "*.mid" files beside the program, played one at a
// time through FluidSynth with the system's General MIDI SoundFont. main()
// makes the one player and keeps it; the windows reach it only through the
// GameMedia seam (MediaService): the main window starts it at start-up and
// calls Timer1Timer every second so a finished piece starts again, and the
// options dialog switches to the next piece with toggleMusic.
#pragma once

#include <memory>

#include <QString>
#include <QStringList>

namespace quellon {

// The directory search over the music files. It is kept between uses so
// that switching music on again continues with the file after the current
// one. Names are sorted byte-wise, so the order is the same on every machine.
class MusicSearch {
public:
    // The names of the music files in dir, sorted: every "*.mid", any case,
    // hidden ones too.
    static QStringList musicFiles(const QString& dir);
    // Starts a new search in dir; true when there is a first match.
    bool start(const QString& dir);
    // Moves on to the next match of the running search; false at its end.
    bool next();
    // The current match, a bare file name; empty when there is none.
    QString name() const;

private:
    QString dir_;
    QStringList matches_;
    qsizetype index_ = -1;
};

// Where the synthesiser's sound goes. The defaults suit a desktop; tests use
// FluidSynth's "file" driver with /dev/null to play for real without a device.
struct MusicOutput {
    QStringList drivers;  // FluidSynth audio drivers tried in order; empty: pulseaudio, then alsa
    QString fileName;     // output of the "file" driver
    QString soundFont;    // empty: systemSoundFont()
};

class MusicPlayer {
public:
    // programDir ends with a separator.
    explicit MusicPlayer(const QString& programDir, MusicOutput output = {});
    ~MusicPlayer();
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    // Start-up: look for music, then play the first piece if `musicOn` (the
    // "music" setting) is set.
    void start(bool musicOn);
    // The one-second timer: starts a finished piece again from its beginning,
    // and the music again once a lost audio output is back.
    void Timer1Timer();
    // Off: stops and closes the device. On: plays the next music file,
    // after the last one the first again. Returns whether music is now on,
    // for the owner's "music" setting; with no file to play it stays off.
    bool toggleMusic();
    // Stops the music and closes the device and the synthesiser.
    void close();

    bool musicOn() const { return musicOn_; }
    bool musicFound() const { return musicFound_; }
    // The current music file's bare name, as shown in the options dialog.
    QString musicName() const { return musicSearch_.name(); }
    QString musicFile() const { return musicFile_; }
    // A piece is loaded and its notes are still running.
    bool isPlaying() const;
    // A piece is loaded on an open audio output (the "device" of the player).
    bool deviceOpen() const;
    // The SoundFont is in memory (about 13 MB for TimGM6mb).
    bool soundFontLoaded() const { return soundFontLoaded_; }
    // A synthesiser exists (it is made only once an audio output opened).
    bool synthesiserMade() const;
    // Whether FluidSynth is in this process's memory at all.
    static bool synthLibraryInMemory();
    int restartCount() const { return restarts_; }
    int currentTick() const;
    int totalTicks() const;

    // The General MIDI SoundFont: TimGM6mb named explicitly, because the
    // system default follows whichever SoundFont package came last.
    static QString systemSoundFont();
    // FluidSynth's latest messages, which go to our handler instead of the
    // terminal (newest last).
    static QStringList recentLog();

private:
    void play();
    bool openSynth();
    bool openAudio();
    bool loadSoundFont();
    void closeDevice();

    QString programDir_;
    bool musicOn_ = false;
    MusicOutput output_;
    MusicSearch musicSearch_;
    bool searched_ = false;
    bool musicFound_ = false;
    QString musicFile_;
    int restarts_ = 0;
    int lastTick_ = -1;
    int stalledTicks_ = 0;
    bool outputLost_ = false;  // a piece played until its output went away

    QString soundFont_;
    bool soundFontLoaded_ = false;
    // FluidSynth's objects, whose types only music_player.cpp sees.
    struct Fluid;
    std::unique_ptr<Fluid> fluid_;
};

}  // namespace quellon
