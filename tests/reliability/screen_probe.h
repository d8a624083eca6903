// Looks at what the X server shows; kept apart so Xlib's macros stay out
// of the test's own headers.
#pragma once

// True when the root window of the current display holds more than one
// colour; false when it is uniform or no display can be opened.
bool ScreenShowsSomething();
