// The application framework: the application base class and the app
// module's functions through which the game reaches the host. Including
// this header brings the whole framework (input, random, math, display modes).
#pragma once

#include "app/displaymode.h"
#include "app/input.h"
#include "app/mathfuncs.h"
#include "app/random.h"
#include "runtime/runtime.h"

class BBGame;
class c_GameDelegate;

class c_App : public Object {
 public:
  c_App* m_new();

  virtual int p_OnCreate();
  virtual int p_OnSuspend();
  virtual int p_OnResume();
  virtual int p_OnUpdate();
  virtual int p_OnRender();

  int p_OnLoading();
  int p_OnResize();
  int p_OnClose();
  int p_OnBack();
};

extern c_App* bb_app__app;
extern c_GameDelegate* bb_app__delegate;
extern BBGame* bb_app__game;
extern int bb_app__devWidth;
extern int bb_app__devHeight;
extern Array<c_DisplayMode*> bb_app__displayModes;
extern c_DisplayMode* bb_app__desktopMode;
extern int bb_app__updateRate;

int bb_app_SetUpdateRate(int hz);
int bb_app_Millisecs();
int bb_app_DeviceWidth();
int bb_app_DeviceHeight();
int bb_app_ValidateDeviceWindow(bool notifyApp);
String bb_app_LoadState();
int bb_app_SaveState(String state);
// Keeps the bytes of the state last loaded beside the state file.
int bb_app_KeepStateCopy();
int bb_app_EndApp();
int bb_app_EnumDisplayModes();

// Sets the framework's module globals (app, input and random) to their
// start-up values and, the first time, registers them with the collector.
// Run by the module initialiser once the host object exists.
void bb_app_Init();
