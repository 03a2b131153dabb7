#include "platform/TrayHostWatch.h"

#include <xcb/xcb.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <cstdlib>

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

uint32_t internAtom(xcb_connection_t* x, const QByteArray& name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        x, xcb_intern_atom(x, 0, static_cast<uint16_t>(name.size()), name.constData()), nullptr);
    const uint32_t atom = reply ? reply->atom : uint32_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

// The screen of $DISPLAY, which Qt opened.
int displayScreen() {
    char* host = nullptr;
    int display = 0;
    int screen = 0;
    if (!xcb_parse_display(nullptr, &host, &display, &screen)) screen = 0;
    std::free(host);
    return screen;
}

}  // namespace

TrayHostWatch::TrayHostWatch(QObject* parent) : QObject(parent) {
    const auto* watcher = new QDBusServiceWatcher(kWatcherService, QDBusConnection::sessionBus(),
                                                  QDBusServiceWatcher::WatchForRegistration, this);
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, &TrayHostWatch::changed);
    // A panel's watcher may come up before its host registers.
    QDBusConnection::sessionBus().connect(QString(), kWatcherPath, kWatcherService,
                                          QStringLiteral("StatusNotifierHostRegistered"), this,
                                          SLOT(hostRegistered()));
    // Offscreen answers as an X11 application too, but without a connection.
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return;
    m_x = x11->connection();
    m_selection = internAtom(m_x, "_NET_SYSTEM_TRAY_S" + QByteArray::number(displayScreen()));
    m_manager = internAtom(m_x, "MANAGER");
    // A new tray owner sends MANAGER to the root window, which Qt listens to already.
    QCoreApplication::instance()->installNativeEventFilter(this);
}

TrayHostWatch::~TrayHostWatch() = default;

bool TrayHostWatch::xembedTray() const {
    if (!m_x) return false;
    xcb_get_selection_owner_reply_t* reply =
        xcb_get_selection_owner_reply(m_x, xcb_get_selection_owner(m_x, m_selection), nullptr);
    const bool owned = reply && reply->owner != XCB_NONE;
    std::free(reply);
    return owned;
}

bool TrayHostWatch::statusNotifierHost() const {
    QDBusMessage get = QDBusMessage::createMethodCall(
        kWatcherService, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << kWatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    // Only a panel already running counts; the bus must not start one for this question.
    get.setAutoStartService(false);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(get);
    return reply.type() == QDBusMessage::ReplyMessage &&
           reply.arguments().value(0).value<QDBusVariant>().variant().toBool();
}

void TrayHostWatch::hostRegistered() { emit changed(); }

bool TrayHostWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) return false;
    const auto* client = static_cast<const xcb_client_message_event_t*>(message);
    // Queued: the receiver makes windows, which it must not do while Qt dispatches X events.
    if (client->type == m_manager && client->data.data32[1] == m_selection)
        QMetaObject::invokeMethod(this, &TrayHostWatch::changed, Qt::QueuedConnection);
    return false;
}
