// BBGame: the platform-neutral host. Holds the lifecycle flags, routes every
// event to the delegate behind its guard, and owns file access and the state
// file. The desktop host (BBGlfwGame) derives from it.
#pragma once

#include <cstdio>
#include <string>

#include "host/display_mode.h"
#include "host/events.h"
#include "host/game_delegate.h"
#include "runtime/runtime.h"

class BBGame {
 public:
  BBGame();
  virtual ~BBGame();

  // The one host of the process; set by the constructor.
  static BBGame* _game;

  virtual void SetDelegate(BBGameDelegate* delegate);
  virtual BBGameDelegate* Delegate();
  virtual void SetKeyboardEnabled(bool enabled);
  virtual bool KeyboardEnabled();
  virtual void SetUpdateRate(int hz);
  virtual int UpdateRate();
  virtual bool Started();
  virtual bool Suspended();
  virtual int Millisecs();
  virtual void GetDate(Array<int> date);
  // 0 when saved, -1 when the state file could not be created or replaced,
  // -2 when fewer bytes were written than encoded; errno tells why.
  virtual int SaveState(String state);
  virtual String LoadState();
  virtual String LoadString(String path);
  virtual bool PollJoystick(int unit, Array<float> joyx, Array<float> joyy,
                            Array<float> joyz, Array<bool> buttons);
  virtual void OpenUrl(String url);
  virtual void SetMouseVisible(bool visible);
  virtual int GetDeviceWidth();
  virtual int GetDeviceHeight();
  virtual void SetDeviceWindow(int width, int height, int flags);
  virtual Array<BBDisplayMode*> GetDisplayModes();
  virtual BBDisplayMode* GetDesktopMode();
  virtual void SetSwapInterval(int interval);
  virtual String PathToFilePath(String path);
  virtual FILE* OpenFile(String path, String mode);
  virtual unsigned char* LoadData(String path, int* length);
  virtual unsigned char* LoadImageData(String path, int* width, int* height, int* depth);
  virtual unsigned char* LoadAudioData(String path, int* length, int* channels,
                                       int* format, int* hertz);
  virtual void Die(ThrowableObject* ex);
  virtual void gc_collect();
  virtual void StartGame();
  virtual void SuspendGame();
  virtual void ResumeGame();
  virtual void UpdateGame();
  virtual void RenderGame();
  virtual void KeyEvent(int event, int data);
  virtual void MouseEvent(int event, int data, float x, float y);
  virtual void TouchEvent(int event, int data, float x, float y);
  virtual void MotionEvent(int event, int data, float x, float y, float z);
  virtual void DiscardGraphics();

  // Keeps a copy of the state file last loaded beside it (".bad"), for a
  // game that found part of it damaged. 0 when kept.
  int KeepStateCopy();

 protected:
  BBGameDelegate* _delegate = nullptr;
  bool _keyboardEnabled = false;
  int _updateRate = 0;
  bool _started = false;
  bool _suspended = false;

 private:
  // Runs one delegate call: a thrown object ends the program, and the
  // collector gets its step whatever happened.
  template <class Call>
  void Deliver(Call call);

  // Delegate calls in progress. A call made from inside another (keys
  // released while the game re-opens its window) gets no collector step of
  // its own: the game's unrooted locals are live until the outer call ends.
  int _callDepth = 0;

  // Moves an unusable state file out of the way of saves; false (errno set)
  // when it could not be moved.
  bool SetAsideUnusableState(const std::string& target);

  // The bytes of the state file last loaded, until a copy of them is kept.
  std::string _loadedState;
  // Why the state file could not be used, while it still stands in the way.
  std::string _unusableState;
};
