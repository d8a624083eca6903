// BBGlfwGame: construction, the update rate, the clock, and the thin
// platform hooks over GLFW that the frame loop and input code use.
#include "host/glfw_game.h"

#include <GLFW/glfw3.h>
#include <malloc.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>

BBGlfwGame* BBGlfwGame::_glfwGame = nullptr;

namespace {
// glibc's starting threshold for serving a block with its own mapping.
const int kMmapThreshold = 128 * 1024;
}  // namespace

// Every resize reloads all picture sheets and sounds, and each comes with
// blocks of megabytes (pixel copies, decoded samples). Left to itself glibc
// raises its mapping threshold after the first such block is freed and puts
// the next ones in the heap, where freeing them rarely returns memory: 300
// resizes then kept about 50 MB more. A fixed threshold keeps big blocks in
// mappings of their own, which go back to the system when freed.
BBGlfwGame::BBGlfwGame() {
  _glfwGame = this;
  mallopt(M_MMAP_THRESHOLD, kMmapThreshold);
}

BBGlfwGame::~BBGlfwGame() {
  if (_window) glfwDestroyWindow(_window);
  if (_glfwGame == this) _glfwGame = nullptr;
}

void BBGlfwGame::SetUpdateRate(int hz) {
  _updateRate = hz;
  if (hz != 0) _updatePeriod = 1.0 / hz;
  _nextUpdate = 0;
}

// Wraps like a 32-bit millisecond counter instead of overflowing after 24
// days of uptime.
int BBGlfwGame::Millisecs() {
  int64_t ms = int64_t(Time() * 1000.0);
  return int(uint32_t(uint64_t(ms)));
}

// The game carries on with its state in memory when a save fails, and the
// next save may well succeed; the player hears of a failure once, and again
// only after saving worked in between.
int BBGlfwGame::SaveState(String state) {
  int result = BBGame::SaveState(state);
  if (result != 0 && !_saveFailing)
    fprintf(stderr, "larkspin: cannot save ./.quillstate: %s\n", strerror(errno));
  _saveFailing = result != 0;
  return result;
}

String BBGlfwGame::LoadState() { return BBGame::LoadState(); }

void BBGlfwGame::SetDeviceWindow(int width, int height, int flags) {
  SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, (flags & 1) != 0);
}

void BBGlfwGame::SetSwapInterval(int interval) {
  _swapInterval = interval;
  // A negative interval leaves the driver's choice alone.
  if (interval >= 0 && _window) glfwSwapInterval(interval);
}

double BBGlfwGame::Time() { return glfwGetTime(); }

void BBGlfwGame::Sleep(double seconds) {
  if (!(seconds > 0)) return;
  struct timespec ts;
  ts.tv_sec = time_t(seconds);
  ts.tv_nsec = long((seconds - double(ts.tv_sec)) * 1e9);
  while (nanosleep(&ts, &ts) == -1 && errno == EINTR) {
  }
}

void BBGlfwGame::PollEvents() { glfwPollEvents(); }
void BBGlfwGame::WaitEvents() { glfwWaitEvents(); }

// The close button never closes the window (OnWindowClose keeps it open),
// so the window is open for as long as it exists.
bool BBGlfwGame::WindowOpen() { return _window && !glfwWindowShouldClose(_window); }

// Focus decides; an iconified window has lost focus anyway.
bool BBGlfwGame::WindowActive() {
  if (!_window) return false;
  (void)glfwGetWindowAttrib(_window, GLFW_ICONIFIED);
  return glfwGetWindowAttrib(_window, GLFW_FOCUSED) != 0;
}

void BBGlfwGame::SwapBuffers() {
  if (_window) glfwSwapBuffers(_window);
}
