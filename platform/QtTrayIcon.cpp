#include "platform/QtTrayIcon.h"

int trayMouseMessage(QSystemTrayIcon::ActivationReason reason, bool trayReportsDoubleClicks) {
    switch (reason) {
        case QSystemTrayIcon::DoubleClick:
            return kTrayLeftDoubleClick;
        case QSystemTrayIcon::Trigger:
            return trayReportsDoubleClicks ? 0 : kTrayLeftDoubleClick;
        default:
            // Context among them: on XEmbed Qt has popped the menu at the pointer already, and a
            // StatusNotifierItem panel shows the menu exported to it.
            return 0;
    }
}

QtTrayIcon::QtTrayIcon() = default;
QtTrayIcon::~QtTrayIcon() = default;

void QtTrayIcon::notify(TrayCommand command, const TrayIconData& data) {
    switch (command) {
        case TrayCommand::Add:
            m_data = data;
            if (m_icon || m_hosts) return;
            // Watching first, so a tray starting meanwhile is not missed.
            m_hosts = std::make_unique<TrayHostWatch>();
            connect(m_hosts.get(), &TrayHostWatch::changed, this, &QtTrayIcon::showOnceTrayExists,
                    Qt::QueuedConnection);
            showOnceTrayExists();
            return;
        case TrayCommand::Modify:
            m_data = data;
            if (m_icon) apply();
            return;
        case TrayCommand::Delete:
            m_hosts.reset();
            m_icon.reset();
            return;
    }
}

void QtTrayIcon::setMouseHandler(std::function<void(int)> handler) {
    m_handler = std::move(handler);
}

void QtTrayIcon::setMenu(QMenu* menu) {
    m_menu = menu;
    if (m_icon) m_icon->setContextMenu(menu);
}

void QtTrayIcon::showOnceTrayExists() {
    if (!m_hosts) return;
    // Qt takes a StatusNotifierItem host before an XEmbed tray; only an XEmbed tray reports
    // double-clicks.
    const bool statusNotifier = m_hosts->statusNotifierHost();
    if (!statusNotifier && !m_hosts->xembedTray()) return;
    m_hosts.reset();

    // Once made, Qt itself brings the icon back to a tray that restarts.
    m_icon = std::make_unique<QSystemTrayIcon>();
    connect(m_icon.get(), &QSystemTrayIcon::activated, this,
            [this, doubleClicks = !statusNotifier](QSystemTrayIcon::ActivationReason reason) {
                const int message = trayMouseMessage(reason, doubleClicks);
                if (m_handler && message != 0) m_handler(message);
            });
    // Exported over DBusMenu to a StatusNotifierItem panel; popped by Qt on XEmbed.
    m_icon->setContextMenu(m_menu);
    apply();
    m_icon->show();
}

void QtTrayIcon::apply() {
    // The icon first: Qt warns on a tray icon without one.
    m_icon->setIcon(m_data.hIcon);
    m_icon->setToolTip(m_data.tipText());
}
