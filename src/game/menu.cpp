// Main menu: the mode dial, the records panel and the side panel. For now
// the title screen shows its background only.
#include "game/my_app.h"

int c_MyApp::p_Menu() {
  if (m_MenuSel > 5) m_MenuSel = 5;
  p_DoBG(20, 80, 160, -123.0f);
  return 0;
}
