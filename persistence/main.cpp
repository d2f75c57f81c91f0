// The game's entry point: the sound, music and help first (the main window's
// start-up uses them), then the main window with its start-up, then the
// pattern window (the dialogs follow on first use); the message loop; and the
// way down in the reverse order. The program takes no arguments of its own.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <memory>

#include "persistence/game_windows.h"
#include "persistence/help_viewer.h"
#include "persistence/media_modules.h"
#include "persistence/music_player.h"
#include "play/main_form.h"

namespace {

// The sound effects, opened once the window shows: asking the audio system
// for its devices costs more than the rest of the start-up together, and no
// sound can be asked for before the first event anyway.
class SoundsOpenedLater : public SoundEffects {
public:
    SoundsOpenedLater(const QString& programDir, const bool& soundOn) : programDir_(programDir), soundOn_(soundOn) {}
    void open() { waves_ = quellon::loadSoundEffects(programDir_, soundOn_); }
    void playSound(int n) override
    {
        if (waves_)
            waves_->playSound(n);
    }

private:
    QString programDir_;
    const bool& soundOn_;
    std::unique_ptr<SoundEffects> waves_;
};

// The help, loaded with its module the first time the rules are asked for.
class HelpOpenedLater {
public:
    HelpOpenedLater(const QString& programDir, const QString& programTitle)
        : programDir_(programDir), programTitle_(programTitle)
    {
    }
    void openHelp(int context)
    {
        if (!help_)
            help_ = quellon::loadHelp(programDir_, programTitle_);
        if (help_)
            help_->openHelp(context);
        else
            QMessageBox::warning(nullptr, programTitle_, quellon::HelpViewer::messageText());
    }
    void closeHelp()
    {
        if (help_)
            help_->closeHelp();
    }

private:
    QString programDir_;
    QString programTitle_;
    std::unique_ptr<quellon::HelpService> help_;
};

} // namespace

int main(int argc, char** argv)
{
    using namespace quellon;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zindle Quellon"));
    const QString programDir = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    SettingsValues& settings = gameState().settings;

    SoundsOpenedLater sounds(programDir, settings.soundOn);
    MusicPlayer music(programDir, settings.musicOn);
    HelpOpenedLater help(programDir, QStringLiteral("Zindle Quellon"));

    TMainform mainForm(MainformServices{&sounds, nullptr, programDir});
    mainForm.hooks.openHelp = [&help](int context) { help.openHelp(context); };
    mainForm.hooks.closeHelp = [&help] { help.closeHelp(); };
    // Like the sounds, the music starts as soon as the window shows.
    mainForm.hooks.startMusic = [&music] { QTimer::singleShot(0, [&music] { music.start(); }); };
    mainForm.hooks.musicTick = [&music] { music.Timer1Timer(); };
    mainForm.hooks.stopMusic = [&music] { music.close(); };
    if (!mainForm.FormCreate())
        return 1;

    GameWindows windows(mainForm, &mainForm.messages());
    windows.setMusicControls([&music] { music.toggleMusic(); }, [&music] { return music.musicFound(); },
                             [&music] { return music.musicName(); });
    mainForm.showRestored();
    QTimer::singleShot(0, [&sounds] { sounds.open(); });
    return QApplication::exec();
}
