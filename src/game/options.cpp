// Options box, pause menu, the console quit dialog and the full-screen
// switch.
#include "game/my_app.h"

int c_MyApp::p_OptionBox() {
  // Until the box exists it closes as soon as it opens; closing saves.
  if (m_OptionsOpen == 1) {
    m_OptionsOpen = 0;
    p_Save();
  }
  return 0;
}

int c_MyApp::p_PauseMenu() { return 0; }
int c_MyApp::p_InGame() { return 0; }

int c_MyApp::p_OuyaQuit() {
  m_Screen = 1;
  return 0;
}

int c_MyApp::p_FullscreenFlip() {
  m_Fullscreen = 1 - m_Fullscreen;
  BBGlfwGame* host = dynamic_cast<BBGlfwGame*>(bb_app__game);
  if (!host) return 0;
  BBGlfwVideoMode* desk = host->GetGlfwDesktopMode();
  const int r = desk ? desk->redBits : 8, g = desk ? desk->greenBits : 8, b = desk ? desk->blueBits : 8;
  if (m_Fullscreen == 1 && desk)
    host->SetGlfwWindow(desk->width, desk->height, r, g, b, 0, 0, 0, true);
  else if (m_Fullscreen == 0)
    host->SetGlfwWindow(640, 480, r, g, b, 0, 0, 0, false);
  else
    m_Fullscreen = 0;  // no desktop mode to go full screen in
  return 0;
}
