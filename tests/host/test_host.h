// A desktop host whose clock, events, window and controllers are played by
// the test, plus a delegate that writes down every call it receives.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/glfw_game.h"
#include "runtime/runtime.h"

// Every delegate call as one line, e.g. "update", "key 1 65".
class RecordingDelegate : public BBGameDelegate {
 public:
  std::vector<std::string>* log = nullptr;
  std::function<void()> onUpdate;
  std::function<void()> onRender;
  std::function<void(int, int)> onKey;
  bool* destroyed = nullptr;

  ~RecordingDelegate() override {
    if (destroyed) *destroyed = true;
  }

  void StartGame() override { Write("start"); }
  void SuspendGame() override { Write("suspend"); }
  void ResumeGame() override { Write("resume"); }
  void UpdateGame() override {
    Write("update");
    if (onUpdate) onUpdate();
  }
  void RenderGame() override {
    Write("render");
    if (onRender) onRender();
  }
  void KeyEvent(int event, int data) override {
    Write("key " + std::to_string(event) + " " + std::to_string(data));
    if (onKey) onKey(event, data);
  }
  void MouseEvent(int event, int data, float x, float y) override {
    Write("mouse " + std::to_string(event) + " " + std::to_string(data) + " " +
          std::to_string(int(x)) + " " + std::to_string(int(y)));
  }
  void TouchEvent(int event, int data, float, float) override {
    Write("touch " + std::to_string(event) + " " + std::to_string(data));
  }
  void MotionEvent(int event, int, float, float, float) override {
    Write("motion " + std::to_string(event));
  }
  void DiscardGraphics() override { Write("discard"); }

 private:
  void Write(const std::string& line) {
    if (log) log->push_back(line);
  }
};

class TestHost : public BBGlfwGame {
 public:
  double clock = 0;           // seconds
  int passLimit = 0;          // the window is open for this many passes
  int passes = 0;
  bool active = true;         // window focus
  double waitCost = 0;        // seconds a blocking wait takes
  std::function<void()> onEvents;  // runs inside each poll or wait
  std::vector<std::string>* log = nullptr;  // shared with the delegate
  std::vector<std::string> windows;         // SetGlfwWindow calls
  BBJoystickReading devices[BB_JOY_SLOTS];

  TestHost() { gc_init(); }

  double Time() override { return clock; }
  void Sleep(double seconds) override {
    Write("sleep");
    clock += seconds;
  }
  void PollEvents() override {
    Write("poll");
    if (onEvents) onEvents();
  }
  void WaitEvents() override {
    Write("wait");
    clock += waitCost;
    if (onEvents) onEvents();
  }
  bool WindowOpen() override {
    if (passes >= passLimit) return false;
    ++passes;
    Write("pass");
    return true;
  }
  bool WindowActive() override { return active; }
  void SwapBuffers() override {}
  void ReadJoystick(int device, BBJoystickReading* reading) override {
    *reading = devices[device];
  }
  void SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                     int stencil, bool fullscreen) override {
    windows.push_back(std::to_string(width) + "x" + std::to_string(height) + " " +
                      std::to_string(red) + std::to_string(green) + std::to_string(blue) +
                      std::to_string(alpha) + std::to_string(depth) + std::to_string(stencil) +
                      (fullscreen ? " full" : " window"));
  }

  double NextUpdate() const { return _nextUpdate; }

 private:
  void Write(const std::string& line) {
    if (log) log->push_back(line);
  }
};

// Splits a log into passes: the entries after each "pass" marker.
std::vector<std::vector<std::string>> SplitPasses(const std::vector<std::string>& log);

// How often `entry` occurs in a pass.
int Count(const std::vector<std::string>& pass, const std::string& entry);

// Output and exit status of `body` run in a forked child.
struct ChildOutcome {
  int status = -1;  // exit status; -1 when killed by a signal
  std::string out;
};
ChildOutcome RunChild(const std::function<void()>& body);
