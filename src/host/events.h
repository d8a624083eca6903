// Event kinds and the special key codes the host hands to the delegate.
#pragma once

enum BBEventKind {
  BBEVENT_KEY_DOWN = 1,
  BBEVENT_KEY_UP = 2,
  BBEVENT_KEY_CHAR = 3,
  BBEVENT_MOUSE_DOWN = 4,
  BBEVENT_MOUSE_UP = 5,
  BBEVENT_MOUSE_MOVE = 6,
  BBEVENT_TOUCH_DOWN = 7,
  BBEVENT_TOUCH_UP = 8,
  BBEVENT_TOUCH_MOVE = 9,
  BBEVENT_MOTION_ACCEL = 10,
};

// Requests that arrive as keys so that the framework handles them like any
// other key: the window's close button and a device's back button.
const int BBKEY_BACK = 416;
const int BBKEY_CLOSE = 432;
