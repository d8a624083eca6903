// Builds the saving tests' state strings through the game (see two_states.h).
#include "two_states.h"

c_MyApp* NewGameForStates() {
  static bool started = false;
  if (!started) {
    started = true;
    gc_init();
    new BBGlfwGame();
    bbInit();
  }
  bb_Larkspin_Init();
  return new c_MyApp();
}

std::pair<String, String> TwoStates() {
  c_MyApp* app = NewGameForStates();
  for (int i = 0; i < 25; ++i) app->m_Settings[i] = 0;
  app->m_Settings[5] = 1;
  app->m_Settings[10] = app->m_Settings[11] = 64;
  app->m_Settings[12] = 10;
  app->m_Settings[14] = 1;
  String small = app->p_StateString();

  app->m_Settings[6] = 2;
  app->m_Settings[10] = 200;
  for (int i = 0; i < 256; i += 3) app->m_Badges[i] = true;
  for (int i = 0; i < 120; ++i) app->m_HiScores[i] = 100000 + i * 7919;
  return {small, app->p_StateString()};
}
