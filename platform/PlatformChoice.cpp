#include "platform/PlatformChoice.h"

#include <QByteArray>
#include <QtGlobal>

void preferXcbUnderWayland() {
    // The user's own choice stands.
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) return;
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qEnvironmentVariableIsEmpty("DISPLAY"))
        return;
    qputenv("QT_QPA_PLATFORM", "xcb");
}

bool preferImagesOverTheConnection() {
    if (qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) return false;
    return qputenv("QT_XCB_NO_MITSHM", "1");
}
