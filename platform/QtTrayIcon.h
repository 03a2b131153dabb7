#pragma once

#include <QSystemTrayIcon>
#include <memory>

#include "platform/TrayIcon.h"

// The icon's mouse message for what Qt reports, or 0 for none. StatusNotifierItem trays report
// a click and never a double-click: there the click stands for the double-click.
int trayMouseMessage(QSystemTrayIcon::ActivationReason reason, bool trayReportsDoubleClicks);

class QtTrayIcon final : public TrayIcon {
public:
    QtTrayIcon();
    ~QtTrayIcon() override;

    void notify(TrayCommand command, const TrayIconData& data) override;
    void setMouseHandler(std::function<void(int mouseMessage)> handler) override;

private:
    void apply(const TrayIconData& data);

    std::unique_ptr<QSystemTrayIcon> m_icon;
    std::function<void(int)> m_handler;
};
