#pragma once

#include <cstdint>

// Asks the window manager to make the X window active as a user's own request (a second start,
// a double-click on the icon). GNOME's and KDE's focus-stealing prevention refuse a program's
// request stamped older than the active window's last input; one marked as coming from a pager
// with the server's present time is taken as the user's. Does nothing without an X display.
void requestActiveWindowByUser(uint32_t window);
