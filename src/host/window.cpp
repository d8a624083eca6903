// The one window: opening and re-opening it (windowed or full screen), its
// size, the display modes, the pointer, and GLFW's input callbacks turned
// into host events.
#include <GLFW/glfw3.h>

#include "host/glfw_game.h"

int glfwGraphicsSeq = 0;

namespace {

const int kMaxVideoModes = 1024;

const GLFWvidmode* DesktopVideoMode() {
  GLFWmonitor* monitor = glfwGetPrimaryMonitor();
  return monitor ? glfwGetVideoMode(monitor) : nullptr;
}

}  // namespace

// A key held across the switch would otherwise stay down in the game's
// input state for ever: the new window never saw it pressed.
void BBGlfwGame::ReleaseHeldKeys() {
  if (!_window) return;
  for (int key = GLFW_KEY_SPACE; key <= GLFW_KEY_LAST; ++key) {
    int code = KeyCode(key);
    if (code != 0 && glfwGetKey(_window, key) == GLFW_PRESS) KeyEvent(BBEVENT_KEY_UP, code);
  }
}

void BBGlfwGame::SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha,
                               int depth, int stencil, bool fullscreen) {
  ReleaseHeldKeys();

  GLFWmonitor* monitor = glfwGetPrimaryMonitor();
  const GLFWvidmode* desktop = DesktopVideoMode();
  int desktopWidth = desktop ? desktop->width : 0;
  int desktopHeight = desktop ? desktop->height : 0;

  if (_window) {
    // Callbacks off first: the old window's last events must not reach the
    // game after its keys have been released.
    glfwSetKeyCallback(_window, nullptr);
    glfwSetCharCallback(_window, nullptr);
    glfwSetMouseButtonCallback(_window, nullptr);
    glfwSetCursorPosCallback(_window, nullptr);
    glfwSetWindowCloseCallback(_window, nullptr);
    glfwDestroyWindow(_window);
    _window = nullptr;
  }

  glfwDefaultWindowHints();
  glfwWindowHint(GLFW_REFRESH_RATE, 60);
  glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
  glfwWindowHint(GLFW_RED_BITS, red);
  glfwWindowHint(GLFW_GREEN_BITS, green);
  glfwWindowHint(GLFW_BLUE_BITS, blue);
  glfwWindowHint(GLFW_ALPHA_BITS, alpha);
  glfwWindowHint(GLFW_DEPTH_BITS, depth);
  glfwWindowHint(GLFW_STENCIL_BITS, stencil);

  if (fullscreen && monitor) {
    _window = glfwCreateWindow(width, height, "Larkspin", monitor, nullptr);
    // A full-screen window is the only thing on screen: it takes the
    // keyboard even where no window manager hands focus over.
    if (_window) glfwFocusWindow(_window);
  } else {
    // Placed while still hidden, so it never flashes up in a corner.
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    _window = glfwCreateWindow(width, height, "Larkspin", nullptr, nullptr);
    if (_window) {
      if (desktop) glfwSetWindowPos(_window, (desktopWidth - width) / 2, (desktopHeight - height) / 2);
      glfwShowWindow(_window);
    }
  }
  ++glfwGraphicsSeq;
  // A window that cannot be opened ends the frame loop; nothing else to do.
  if (!_window) return;

  glfwMakeContextCurrent(_window);
  if (_swapInterval >= 0) glfwSwapInterval(_swapInterval);
  InstallCallbacks();
  ApplyMouseVisibility();
}

void BBGlfwGame::InstallCallbacks() {
  glfwSetKeyCallback(_window, OnKey);
  glfwSetCharCallback(_window, OnChar);
  glfwSetMouseButtonCallback(_window, OnMouseButton);
  glfwSetCursorPosCallback(_window, OnMousePos);
  glfwSetWindowCloseCallback(_window, OnWindowClose);
}

int BBGlfwGame::GetDeviceWidth() {
  int width = 0, height = 0;
  if (_window) glfwGetWindowSize(_window, &width, &height);
  return width;
}

int BBGlfwGame::GetDeviceHeight() {
  int width = 0, height = 0;
  if (_window) glfwGetWindowSize(_window, &width, &height);
  return height;
}

