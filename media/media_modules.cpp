// Loading the media modules; once loaded they stay until the program ends,
// as the objects they made live until then.
#include "media/media_modules.h"

#include <QLibrary>
#include <QLoggingCategory>

namespace quellon {

namespace {

Q_LOGGING_CATEGORY(lcModules, "quellon.modules", QtWarningMsg)

QFunctionPointer entryPoint(const QString& programDir, const QString& module, const char* name)
{
    QString dir = programDir;
    if (!dir.isEmpty() && !dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    // A folder of their own: shared objects straight below a library folder
    // would have the package run ldconfig for them.
    QLibrary library(dir + QStringLiteral("modules/") + module);
    const QFunctionPointer entry = library.resolve(name);
    if (!entry)
        qCDebug(lcModules, "%s", qPrintable(library.errorString()));
    return entry;
}

}  // namespace

std::unique_ptr<SoundEffects> loadSoundEffects(const QString& programDir, bool soundOn)
{
    const auto make = reinterpret_cast<MakeSoundEffects>(
        entryPoint(programDir, QStringLiteral("quellon-sounds.so"), kMakeSoundEffects));
    return std::unique_ptr<SoundEffects>(make ? make(soundOn) : nullptr);
}

std::unique_ptr<HelpService> loadHelp(const QString& programDir, const QString& programTitle, const QWidget* mainWindow)
{
    const auto make = reinterpret_cast<MakeHelp>(entryPoint(programDir, QStringLiteral("quellon-help.so"), kMakeHelp));
    return std::unique_ptr<HelpService>(make ? make(&programDir, &programTitle, mainWindow) : nullptr);
}

}  // namespace quellon
