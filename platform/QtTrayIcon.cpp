#include "platform/QtTrayIcon.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace {

// Qt shows the icon as a StatusNotifierItem when this service is on the session bus, and as
// an XEmbed icon otherwise; only the latter reports double-clicks.
bool trayReportsDoubleClicks() {
    const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    return !bus || !bus->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher"));
}

}  // namespace

int trayMouseMessage(QSystemTrayIcon::ActivationReason reason, bool trayReportsDoubleClicks) {
    switch (reason) {
        case QSystemTrayIcon::DoubleClick:
            return kTrayLeftDoubleClick;
        case QSystemTrayIcon::Trigger:
            return trayReportsDoubleClicks ? 0 : kTrayLeftDoubleClick;
        case QSystemTrayIcon::Context:
            return kTrayRightDown;
        default:
            return 0;
    }
}

QtTrayIcon::QtTrayIcon() = default;
QtTrayIcon::~QtTrayIcon() = default;

void QtTrayIcon::notify(TrayCommand command, const TrayIconData& data) {
    switch (command) {
        case TrayCommand::Add: {
            if (m_icon) return;
            // Shown even while there is no tray: Qt puts it into a tray that starts later (at
            // login the clock often starts before the panel) and into one that restarts.
            m_icon = std::make_unique<QSystemTrayIcon>();
            const bool doubleClicks = trayReportsDoubleClicks();
            QObject::connect(m_icon.get(), &QSystemTrayIcon::activated,
                             [this, doubleClicks](QSystemTrayIcon::ActivationReason reason) {
                                 const int message = trayMouseMessage(reason, doubleClicks);
                                 if (m_handler && message != 0) m_handler(message);
                             });
            apply(data);
            m_icon->show();
            return;
        }
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
