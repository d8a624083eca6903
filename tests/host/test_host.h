// A desktop host whose clock, events, window and controllers are played by
// the test, and a delegate that writes down every call it receives.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/glfw_game.h"
#include "runtime/runtime.h"

using Lines = std::vector<std::string>;

inline std::string Ints(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += (out.empty() ? "" : " ") + std::to_string(v);
  return out;
}

struct RecordingDelegate : BBGameDelegate {
  Lines* log = nullptr;
  std::function<void()> onUpdate, onRender;
  std::function<void(int, int)> onKey;
  bool* destroyed = nullptr;

  ~RecordingDelegate() override { destroyed && (*destroyed = true); }
  void StartGame() override { Write("start"); }
  void SuspendGame() override { Write("suspend"); }
  void ResumeGame() override { Write("resume"); }
  void UpdateGame() override { Write("update"), onUpdate ? onUpdate() : void(); }
  void RenderGame() override { Write("render"), onRender ? onRender() : void(); }
  void KeyEvent(int event, int data) override { Write("key " + Ints({event, data})), onKey ? onKey(event, data) : void(); }
  void MouseEvent(int event, int data, float x, float y) override { Write("mouse " + Ints({event, data, int(x), int(y)})); }
  void TouchEvent(int event, int data, float, float) override { Write("touch " + Ints({event, data})); }
  void DiscardGraphics() override { Write("discard"); }
  void Write(const std::string& line) { log && (log->push_back(line), true); }
};

struct TestHost : BBGlfwGame {
  double clock = 0;                // seconds
  int passLimit = 0;               // the window stays open for this many passes
  bool active = true;              // window focus
  double waitCost = 0;             // seconds a blocking wait takes
  std::function<void()> onEvents;  // runs inside each poll or wait
  Lines* log = nullptr;            // shared with the delegate
  Lines windows;                   // SetGlfwWindow calls
  BBJoystickReading devices[BB_JOY_SLOTS];

  TestHost() { gc_init(); }
  double Time() override { return clock; }
  void Sleep(double seconds) override { Write("sleep"), clock += seconds; }
  void PollEvents() override { Write("poll"), onEvents ? onEvents() : void(); }
  void WaitEvents() override { Write("wait"), clock += waitCost, onEvents ? onEvents() : void(); }
  bool WindowOpen() override { return passLimit-- > 0 && (Write("pass"), true); }
  bool WindowActive() override { return active; }
  void SwapBuffers() override {}
  void ReadJoystick(int device, BBJoystickReading* reading) override { *reading = devices[device]; }
  void SetGlfwWindow(int w, int h, int r, int g, int b, int a, int depth, int stencil, bool full) override {
    windows.push_back(Ints({w, h, r, g, b, a, depth, stencil, full}));
  }
  void Write(const std::string& line) { log && (log->push_back(line), true); }
};
