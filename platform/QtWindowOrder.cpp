#include <QGuiApplication>
#include <QWidget>

#include "platform/WindowOrder.h"
#include "platform/X11ActiveWindow.h"

namespace {
void setStaysOnTop(QWidget& window, bool on) {
    if (window.windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) return;
    const bool wasVisible = window.isVisible();
    window.setWindowFlag(Qt::WindowStaysOnTopHint, on);
    // Changing the flags hides a shown window.
    if (wasVisible) window.show();
}
}  // namespace

void QtWindowOrder::BringToFront(QWidget& window) {
    window.raise();
    window.activateWindow();
    // Qt stamps its request with its last input, which GNOME and KDE take for an older one.
    if (QGuiApplication::platformName() == QLatin1String("xcb") && window.isVisible())
        requestActiveWindowByUser(static_cast<uint32_t>(window.winId()));
}

void QtWindowOrder::SetTopMost(QWidget& window) { setStaysOnTop(window, true); }

void QtWindowOrder::SetNotTopMost(QWidget& window) { setStaysOnTop(window, false); }
