#include <QApplication>
#include <QClipboard>

#include "platform/Clipboard.h"

void QtClipboard::setImage(const QImage& image) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(image);
}

void QtClipboard::beep() { QApplication::beep(); }
