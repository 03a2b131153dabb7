#include "platform/PlatformChoice.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QtGlobal>
#include <cstdio>

bool preferXcbUnderWayland() {
    // The user's own choice stands.
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) return false;
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    // Qt tries the platforms in turn: an X server it cannot reach (no X authority, say) would
    // otherwise end the clock before it starts.
    return qputenv("QT_QPA_PLATFORM", "xcb;wayland");
}

void reportWaylandFallback(bool xcbPreferred) {
    if (!xcbPreferred || QGuiApplication::platformName() != QLatin1String("wayland")) return;
    std::fputs(
        "quillon: no X display could be reached; running on Wayland, where the compositor "
        "places the bar and decides whether it stays on top.\n",
        stderr);
}

bool preferImagesOverTheConnection() {
    if (qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) return false;
    return qputenv("QT_XCB_NO_MITSHM", "1");
}
