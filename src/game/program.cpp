// The program's entry points for the host: the module initialiser, which
// sets every framework and game global, and the creation of the game.
#include "game/my_app.h"

int bbInit() {
  bb_app_Init();
  bb_graphics_Init();
  bb_audio_Init();
  bb_net_Init();
  bb_Larkspin_Init();
  return 0;
}

int bbMain() {
  (new c_MyApp())->m_new();
  return 0;
}
