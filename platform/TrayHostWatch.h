#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <cstdint>

struct xcb_connection_t;

// Whether a notification area runs, and a signal when one may have started: an XEmbed tray (the
// owner of the X selection _NET_SYSTEM_TRAY_S<screen>) or a StatusNotifierItem host registered with
// org.kde.StatusNotifierWatcher. Qt picks one of the two once per process, when the first tray
// icon is made; an icon made before either exists never reaches a panel that starts later.
class TrayHostWatch final : public QObject, private QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit TrayHostWatch(QObject* parent = nullptr);
    ~TrayHostWatch() override;

    // Asks the X server and the bus each time: called only at start and on news of a tray.
    bool xembedTray() const;
    bool statusNotifierHost() const;

signals:
    // A tray may have started; ask again.
    void changed();

private slots:
    // QtDBus connects a bus signal only to a slot named by string.
    void hostRegistered();

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    xcb_connection_t* m_x = nullptr;
    uint32_t m_selection = 0;  // _NET_SYSTEM_TRAY_S<screen>
    uint32_t m_manager = 0;    // MANAGER: a new selection owner announces itself with it
};
