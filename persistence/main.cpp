// The game's entry point: the sound, music and help first (the main window's
// start-up uses them), then the main window with its start-up, then the
// pattern window and the dialogs; the message loop; and the way down in the
// reverse order. The program takes no arguments of its own.
#include <QApplication>

#include "persistence/game_windows.h"
#include "persistence/help_viewer.h"
#include "persistence/music_player.h"
#include "persistence/wave_sounds.h"
#include "play/main_form.h"

int main(int argc, char** argv)
{
    using namespace quellon;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zindle Quellon"));
    const QString programDir = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    SettingsValues& settings = gameState().settings;

    WaveSounds sounds(settings.soundOn);
    MusicPlayer music(programDir, settings.musicOn);
    HelpViewer help(programDir, QStringLiteral("Zindle Quellon"));

    TMainform mainForm(MainformServices{&sounds, nullptr, programDir});
    mainForm.hooks.openHelp = [&help](int context) { help.openHelp(context); };
    mainForm.hooks.closeHelp = [&help] { help.closeHelp(); };
    mainForm.hooks.startMusic = [&music] { music.start(); };
    mainForm.hooks.musicTick = [&music] { music.Timer1Timer(); };
    mainForm.hooks.stopMusic = [&music] { music.close(); };
    if (!mainForm.FormCreate())
        return 1;

    GameWindows windows(mainForm, &mainForm.messages());
    windows.setMusicControls([&music] { music.toggleMusic(); }, [&music] { return music.musicFound(); },
                             [&music] { return music.musicName(); });
    mainForm.showRestored();
    return QApplication::exec();
}
