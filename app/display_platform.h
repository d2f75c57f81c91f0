// The windowing platform the game starts on. Its windows keep their places
// (the pattern window's stored position, the main window's placement, the
// dialogs over the main window) and the pattern window stays above the
// others; a native Wayland client can do neither, so the game runs as an X11
// client whenever an X display is there, under XWayland on a Wayland desktop.
#pragma once

#include <QByteArray>

namespace quellon {

// The value for QT_QPA_PLATFORM, or empty to leave Qt's own choice: the
// player's choice in QT_QPA_PLATFORM stands; with an X display (DISPLAY) the
// X11 platform comes first, Wayland only if the X server cannot be reached;
// without one Qt picks as it always does (Wayland on a Wayland desktop).
QByteArray chosenPlatform(const QByteArray& requestedPlatform, const QByteArray& xDisplay);

// Applies chosenPlatform to the environment; call before QApplication is made.
void choosePlatform();

// Sends the requests waiting for the display server now. Under X11 the
// request that maps a shown window otherwise waits in the connection's buffer
// until the first paint has been drawn; sent at once, the window appears
// while the board is still being painted.
void sendToDisplayNow();

}  // namespace quellon
