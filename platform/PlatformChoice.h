#pragma once

// Under a Wayland session with XWayland, run on X11: a Wayland client cannot place its own
// window, and the clock is moved by dragging. Call before the application object exists.
void preferXcbUnderWayland();
