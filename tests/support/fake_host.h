// The one host without a window, for the framework's tests, the game's tests
// and the soak: a clock and device size the caller sets, the state file kept
// in memory, display modes and controllers the test supplies, and the sound
// files the game asks for written down.
#pragma once

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "host/game.h"
#include "runtime/runtime.h"

struct FakeJoystick {
  float axes[6] = {0, 0, 0, 0, 0, 0};  // x, y, z of stick 0, then of stick 1
  bool buttons[32] = {};
};

class FakeHost : public BBGame {
 public:
  int millis = 0;
  int width = 640;
  int height = 480;
  String state;
  int saves = 0;
  std::vector<std::pair<int, int>> modes;
  bool hasDesktop = true;
  int desktopWidth = 1920;
  int desktopHeight = 1080;
  std::vector<FakeJoystick> joysticks;  // one per present unit, from unit 0
  std::vector<int> polledUnits;
  std::vector<std::string> audioRequests;
  bool provideAudio = false;  // answer audio requests with 10 ms of silence

  int Millisecs() override { return millis; }
  int GetDeviceWidth() override { return width; }
  int GetDeviceHeight() override { return height; }
  String LoadState() override { return state; }
  int SaveState(String s) override {
    state = s;
    ++saves;
    return 0;
  }

  Array<BBDisplayMode*> GetDisplayModes() override {
    Array<BBDisplayMode*> out(static_cast<int>(modes.size()));
    for (int i = 0; i < out.Length(); ++i) gc_assign(out[i], Mode(modes[i].first, modes[i].second));
    return out;
  }
  BBDisplayMode* GetDesktopMode() override {
    return hasDesktop ? Mode(desktopWidth, desktopHeight) : nullptr;
  }

  bool PollJoystick(int unit, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                    Array<bool> buttons) override {
    polledUnits.push_back(unit);
    if (unit < 0 || unit >= static_cast<int>(joysticks.size())) return false;
    const FakeJoystick& joy = joysticks[unit];
    for (int stick = 0; stick < 2; ++stick) {
      joyx[stick] = joy.axes[stick * 3];
      joyy[stick] = joy.axes[stick * 3 + 1];
      joyz[stick] = joy.axes[stick * 3 + 2];
    }
    for (int b = 0; b < 32; ++b) buttons[b] = joy.buttons[b];
    return true;
  }

  unsigned char* LoadAudioData(String path, int* length, int* channels, int* format,
                               int* hertz) override {
    audioRequests.push_back(path.ToUtf8());
    if (!provideAudio) return nullptr;
    *length = 441;
    *channels = 1;
    *format = 2;
    *hertz = 44100;
    return static_cast<unsigned char*>(std::calloc(441, 2));
  }

 private:
  static BBDisplayMode* Mode(int w, int h) {
    BBDisplayMode* mode = new BBDisplayMode;
    mode->width = w;
    mode->height = h;
    return mode;
  }
};
