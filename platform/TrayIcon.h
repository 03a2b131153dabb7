#pragma once

#include <QIcon>
#include <QString>
#include <cstdint>
#include <functional>

class QMenu;
class QWidget;

// The notification-icon record, filled once by the clock window and sent with every command.
struct TrayIconData {
    static constexpr int kTipField = 64;

    uint32_t cbSize = 88;
    QWidget* window = nullptr;
    uint32_t uID = 1;
    uint32_t uFlags = 7;              // message, icon and tip are valid
    uint32_t uCallbackMessage = 519;  // reported to the window as a middle-button press
    QIcon hIcon;
    QString szTip;  // the tip, a NUL, then blanks to the end of the field

    static QString tipField(const QString& tip);
    // The text shown: the tip up to its NUL.
    QString tipText() const;
};

enum class TrayCommand : uint32_t { Add = 0, Modify = 1, Delete = 2 };

// The mouse message the icon reports to the clock window. A right press opens the icon's menu
// without the window: the tray shows it itself.
enum TrayMouseMessage : int { kTrayLeftDoubleClick = 515 };

class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    // Without a notification area every command does nothing.
    virtual void notify(TrayCommand command, const TrayIconData& data) = 0;
    virtual void setMouseHandler(std::function<void(int mouseMessage)> handler) = 0;
    // The menu a right press on the icon opens.
    virtual void setMenu(QMenu* menu) = 0;
};
