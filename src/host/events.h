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

// Key codes: keyboard keys, mouse buttons, controller buttons and touches
// share one space of 512 codes. Letters and digits are named by their label
// and count up from BBKEY_A and BBKEY_0.
enum BBKeyCode {
  BBKEY_LMB = 1,  // mouse buttons: BBKEY_LMB + button
  BBKEY_RMB = 2,
  BBKEY_MMB = 3,
  BBKEY_BACKSPACE = 8,
  BBKEY_TAB = 9,
  BBKEY_ENTER = 13,
  BBKEY_SHIFT = 16,    // either
  BBKEY_CONTROL = 17,  // either
  BBKEY_ESCAPE = 27,
  BBKEY_SPACE = 32,
  BBKEY_PAGEUP = 33,
  BBKEY_PAGEDOWN = 34,
  BBKEY_END = 35,
  BBKEY_HOME = 36,
  BBKEY_LEFT = 37,
  BBKEY_UP = 38,
  BBKEY_RIGHT = 39,
  BBKEY_DOWN = 40,
  BBKEY_INSERT = 45,
  BBKEY_DELETE = 46,
  BBKEY_0 = 48,
  BBKEY_A = 65, BBKEY_B, BBKEY_C, BBKEY_D, BBKEY_E, BBKEY_F, BBKEY_G, BBKEY_H, BBKEY_I,
  BBKEY_J, BBKEY_K, BBKEY_L, BBKEY_M, BBKEY_N, BBKEY_O, BBKEY_P, BBKEY_Q, BBKEY_R,
  BBKEY_S, BBKEY_T, BBKEY_U, BBKEY_V, BBKEY_W, BBKEY_X, BBKEY_Y, BBKEY_Z,
  BBKEY_NUMPAD0 = 96,
  BBKEY_NUMMULTIPLY = 106,
  BBKEY_NUMADD = 107,
  BBKEY_NUMSUBTRACT = 109,
  BBKEY_NUMDECIMAL = 110,
  BBKEY_NUMDIVIDE = 111,
  BBKEY_F1 = 112, BBKEY_F2, BBKEY_F3, BBKEY_F4, BBKEY_F5, BBKEY_F6,
  BBKEY_F7, BBKEY_F8, BBKEY_F9, BBKEY_F10, BBKEY_F11, BBKEY_F12,
  BBKEY_SEMICOLON = 186,
  BBKEY_EQUALS = 187,
  BBKEY_COMMA = 188,
  BBKEY_MINUS = 189,
  BBKEY_PERIOD = 190,
  BBKEY_SLASH = 191,
  BBKEY_TILDE = 192,  // also back quote
  BBKEY_OPENBRACKET = 219,
  BBKEY_BACKSLASH = 220,
  BBKEY_CLOSEBRACKET = 221,
  BBKEY_QUOTES = 222,  // also single quote
  BBKEY_JOY0 = 256,    // controller buttons: BBKEY_JOY0 + BBKEY_JOY_STRIDE * unit + button
  BBKEY_TOUCH0 = 384,  // touches: BBKEY_TOUCH0 + finger
  // Requests that arrive as keys so that the framework handles them like any
  // other key: a device's back button and the window's close button.
  BBKEY_BACK = 416,
  BBKEY_CLOSE = 432,
};
const int BBKEY_JOY_STRIDE = 32;

// Buttons of a game controller, as the host maps every pad onto them.
enum BBJoyButton {
  BBJOY_A = 0,
  BBJOY_B = 1,
  BBJOY_X = 2,
  BBJOY_Y = 3,
  BBJOY_LB = 4,
  BBJOY_RB = 5,
  BBJOY_BACK = 6,
  BBJOY_START = 7,
  BBJOY_LEFT = 8,
  BBJOY_UP = 9,
  BBJOY_RIGHT = 10,
  BBJOY_DOWN = 11,
  BBJOY_MENU = 14,
};
