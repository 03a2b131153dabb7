#pragma once

// Under a Wayland session with XWayland, run on X11: a Wayland client cannot place its own
// window, and the clock is moved by dragging. Wayland stays the fallback when no X server can
// be reached. Call before the application object exists; true when the choice was made here.
bool preferXcbUnderWayland();

// Once the application exists: when X11 was preferred here and Qt fell back to Wayland, says
// once on stderr that the compositor then places the bar and keeps it on top or not.
void reportWaylandFallback(bool xcbPreferred);

// Repaints go to the X server over the connection rather than through shared memory, unless
// the user chose: with shared memory Qt waits for the server before each repaint of what it
// showed last, which wakes the clock twice more every second for a few kilobytes. Call before
// the application object exists; true when the choice was made here, and the caller then
// clears it once the application exists, so that started programs do not inherit it.
bool preferImagesOverTheConnection();