Array<BBGlfwVideoMode*> BBGlfwGame::GetGlfwVideoModes() {
  GLFWmonitor* monitor = glfwGetPrimaryMonitor();
  int count = 0;
  const GLFWvidmode* modes = monitor ? glfwGetVideoModes(monitor, &count) : nullptr;
  if (!modes || count <= 0) return Array<BBGlfwVideoMode*>();
  if (count > kMaxVideoModes) count = kMaxVideoModes;
  Array<BBGlfwVideoMode*> result(count);
  for (int i = 0; i < count; ++i) {
    BBGlfwVideoMode* mode = new BBGlfwVideoMode;
    mode->width = modes[i].width;
    mode->height = modes[i].height;
    mode->redBits = modes[i].redBits;
    mode->greenBits = modes[i].greenBits;
    mode->blueBits = modes[i].blueBits;
    gc_assign(result[i], mode);
  }
  return result;
}

BBGlfwVideoMode* BBGlfwGame::GetGlfwDesktopMode() {
  const GLFWvidmode* desktop = DesktopVideoMode();
  if (!desktop) return nullptr;
  BBGlfwVideoMode* mode = new BBGlfwVideoMode;
  mode->width = desktop->width;
  mode->height = desktop->height;
  mode->redBits = desktop->redBits;
  mode->greenBits = desktop->greenBits;
  mode->blueBits = desktop->blueBits;
  return mode;
}

Array<BBDisplayMode*> BBGlfwGame::GetDisplayModes() {
  Array<BBGlfwVideoMode*> modes = GetGlfwVideoModes();
  int count = modes.Length();
  if (count == 0) return Array<BBDisplayMode*>();
  Array<BBDisplayMode*> result(count);
  for (int i = 0; i < count; ++i) {
    BBDisplayMode* mode = new BBDisplayMode;
    mode->width = modes[i]->width;
    mode->height = modes[i]->height;
    gc_assign(result[i], mode);
  }
  return result;
}

BBDisplayMode* BBGlfwGame::GetDesktopMode() {
  const GLFWvidmode* desktop = DesktopVideoMode();
  if (!desktop) return nullptr;
  BBDisplayMode* mode = new BBDisplayMode;
  mode->width = desktop->width;
  mode->height = desktop->height;
  return mode;
}

// Hidden, not captured: the game still reads the pointer's window position.
// GLFW keeps this per window, so every new window gets it re-applied.
void BBGlfwGame::SetMouseVisible(bool visible) {
  _mouseVisible = visible;
  ApplyMouseVisibility();
}

void BBGlfwGame::ApplyMouseVisibility() {
  if (!_window) return;
  glfwSetInputMode(_window, GLFW_CURSOR, _mouseVisible ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
}

// GLFW 3 reports a held key's repeats as their own action; they count as
// presses, so each repeats the key's character.
void BBGlfwGame::OnKey(GLFWwindow*, int key, int, int action, int) {
  int code = KeyCode(key);
  if (code == 0 || !_glfwGame) return;
  if (action == GLFW_RELEASE) {
    _glfwGame->KeyEvent(BBEVENT_KEY_UP, code);
  } else if (action == GLFW_PRESS || action == GLFW_REPEAT) {
    _glfwGame->KeyEvent(BBEVENT_KEY_DOWN, code);
    int chr = KeyToChar(code);
    if (chr != 0) _glfwGame->KeyEvent(BBEVENT_KEY_CHAR, chr);
  }
}

void BBGlfwGame::OnChar(GLFWwindow*, unsigned int chr) {
  if (_glfwGame) _glfwGame->KeyEvent(BBEVENT_KEY_CHAR, int(chr));
}

void BBGlfwGame::OnMouseButton(GLFWwindow* window, int button, int action, int) {
  if (button < 0 || button > 2 || !_glfwGame) return;
  double x = 0, y = 0;
  glfwGetCursorPos(window, &x, &y);
  if (action == GLFW_PRESS) {
    _glfwGame->MouseEvent(BBEVENT_MOUSE_DOWN, button, float(x), float(y));
  } else if (action == GLFW_RELEASE) {
    _glfwGame->MouseEvent(BBEVENT_MOUSE_UP, button, float(x), float(y));
  }
}

void BBGlfwGame::OnMousePos(GLFWwindow*, double x, double y) {
  if (_glfwGame) _glfwGame->MouseEvent(BBEVENT_MOUSE_MOVE, -1, float(x), float(y));
}

// The close button is a request the game answers (normally by ending);
// the window itself stays open.
void BBGlfwGame::OnWindowClose(GLFWwindow* window) {
  if (_glfwGame) {
    _glfwGame->KeyEvent(BBEVENT_KEY_DOWN, BBKEY_CLOSE);
    _glfwGame->KeyEvent(BBEVENT_KEY_UP, BBKEY_CLOSE);
  }
  glfwSetWindowShouldClose(window, GLFW_FALSE);
}
