#include <QMessageBox>

#include "core/AppTitle.h"
#include "platform/MessageBox.h"

void QtMessageBox::exclamation(const QString& text) {
    QMessageBox box(QMessageBox::Warning, appTitle(), text, QMessageBox::Ok);
    box.exec();
}

void QtMessageBox::plain(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, appTitle(), text, QMessageBox::Ok);
    box.exec();
}
