// The module quellon-help.so: the help window on Qt Help.
#include <QWidget>

#include "media/help_viewer.h"
#include "media/media_modules.h"

namespace {

class HelpInModule : public quellon::HelpService {
public:
    HelpInModule(const QString& programDir, const QString& programTitle, const QWidget* mainWindow)
        : viewer_(programDir, programTitle, mainWindow)
    {}
    void openHelp(int context) override { viewer_.openHelp(context); }
    void closeHelp() override { viewer_.closeHelp(); }

private:
    quellon::HelpViewer viewer_;
};

}  // namespace

extern "C" Q_DECL_EXPORT quellon::HelpService* quellonMakeHelp(const QString* programDir, const QString* programTitle,
                                                               const QWidget* mainWindow)
{
    return new HelpInModule(*programDir, *programTitle, mainWindow);
}
