// BBGame: lifecycle flags, guarded event routing, the per-call collector
// step, and the defaults a platform host may override.
#include "host/game.h"

#include <cstdlib>
#include <ctime>

BBGame* BBGame::_game = nullptr;

BBGame::BBGame() { _game = this; }

BBGame::~BBGame() {
  if (_game == this) _game = nullptr;
}

void BBGame::SetDelegate(BBGameDelegate* delegate) { _delegate = delegate; }
BBGameDelegate* BBGame::Delegate() { return _delegate; }
void BBGame::SetKeyboardEnabled(bool enabled) { _keyboardEnabled = enabled; }
bool BBGame::KeyboardEnabled() { return _keyboardEnabled; }
void BBGame::SetUpdateRate(int hz) { _updateRate = hz; }
int BBGame::UpdateRate() { return _updateRate; }
bool BBGame::Started() { return _started; }
bool BBGame::Suspended() { return _suspended; }
int BBGame::Millisecs() { return 0; }

void BBGame::GetDate(Array<int> date) {
  int n = date.Length();
  if (n <= 0) return;
  time_t now = time(nullptr);
  struct tm parts;
  localtime_r(&now, &parts);
  const int fields[7] = {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                         parts.tm_hour,        parts.tm_min,     parts.tm_sec, 0};
  for (int i = 0; i < n && i < 7; ++i) date[i] = fields[i];
}

bool BBGame::PollJoystick(int, Array<float>, Array<float>, Array<float>, Array<bool>) {
  return false;
}
void BBGame::OpenUrl(String) {}
void BBGame::SetMouseVisible(bool) {}
int BBGame::GetDeviceWidth() { return 0; }
int BBGame::GetDeviceHeight() { return 0; }
void BBGame::SetDeviceWindow(int, int, int) {}
Array<BBDisplayMode*> BBGame::GetDisplayModes() { return Array<BBDisplayMode*>(); }
BBDisplayMode* BBGame::GetDesktopMode() { return nullptr; }
void BBGame::SetSwapInterval(int) {}
String BBGame::PathToFilePath(String path) { return path; }
unsigned char* BBGame::LoadImageData(String, int*, int*, int*) { return nullptr; }
unsigned char* BBGame::LoadAudioData(String, int*, int*, int*, int*) { return nullptr; }

void BBGame::Die(ThrowableObject*) {
  bbPrint("Quill Runtime Error : Uncaught Quill Exception");
  exit(-1);
}

// The delegate is the root of everything the game can reach, so it is marked
// at every step rather than once per cycle like the module globals.
void BBGame::gc_collect() { gc_step(_delegate); }

template <class Call>
void BBGame::Deliver(Call call) {
  ++_callDepth;
  try {
    if (_delegate) call(_delegate);
  } catch (ThrowableObject* ex) {
    Die(ex);
  }
  if (--_callDepth == 0) gc_collect();
}

void BBGame::StartGame() {
  if (_started) return;
  _started = true;
  Deliver([](BBGameDelegate* d) { d->StartGame(); });
}

void BBGame::SuspendGame() {
  if (!_started || _suspended) return;
  _suspended = true;
  Deliver([](BBGameDelegate* d) { d->SuspendGame(); });
}

void BBGame::ResumeGame() {
  if (!_started || !_suspended) return;
  _suspended = false;
  Deliver([](BBGameDelegate* d) { d->ResumeGame(); });
}

void BBGame::UpdateGame() {
  if (!_started || _suspended) return;
  Deliver([](BBGameDelegate* d) { d->UpdateGame(); });
}

void BBGame::RenderGame() {
  if (!_started) return;
  Deliver([](BBGameDelegate* d) { d->RenderGame(); });
}

void BBGame::KeyEvent(int event, int data) {
  if (!_started) return;
  Deliver([=](BBGameDelegate* d) { d->KeyEvent(event, data); });
}

void BBGame::MouseEvent(int event, int data, float x, float y) {
  if (!_started) return;
  Deliver([=](BBGameDelegate* d) { d->MouseEvent(event, data, x, y); });
}

void BBGame::TouchEvent(int event, int data, float x, float y) {
  if (!_started) return;
  Deliver([=](BBGameDelegate* d) { d->TouchEvent(event, data, x, y); });
}

void BBGame::MotionEvent(int event, int data, float x, float y, float z) {
  if (!_started) return;
  Deliver([=](BBGameDelegate* d) { d->MotionEvent(event, data, x, y, z); });
}

void BBGame::DiscardGraphics() {
  if (!_started) return;
  Deliver([](BBGameDelegate* d) { d->DiscardGraphics(); });
}
