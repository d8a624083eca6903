// The saved-state string as the game reads it at start-up, then a few
// updates of the game with whatever settings it accepted. Whatever the file
// held, the state the game then writes must read back as itself: a save
// that does not survive its own load loses the player's records.
#include "fuzz_support.h"
#include "game/my_app.h"

namespace {

// A host without a window: the state slot holds the input, time advances
// one update per call, and saves land in memory.
class StateHost : public BBGame {
 public:
  String state;
  int millis = 0;

  int Millisecs() override { return millis; }
  int GetDeviceWidth() override { return 640; }
  int GetDeviceHeight() override { return 480; }
  String LoadState() override { return state; }
  int SaveState(String s) override {
    state = s;
    return 0;
  }
};

StateHost* g_host;
c_InputDevice* g_input;
// One game object for the whole run: a new one costs over 20 MB of field
// grid per input. Creation resets everything the saved state and the menu
// touch, so inputs stay independent of each other.
c_MyApp* g_app;

void MarkRoots() {
  gc_enqueue(g_input);
  gc_enqueue(g_app);
}

void Start() {
  if (g_host) return;
  fuzz_StartRuntime();
  g_host = new StateHost();
  bbInit();
  gc_register_roots(MarkRoots);
  gc_assign(g_app, new c_MyApp());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Start();
  bb_Larkspin_Init();
  // The state file is read with the same text decoding as any other file.
  FILE* file = fuzz_OpenBytes(data, size);
  g_host->state = String::Load(file);
  fclose(file);
  g_host->millis = 0;
  gc_assign(g_input, (new c_InputDevice())->m_new());
  bb_input_SetInputDevice(g_input);
  bb_app_ValidateDeviceWindow(false);

  c_MyApp* app = g_app;
  app->p_OnCreate();
  app->p_FitScreen(640, 480);

  String saved = app->p_StateString();
  app->p_ParseState(saved);
  fuzz_Check(app->p_StateString() == saved, "saved state does not read back as itself");

  // The loader runs over the first 22 updates; a few more play the menu.
  for (int i = 0; i < 30; ++i) {
    g_host->millis += 16;
    g_input->p_BeginUpdate();
    app->p_OnUpdate();
    g_input->p_EndUpdate();
  }
  gc_step(nullptr);
  return 0;
}
