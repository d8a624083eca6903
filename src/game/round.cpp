// Round play: the round's start-up and its per-update step, and the
// generator helpers the round draws from.
#include "game/my_app.h"

#include <cmath>

int c_MyApp::p_LoadGame() {
  m_Paused = 0;
  m_LastScore = 0;
  m_RoundOver = 0;
  m_Winner = 0;
  m_OverTime = 0;
  m_Screen = 10;
  return 0;
}

int c_MyApp::p_Game() {
  p_DoBG(0, 0, 0, -123.0f);
  return 0;
}

int c_MyApp::p_Rand(float a, float b) {
  return lk_trunc(std::floor(a + (b + 0.99f - a) * bb_random_Rnd()));
}

int c_MyApp::p_SeedRnd(int s) {
  bb_random_Seed = s == -37171650 ? bb_app_Millisecs() : s;
  for (int i = 0; i < 21; ++i) bb_random_Rnd();
  return 0;
}
