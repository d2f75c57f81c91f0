// The windowing platform the game starts on.
#include "app/display_platform.h"

#include <QGuiApplication>
#include <QtGlobal>

#if defined(QUELLON_HAVE_XCB) && QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#define QUELLON_X11_FLUSH 1
#endif

namespace quellon {

namespace {

// Qt tries the platforms of a list in turn, so a DISPLAY naming a server
// that is gone still leaves the game a Wayland window.
constexpr char kX11ThenWayland[] = "xcb;wayland";

}  // namespace

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

void sendToDisplayNow()
{
#ifdef QUELLON_X11_FLUSH
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 != nullptr && QGuiApplication::platformName() == QLatin1String("xcb") && x11->connection() != nullptr)
        xcb_flush(x11->connection());
#endif
}

}  // namespace quellon
