#include "media/media_service.h"

#include <QMessageBox>

#include "media/help_viewer.h"

namespace quellon {

MediaService::MediaService(MusicPlayer& music, const SettingsValues& settings, const QString& programDir,
                           const QString& programTitle)
    : music_(music),
      settings_(settings),
      programDir_(programDir),
      programTitle_(programTitle)
{}

void MediaService::openHelp(int context, const QWidget& mainWindow)
{
    if (!help_)
        help_ = loadHelp(programDir_, programTitle_, &mainWindow);
    if (help_)
        help_->openHelp(context);
    else
        QMessageBox::warning(nullptr, programTitle_, HelpViewer::messageText());
}

void MediaService::closeHelp()
{
    if (help_)
        help_->closeHelp();
}

}  // namespace quellon
