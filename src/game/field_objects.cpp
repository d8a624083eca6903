// Field objects: rocks, gems, power-ups and shots in one fixed pool.
#include "game/my_app.h"

int c_MyApp::p_FreeObj(int n) {
  if (n > 509) n = 509;
  for (int r = 0; r <= n; ++r)
    if (m_Objects[10 * r] == 0.0f) return 10 * r;
  return -1;
}

int c_MyApp::p_ARock(float, float, float, int) { return 0; }
int c_MyApp::p_APower(float, float, float, int) { return 0; }
int c_MyApp::p_NewBag() { return 0; }
int c_MyApp::p_GetGem() { return 1; }
