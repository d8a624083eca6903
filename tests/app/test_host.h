// A host for framework tests: the real BBGame routing with the window,
// clock and controllers replaced by values the test sets.
#pragma once

#include <vector>

#include "host/game.h"
#include "runtime/runtime.h"

struct TestJoystick {
  float axes[6] = {0, 0, 0, 0, 0, 0};
  bool buttons[32] = {};
};

class TestHost : public BBGame {
 public:
  int deviceWidth = 640;
  int deviceHeight = 480;
  int millisecs = 0;
  std::vector<std::pair<int, int>> modes;
  bool hasDesktop = true;
  int desktopWidth = 1920;
  int desktopHeight = 1080;
  std::vector<TestJoystick> joysticks;  // one per present unit, from unit 0
  std::vector<int> polledUnits;
  String savedState;

  TestHost() { gc_init(); }

  int Millisecs() override { return millisecs; }
  int GetDeviceWidth() override { return deviceWidth; }
  int GetDeviceHeight() override { return deviceHeight; }
  String LoadState() override { return savedState; }
  int SaveState(String state) override {
    savedState = state;
    return 0;
  }

  Array<BBDisplayMode*> GetDisplayModes() override {
    Array<BBDisplayMode*> out(static_cast<int>(modes.size()));
    for (int i = 0; i < out.Length(); ++i) {
      BBDisplayMode* mode = new BBDisplayMode;
      mode->width = modes[i].first;
      mode->height = modes[i].second;
      gc_assign(out[i], mode);
    }
    return out;
  }

  BBDisplayMode* GetDesktopMode() override {
    if (!hasDesktop) return nullptr;
    BBDisplayMode* mode = new BBDisplayMode;
    mode->width = desktopWidth;
    mode->height = desktopHeight;
    return mode;
  }

  bool PollJoystick(int unit, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                    Array<bool> buttons) override {
    polledUnits.push_back(unit);
    if (unit < 0 || unit >= static_cast<int>(joysticks.size())) return false;
    const TestJoystick& joy = joysticks[unit];
    for (int stick = 0; stick < 2; ++stick) {
      joyx[stick] = joy.axes[stick * 3];
      joyy[stick] = joy.axes[stick * 3 + 1];
      joyz[stick] = joy.axes[stick * 3 + 2];
    }
    for (int b = 0; b < 32; ++b) buttons[b] = joy.buttons[b];
    return true;
  }
};
