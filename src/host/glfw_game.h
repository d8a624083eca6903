// BBGlfwGame: the desktop host on GLFW 3 and OpenGL. One window, the frame
// loop with its fixed update rate, keyboard/mouse/controller input, display
// modes, and the "quill://" path mapping.
#pragma once

#include "host/game.h"
#include "host/joystick.h"

struct GLFWwindow;

// Number of windows (and so OpenGL contexts) opened so far; the renderer
// compares it with the value its textures were made under.
extern int glfwGraphicsSeq;

class BBGlfwGame : public BBGame {
 public:
  BBGlfwGame();
  ~BBGlfwGame() override;

  // The same object as BBGame::_game; GLFW's callbacks reach the host here.
  static BBGlfwGame* _glfwGame;

  void SetUpdateRate(int hz) override;
  int Millisecs() override;
  int SaveState(String state) override;
  String LoadState() override;
  bool PollJoystick(int unit, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                    Array<bool> buttons) override;
  void OpenUrl(String url) override;
  void SetMouseVisible(bool visible) override;
  int GetDeviceWidth() override;
  int GetDeviceHeight() override;
  void SetDeviceWindow(int width, int height, int flags) override;
  Array<BBDisplayMode*> GetDisplayModes() override;
  BBDisplayMode* GetDesktopMode() override;
  void SetSwapInterval(int interval) override;
  String PathToFilePath(String path) override;
  unsigned char* LoadImageData(String path, int* width, int* height, int* depth) override;
  unsigned char* LoadAudioData(String path, int* length, int* channels, int* format,
                               int* hertz) override;

  // Closes the current window (if any) and opens a new one.
  virtual void SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha,
                             int depth, int stencil, bool fullscreen);
  virtual BBGlfwVideoMode* GetGlfwDesktopMode();
  virtual Array<BBGlfwVideoMode*> GetGlfwVideoModes();
  // The frame loop; returns when the window is gone.
  virtual void Run();

  // The current window, null before the first one opens or if opening failed.
  GLFWwindow* GlfwWindow() const { return _window; }

  // GLFW key number to the framework's key code (0: not reported), and the
  // character a key press also produces (0: none). KeyCode is TransKey with
  // printable keys named by the active keyboard layout (needs GLFW).
  static int TransKey(int glfwKey);
  static int KeyCode(int glfwKey);
  static int KeyToChar(int code);

 protected:
  // What the frame loop and the joystick poll need from the platform. Kept
  // apart so the loop's scheduling can run against a controlled clock.
  virtual double Time();
  virtual void Sleep(double seconds);
  virtual void PollEvents();
  virtual void WaitEvents();
  virtual bool WindowOpen();
  virtual bool WindowActive();
  virtual void SwapBuffers();
  virtual void ReadJoystick(int device, BBJoystickReading* reading);

  // One pass's catch-up updates (at most four) on the fixed schedule.
  void RunScheduledUpdates();

  double _updatePeriod = 0;
  double _nextUpdate = 0;
  String _baseDir;
  String _internalDir;
  int _swapInterval = 1;

 private:
  void ReleaseHeldKeys();
  void InstallCallbacks();
  void ApplyMouseVisibility();

  static void OnKey(GLFWwindow* window, int key, int scancode, int action, int mods);
  static void OnChar(GLFWwindow* window, unsigned int chr);
  static void OnMouseButton(GLFWwindow* window, int button, int action, int mods);
  static void OnMousePos(GLFWwindow* window, double x, double y);
  static void OnWindowClose(GLFWwindow* window);

  GLFWwindow* _window = nullptr;
  bool _mouseVisible = true;
  bool _saveFailing = false;  // the last save failed and was reported
  int _joyUnits[BB_JOY_UNITS] = {-1, -1, -1, -1};
};
