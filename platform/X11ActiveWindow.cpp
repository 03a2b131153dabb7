#include "platform/X11ActiveWindow.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr uint32_t kSourcePager = 2;

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const ReplyPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::strlen(name), name),
                              nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The server's present time: the stamp of a property change on a window of our own.
xcb_timestamp_t serverTime(xcb_connection_t* connection, xcb_window_t root) {
    const xcb_window_t probe = xcb_generate_id(connection);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, probe, root, -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, probe, XCB_ATOM_WM_NAME, XCB_ATOM_STRING,
                        8, 0, nullptr);
    xcb_flush(connection);
    xcb_timestamp_t time = XCB_CURRENT_TIME;
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        const bool notified = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY;
        if (notified) time = reinterpret_cast<xcb_property_notify_event_t*>(event)->time;
        std::free(event);
        if (notified) break;
    }
    xcb_destroy_window(connection, probe);
    return time;
}

}  // namespace

void requestActiveWindowByUser(uint32_t window) {
    // A connection of its own, so the probe's event never reaches Qt's.
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) == 0) {
        const ReplyPtr<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr),
            &std::free);
        const xcb_atom_t activeWindow = atom(connection, "_NET_ACTIVE_WINDOW");
        if (geometry && activeWindow != XCB_ATOM_NONE) {
            xcb_client_message_event_t message{};
            message.response_type = XCB_CLIENT_MESSAGE;
            message.format = 32;
            message.window = window;
            message.type = activeWindow;
            message.data.data32[0] = kSourcePager;
            message.data.data32[1] = serverTime(connection, geometry->root);
            const xcb_void_cookie_t sent = xcb_send_event_checked(
                connection, 0, geometry->root,
                XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                reinterpret_cast<const char*>(&message));
            // Waited for: a request still on its way when the connection closes can be lost.
            std::free(xcb_request_check(connection, sent));
        }
    }
    xcb_disconnect(connection);
}
