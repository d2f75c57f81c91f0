// The game's entry point: the sound, music and help first (the main window's
// start-up uses them), then the main window with its start-up, then the
// pattern window and the dialogs; the message loop; and the way down in the
// reverse order. The program takes no arguments of its own.
#include <QApplication>
#include <QTimer>

#include <memory>

#include "persistence/display_platform.h"
#include "persistence/game_windows.h"
#include "persistence/help_viewer.h"
#include "persistence/music_player.h"
#include "persistence/wave_sounds.h"
#include "play/main_form.h"

namespace {

// The sound effects, opened once the window shows: asking the audio system
// for its devices costs more than the rest of the start-up together, and no
// sound can be asked for before the first event anyway.
class SoundsOpenedLater : public SoundEffects {
public:
    explicit SoundsOpenedLater(const bool& soundOn) : soundOn_(soundOn) {}
    void open() { waves_ = std::make_unique<quellon::WaveSounds>(soundOn_); }
    void playSound(int n) override
    {
        if (waves_)
            waves_->playSound(n);
    }

private:
    const bool& soundOn_;
    std::unique_ptr<quellon::WaveSounds> waves_;
};

} // namespace

int main(int argc, char** argv)
{
    using namespace quellon;
    choosePlatform();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zindle Quellon"));
    const QString programDir = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    SettingsValues& settings = gameState().settings;

    SoundsOpenedLater sounds(settings.soundOn);
    MusicPlayer music(programDir);
    HelpViewer help(programDir, QStringLiteral("Zindle Quellon"));

    TMainform mainForm(MainformServices{&sounds, nullptr, programDir});
    joinMediaHooks(mainForm.hooks, help, music, settings);
    if (!mainForm.FormCreate())
        return 1;

    GameWindows windows(mainForm, &mainForm.messages());
    windows.setMusicControls([&music] { return music.toggleMusic(); }, [&music] { return music.musicFound(); },
                             [&music] { return music.musicName(); });
    mainForm.showRestored();
    QTimer::singleShot(0, [&sounds] { sounds.open(); });
    return QApplication::exec();
}
