// The windowing platform the game starts on.
#include "persistence/display_platform.h"

#include <QtGlobal>

namespace quellon {

namespace {

// Qt tries the platforms of a list in turn, so a DISPLAY naming a server
// that is gone still leaves the game a Wayland window.
constexpr char kX11ThenWayland[] = "xcb;wayland";

} // namespace

QByteArray chosenPlatform(const QByteArray& requestedPlatform, const QByteArray& xDisplay)
{
    if (!requestedPlatform.trimmed().isEmpty() || xDisplay.trimmed().isEmpty())
        return {};
    return QByteArray(kX11ThenWayland);
}

void choosePlatform()
{
    const QByteArray platform = chosenPlatform(qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

} // namespace quellon
