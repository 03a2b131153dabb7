#include <QWidget>

#include "platform/WindowOrder.h"

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
}

void QtWindowOrder::SetTopMost(QWidget& window) { setStaysOnTop(window, true); }

void QtWindowOrder::SetNotTopMost(QWidget& window) { setStaysOnTop(window, false); }
