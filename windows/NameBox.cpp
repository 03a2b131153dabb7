#include "windows/NameBox.h"

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

void showName(QLineEdit& box, const QString& name) {
    box.setText(name);
    box.end(false);
}

void enableTextBox(QLineEdit& box, bool enabled) {
    box.setEnabled(enabled);
    QPalette palette = QApplication::palette(&box);
    if (!enabled)
        palette.setColor(QPalette::Base, palette.color(QPalette::Active, QPalette::Button));
    box.setPalette(palette);
}

QStringList localFiles(const QMimeData& data) {
    QStringList files;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    return files;
}

bool filterFileDrop(QEvent& event, const std::function<bool(const QMimeData&)>& take) {
    switch (event.type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto& drag = static_cast<QDragMoveEvent&>(event);
            if (localFiles(*drag.mimeData()).isEmpty())
                drag.ignore();
            else
                drag.acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto& drop = static_cast<QDropEvent&>(event);
            if (take(*drop.mimeData()))
                drop.acceptProposedAction();
            else
                drop.ignore();
            return true;
        }
        default:
            return false;
    }
}
