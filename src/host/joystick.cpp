// Game controllers: choosing which devices take the four player ports and
// mapping each device onto the framework's sticks and buttons.
#include "host/joystick.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cctype>

#include "host/glfw_game.h"

namespace {

// Words in the names of input devices that the system lists as joysticks
// although no player would ever hold them.
const char* const kNotControllers[] = {
    "touchpad", "trackpad", "touch pad", "mouse",   "pen",           "stylus",
    "tablet",   "finger",   "digitizer", "touchscreen", "touch screen", "accelerometer",
    "motion sensor", "keyboard", "wacom",
};

std::string Lower(const std::string& s) {
  std::string out(s);
  for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// The layout the framework's controller tables were written for: real
// buttons first, then the first hat as four buttons left, up, right, down,
// at most 32 in all; y axes read positive when pushed up.
struct LegacyDevice {
  float axes[6] = {};
  bool buttons[BB_JOY_BUTTONS] = {};
  int buttonCount = 0;
  int axisCount = 0;
};

LegacyDevice Legacy(const BBJoystickReading& r) {
  LegacyDevice d;
  d.axisCount = r.axisCount;
  for (int i = 0; i < 6 && i < r.axisCount && i < BB_JOY_MAX_AXES; ++i) {
    d.axes[i] = (i & 1) ? -r.axes[i] : r.axes[i];
  }
  int n = 0;
  for (int i = 0; i < r.buttonCount && i < BB_JOY_MAX_BUTTONS && n < BB_JOY_BUTTONS; ++i) {
    d.buttons[n++] = r.buttons[i] != 0;
  }
  if (r.hatCount > 0) {
    const unsigned char order[4] = {BB_HAT_LEFT, BB_HAT_UP, BB_HAT_RIGHT, BB_HAT_DOWN};
    for (unsigned char bit : order) {
      if (n < BB_JOY_BUTTONS) d.buttons[n++] = (r.hat & bit) != 0;
    }
  }
  d.buttonCount = n;
  return d;
}

bool LegacyButton(const LegacyDevice& d, int source) {
  if (source < 0) source += d.buttonCount;
  return source >= 0 && source < d.buttonCount && d.buttons[source];
}

void MapLegacy(const BBJoystickReading& r, float sticks[6], bool buttons[BB_JOY_BUTTONS]) {
  LegacyDevice d = Legacy(r);
  // Layout A: four-way hat plus ten buttons and a shared trigger axis.
  bool layoutA = d.buttonCount == 14 && d.axisCount == 5;
  const float* a = d.axes;
  if (layoutA) {
    sticks[0] = a[0];
    sticks[1] = a[1];
    sticks[2] = a[2];
    sticks[3] = a[4];
    sticks[4] = -a[3];
    sticks[5] = -a[2];
  } else {
    sticks[0] = a[0];
    sticks[1] = a[1];
    sticks[2] = LegacyButton(d, 6) ? 1.0f : 0.0f;
    sticks[3] = a[2];
    sticks[4] = -a[3];
    sticks[5] = LegacyButton(d, 7) ? 1.0f : 0.0f;
  }
  static const int kSourceA[14] = {0, 1, 2, 3, 4, 5, 6, 7, -4, -3, -2, -1, 8, 9};
  static const int kSourceB[14] = {1, 2, 0, 3, 4, 5, 8, 9, -4, -3, -2, -1, 10, 11};
  const int* source = layoutA ? kSourceA : kSourceB;
  for (int b = 0; b < 14; ++b) buttons[b] = LegacyButton(d, source[b]);
}

// A device GLFW knows the layout of: every button lands by meaning. The
// sticks keep the framework's conventions (left y positive up, right y
// positive down, triggers 0 released to 1 pulled).
void MapGamepad(const BBJoystickReading& r, float sticks[6], bool buttons[BB_JOY_BUTTONS]) {
  const float* a = r.padAxes;
  sticks[0] = a[GLFW_GAMEPAD_AXIS_LEFT_X];
  sticks[1] = -a[GLFW_GAMEPAD_AXIS_LEFT_Y];
  sticks[2] = (a[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] + 1.0f) * 0.5f;
  sticks[3] = a[GLFW_GAMEPAD_AXIS_RIGHT_X];
  sticks[4] = a[GLFW_GAMEPAD_AXIS_RIGHT_Y];
  sticks[5] = (a[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] + 1.0f) * 0.5f;
  static const int kPadSource[15] = {
      GLFW_GAMEPAD_BUTTON_A,          GLFW_GAMEPAD_BUTTON_B,
      GLFW_GAMEPAD_BUTTON_X,          GLFW_GAMEPAD_BUTTON_Y,
      GLFW_GAMEPAD_BUTTON_LEFT_BUMPER, GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER,
      GLFW_GAMEPAD_BUTTON_BACK,       GLFW_GAMEPAD_BUTTON_START,
      GLFW_GAMEPAD_BUTTON_DPAD_LEFT,  GLFW_GAMEPAD_BUTTON_DPAD_UP,
      GLFW_GAMEPAD_BUTTON_DPAD_RIGHT, GLFW_GAMEPAD_BUTTON_DPAD_DOWN,
      GLFW_GAMEPAD_BUTTON_LEFT_THUMB, GLFW_GAMEPAD_BUTTON_RIGHT_THUMB,
      GLFW_GAMEPAD_BUTTON_GUIDE,
  };
  for (int b = 0; b < 15; ++b) buttons[b] = r.padButtons[kPadSource[b]] == GLFW_PRESS;
}

}  // namespace

bool BBIsGameController(const BBJoystickReading& r) {
  if (!r.present) return false;
  if (r.gamepad) return true;
  std::string name = Lower(r.name);
  for (const char* word : kNotControllers) {
    if (name.find(word) != std::string::npos) return false;
  }
  // Something to steer with and something to press.
  return (r.axisCount >= 2 || r.hatCount >= 1) && r.buttonCount >= 2;
}

void BBAssignJoystickUnits(const BBJoystickReading* readings, int count, int units[BB_JOY_UNITS]) {
  int unit = 0;
  for (int device = 0; device < count && unit < BB_JOY_UNITS; ++device) {
    if (BBIsGameController(readings[device])) units[unit++] = device;
  }
  while (unit < BB_JOY_UNITS) units[unit++] = -1;
}

void BBMapJoystick(const BBJoystickReading& r, float sticks[6], bool buttons[BB_JOY_BUTTONS]) {
  std::fill(sticks, sticks + 6, 0.0f);
  std::fill(buttons, buttons + BB_JOY_BUTTONS, false);
  if (r.gamepad) {
    MapGamepad(r, sticks, buttons);
  } else {
    MapLegacy(r, sticks, buttons);
  }
}

void BBGlfwGame::ReadJoystick(int device, BBJoystickReading* reading) {
  *reading = BBJoystickReading();
  if (!glfwJoystickPresent(device)) return;
  reading->present = true;
  const char* name = glfwGetJoystickName(device);
  if (name) reading->name = name;

  int count = 0;
  const float* axes = glfwGetJoystickAxes(device, &count);
  reading->axisCount = axes ? std::min(count, BB_JOY_MAX_AXES) : 0;
  for (int i = 0; i < reading->axisCount; ++i) reading->axes[i] = axes[i];

  // Hats are read as hats (GLFW is started without hat buttons), so the
  // button list holds only real buttons.
  const unsigned char* buttons = glfwGetJoystickButtons(device, &count);
  reading->buttonCount = buttons ? std::min(count, BB_JOY_MAX_BUTTONS) : 0;
  for (int i = 0; i < reading->buttonCount; ++i) reading->buttons[i] = buttons[i];

  const unsigned char* hats = glfwGetJoystickHats(device, &count);
  reading->hatCount = hats ? count : 0;
  reading->hat = (hats && count > 0) ? hats[0] : 0;

  GLFWgamepadstate state;
  if (glfwJoystickIsGamepad(device) && glfwGetGamepadState(device, &state)) {
    reading->gamepad = true;
    std::copy(state.axes, state.axes + 6, reading->padAxes);
    std::copy(state.buttons, state.buttons + 15, reading->padButtons);
  }
}

bool BBGlfwGame::PollJoystick(int unit, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                              Array<bool> buttons) {
  // Unit 0 is polled first in every update; a rescan there picks up
  // controllers plugged in since the last one.
  if (unit == 0) {
    BBJoystickReading readings[BB_JOY_SLOTS];
    for (int device = 0; device < BB_JOY_SLOTS; ++device) ReadJoystick(device, &readings[device]);
    BBAssignJoystickUnits(readings, BB_JOY_SLOTS, _joyUnits);
  }
  if (unit < 0 || unit >= BB_JOY_UNITS || _joyUnits[unit] < 0) return false;

  BBJoystickReading reading;
  ReadJoystick(_joyUnits[unit], &reading);
  if (!reading.present) return false;  // unplugged since the rescan

  float sticks[6];
  bool pressed[BB_JOY_BUTTONS];
  BBMapJoystick(reading, sticks, pressed);
  Array<float>* pairs[3] = {&joyx, &joyy, &joyz};
  for (int axis = 0; axis < 3; ++axis) {
    Array<float>& out = *pairs[axis];
    if (out.Length() > 0) out[0] = sticks[axis];
    if (out.Length() > 1) out[1] = sticks[axis + 3];
  }
  int n = std::min(buttons.Length(), BB_JOY_BUTTONS);
  for (int b = 0; b < n; ++b) buttons[b] = pressed[b];
  return true;
}
