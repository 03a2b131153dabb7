#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <memory>

#include "platform/ScreenMetrics.h"

namespace {
constexpr double kTwipsPerInch = 1440.0;

const QScreen* primary() { return QGuiApplication::primaryScreen(); }

template <typename Reply>
using XcbReply = std::unique_ptr<Reply, decltype(&free)>;

// The window's place relative to the root window, or nothing when the server cannot tell.
std::optional<QPoint> askX11(xcb_connection_t* connection, xcb_window_t window) {
    const XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr), &free);
    if (!geometry) return std::nullopt;
    const XcbReply<xcb_translate_coordinates_reply_t> place(
        xcb_translate_coordinates_reply(
            connection, xcb_translate_coordinates(connection, window, geometry->root, 0, 0),
            nullptr),
        &free);
    if (!place) return std::nullopt;
    return QPoint(place->dst_x, place->dst_y);
}

}  // namespace

double QtScreenMetrics::twipsPerPixelX() const {
    const QScreen* screen = primary();
    return screen ? kTwipsPerInch / screen->logicalDotsPerInchX() : 15.0;
}

double QtScreenMetrics::twipsPerPixelY() const {
    const QScreen* screen = primary();
    return screen ? kTwipsPerInch / screen->logicalDotsPerInchY() : 15.0;
}

QSize QtScreenMetrics::screenSize() const {
    const QScreen* screen = primary();
    return screen ? screen->geometry().size() : QSize();
}

WorkArea QtScreenMetrics::GetWorkArea(const QRect& window) const {
    std::vector<ScreenArea> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.push_back({screen->geometry(), screen->availableGeometry()});
    return workAreaFor(window, screens);
}

QPoint QtScreenMetrics::windowPosition(const QWidget& window) const {
    // Before the native window exists, the place Qt holds is the one the program asked for.
    const WId id = window.internalWinId();
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (id == 0 || !x11) return window.pos();
    return askX11(x11->connection(), static_cast<xcb_window_t>(id)).value_or(window.pos());
}
