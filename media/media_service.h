// The game's help and music as the main window reaches them: the help window
// loaded with its module the first time the rules are asked for, and the
// music player, started by the "music" setting of the session.
#pragma once

#include <memory>

#include <QString>

#include "engine/settings_values.h"
#include "media/game_media.h"
#include "media/media_modules.h"
#include "media/music_player.h"

namespace quellon {

class MediaService : public GameMedia {
public:
    MediaService(MusicPlayer& music, const SettingsValues& settings, const QString& programDir,
                 const QString& programTitle);

    void openHelp(int context, const QWidget& mainWindow) override;
    void closeHelp() override;
    void startMusic() override { music_.start(settings_.musicOn); }
    void musicTick() override { music_.Timer1Timer(); }
    void stopMusic() override { music_.close(); }
    bool toggleMusic() override { return music_.toggleMusic(); }
    bool musicFound() const override { return music_.musicFound(); }
    QString musicFileName() const override { return music_.musicName(); }

private:
    MusicPlayer& music_;
    const SettingsValues& settings_;
    QString programDir_;
    QString programTitle_;
    std::unique_ptr<HelpService> help_;
};

}  // namespace quellon
