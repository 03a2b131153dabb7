#pragma once

// Under a Wayland session with XWayland, run on X11: a Wayland client cannot place its own
// window, and the clock is moved by dragging. Call before the application object exists.
void preferXcbUnderWayland();

// Repaints go to the X server over the connection rather than through shared memory, unless
// the user chose: with shared memory Qt waits for the server before each repaint of what it
// showed last, which wakes the clock twice more every second for a few kilobytes. Call before
// the application object exists; true when the choice was made here, and the caller then
// clears it once the application exists, so that started programs do not inherit it.
bool preferImagesOverTheConnection();
