// Application lifecycle and the app module's functions.
#include "app/app.h"

#include "app/gamedelegate.h"
#include "app/map.h"
#include "app/stack.h"
#include "host/game.h"

c_App* bb_app__app = nullptr;
c_GameDelegate* bb_app__delegate = nullptr;
BBGame* bb_app__game = nullptr;
int bb_app__devWidth = 0;
int bb_app__devHeight = 0;
Array<c_DisplayMode*> bb_app__displayModes;
c_DisplayMode* bb_app__desktopMode = nullptr;
int bb_app__updateRate = 0;

namespace {

void markRoots() {
  gc_enqueue(bb_app__app);
  gc_enqueue(bb_app__delegate);
  gc_enqueue(bb_app__displayModes);
  gc_enqueue(bb_app__desktopMode);
  gc_enqueue(bb_input_device);
}

// Modes differing only in depth or refresh rate share one key.
int modeKey(int width, int height) {
  return static_cast<int>((static_cast<unsigned>(width) << 16) | static_cast<unsigned>(height));
}

}  // namespace

c_App* c_App::m_new() {
  if (bb_app__app) bbError(String("App has already been created"));
  gc_assign(bb_app__app, this);
  gc_assign(bb_app__delegate, (new c_GameDelegate)->m_new());
  bb_app__game->SetDelegate(bb_app__delegate);
  return this;
}

int c_App::p_OnCreate() { return 0; }
int c_App::p_OnSuspend() { return 0; }
int c_App::p_OnResume() { return 0; }
int c_App::p_OnUpdate() { return 0; }
int c_App::p_OnRender() { return 0; }
int c_App::p_OnLoading() { return 0; }
int c_App::p_OnResize() { return 0; }

int c_App::p_OnClose() {
  bb_app_EndApp();
  return 0;
}

int c_App::p_OnBack() {
  bb_app_EndApp();
  return 0;
}

int bb_app_SetUpdateRate(int hz) {
  bb_app__updateRate = hz;
  bb_app__game->SetUpdateRate(hz);
  return 0;
}

int bb_app_Millisecs() { return bb_app__game->Millisecs(); }

int bb_app_DeviceWidth() { return bb_app__devWidth; }

int bb_app_DeviceHeight() { return bb_app__devHeight; }

int bb_app_ValidateDeviceWindow(bool notifyApp) {
  int width = bb_app__game->GetDeviceWidth();
  int height = bb_app__game->GetDeviceHeight();
  if (width == bb_app__devWidth && height == bb_app__devHeight) return 0;
  bb_app__devWidth = width;
  bb_app__devHeight = height;
  if (notifyApp && bb_app__app) bb_app__app->p_OnResize();
  return 0;
}

String bb_app_LoadState() { return bb_app__game->LoadState(); }

int bb_app_SaveState(String state) {
  bb_app__game->SaveState(state);
  return 0;
}

int bb_app_KeepStateCopy() { return bb_app__game->KeepStateCopy(); }

int bb_app_EndApp() {
  bbError(String());
  return 0;
}

int bb_app_EnumDisplayModes() {
  Array<BBDisplayMode*> modes = bb_app__game->GetDisplayModes();
  c_IntMap* seen = (new c_IntMap)->m_new();
  c_Stack* distinct = (new c_Stack)->m_new();
  for (int i = 0; i < modes.Length(); ++i) {
    BBDisplayMode* mode = modes[i];
    if (!mode) continue;
    int key = modeKey(mode->width, mode->height);
    if (seen->p_Contains(key)) continue;
    c_DisplayMode* entry = (new c_DisplayMode)->m_new(mode->width, mode->height);
    seen->p_Insert(key, entry);
    distinct->p_Push(entry);
  }
  gc_assign(bb_app__displayModes, distinct->p_ToArray());

  BBDisplayMode* desktop = bb_app__game->GetDesktopMode();
  c_DisplayMode* mode = desktop ? (new c_DisplayMode)->m_new(desktop->width, desktop->height)
                                : (new c_DisplayMode)->m_new(bb_app__devWidth, bb_app__devHeight);
  gc_assign(bb_app__desktopMode, mode);
  return 0;
}

void bb_app_Init() {
  static bool registered = false;
  if (!registered) {
    gc_register_roots(markRoots);
    registered = true;
  }
  bb_app__app = nullptr;
  bb_app__delegate = nullptr;
  bb_app__game = BBGame::_game;
  bb_app__devWidth = 0;
  bb_app__devHeight = 0;
  bb_app__displayModes = Array<c_DisplayMode*>();
  bb_app__desktopMode = nullptr;
  bb_app__updateRate = 0;
  bb_input_Init();
  bb_random_Init();
}
