#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <memory>

#include "platform/TrayHostWatch.h"
#include "platform/TrayIcon.h"

// The icon's mouse message for what Qt reports, or 0 for none. StatusNotifierItem trays report
// a click and never a double-click: there the click stands for the double-click. A right press
// reports nothing: the tray opens the menu itself.
int trayMouseMessage(QSystemTrayIcon::ActivationReason reason, bool trayReportsDoubleClicks);

class QtTrayIcon final : public QObject, public TrayIcon {
public:
    QtTrayIcon();
    ~QtTrayIcon() override;

    void notify(TrayCommand command, const TrayIconData& data) override;
    void setMouseHandler(std::function<void(int mouseMessage)> handler) override;
    void setMenu(QMenu* menu) override;

private:
    void showOnceTrayExists();
    void apply();

    // Made only once a tray exists: Qt picks the tray's protocol when the first icon is made.
    std::unique_ptr<QSystemTrayIcon> m_icon;
    // While the icon waits for a tray.
    std::unique_ptr<TrayHostWatch> m_hosts;
    TrayIconData m_data;
    QMenu* m_menu = nullptr;
    std::function<void(int)> m_handler;
};
