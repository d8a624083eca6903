// Game controllers: which devices may take a player port, and how a device's
// axes and buttons become the framework's two sticks, two triggers and
// buttons (0 A, 1 B, 2 X, 3 Y, 4/5 shoulders, 6 back, 7 start, 8-11 pad
// left/up/right/down, 12/13 stick clicks, 14 menu).
#pragma once

#include <string>

const int BB_JOY_SLOTS = 16;        // device numbers scanned for controllers
const int BB_JOY_UNITS = 4;         // player ports
const int BB_JOY_MAX_AXES = 16;
const int BB_JOY_MAX_BUTTONS = 64;
const int BB_JOY_BUTTONS = 32;      // framework buttons per unit

// Hat bits as the windowing library reports them.
const unsigned char BB_HAT_UP = 1;
const unsigned char BB_HAT_RIGHT = 2;
const unsigned char BB_HAT_DOWN = 4;
const unsigned char BB_HAT_LEFT = 8;

// One snapshot of a device, as read from the windowing library.
struct BBJoystickReading {
  bool present = false;
  std::string name;
  int axisCount = 0;
  float axes[BB_JOY_MAX_AXES] = {};
  int buttonCount = 0;
  unsigned char buttons[BB_JOY_MAX_BUTTONS] = {};
  int hatCount = 0;
  unsigned char hat = 0;  // the first hat's direction bits
  // Valid when the library knows the device's layout (a standard gamepad):
  // axes left x/y, right x/y, left/right trigger (-1 released .. 1 pulled);
  // buttons A, B, X, Y, LB, RB, back, start, guide, left/right stick click,
  // pad up, right, down, left.
  bool gamepad = false;
  float padAxes[6] = {};
  unsigned char padButtons[15] = {};
};

// Whether a present device may take a player port. Touchpads, pens, mice
// and motion sensors show up as joysticks on some systems; they never do.
bool BBIsGameController(const BBJoystickReading& reading);

// Assigns the first four controllers, in device-number order, to units
// 0..3; units left over get -1.
void BBAssignJoystickUnits(const BBJoystickReading* readings, int count,
                           int units[BB_JOY_UNITS]);

// Sticks come out as x0, y0, trigger0, x1, y1, trigger1.
void BBMapJoystick(const BBJoystickReading& reading, float sticks[6],
                   bool buttons[BB_JOY_BUTTONS]);
