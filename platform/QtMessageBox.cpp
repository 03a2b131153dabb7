#include <QMessageBox>

#include "platform/MessageBox.h"

void QtMessageBox::exclamation(const QString& text) {
    QMessageBox box(QMessageBox::Warning, m_title, text, QMessageBox::Ok);
    box.exec();
}

void QtMessageBox::plain(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, m_title, text, QMessageBox::Ok);
    box.exec();
}
