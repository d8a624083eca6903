// What a window manager sends when the user presses a window's close button.
#pragma once

#include <X11/Xlib.h>

// Sends WM_DELETE_WINDOW to `window` on `display` and flushes.
void SendCloseRequest(Display* display, Window window);
