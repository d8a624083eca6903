// The screen check of the hostile-data test (see screen_probe.h).
#include "reliability/screen_probe.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

bool ScreenShowsSomething() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  Window root = DefaultRootWindow(display);
  XWindowAttributes attrs;
  XGetWindowAttributes(display, root, &attrs);
  XImage* image = XGetImage(display, root, 0, 0, attrs.width, attrs.height, AllPlanes, ZPixmap);
  bool varied = false;
  if (image) {
    unsigned long first = XGetPixel(image, 0, 0);
    for (int y = 0; y < attrs.height && !varied; y += 2)
      for (int x = 0; x < attrs.width && !varied; x += 2) varied = XGetPixel(image, x, y) != first;
    XDestroyImage(image);
  }
  XCloseDisplay(display);
  return varied;
}
