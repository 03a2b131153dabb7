#include "platform/QtTrayIcon.h"

#include <QSystemTrayIcon>

QtTrayIcon::QtTrayIcon() = default;
QtTrayIcon::~QtTrayIcon() = default;

void QtTrayIcon::notify(TrayCommand command, const TrayIconData& data) {
    switch (command) {
        case TrayCommand::Add:
            if (m_icon || !QSystemTrayIcon::isSystemTrayAvailable()) return;
            m_icon = std::make_unique<QSystemTrayIcon>();
            QObject::connect(m_icon.get(), &QSystemTrayIcon::activated,
                             [this](QSystemTrayIcon::ActivationReason reason) {
                                 if (!m_handler) return;
                                 if (reason == QSystemTrayIcon::DoubleClick)
                                     m_handler(kTrayLeftDoubleClick);
                                 else if (reason == QSystemTrayIcon::Context)
                                     m_handler(kTrayRightDown);
                             });
            apply(data);
            m_icon->show();
            return;
        case TrayCommand::Modify:
            if (m_icon) apply(data);
            return;
        case TrayCommand::Delete:
            m_icon.reset();
            return;
    }
}

void QtTrayIcon::setMouseHandler(std::function<void(int)> handler) {
    m_handler = std::move(handler);
}

void QtTrayIcon::apply(const TrayIconData& data) {
    // The icon first: Qt warns on a tray icon without one.
    m_icon->setIcon(data.hIcon);
    m_icon->setToolTip(data.tipText());
}
