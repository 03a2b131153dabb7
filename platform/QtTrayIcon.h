#pragma once

#include <memory>

#include "platform/TrayIcon.h"

class QSystemTrayIcon;

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
