// Score display, the game-over overlay and badge toasts.
#include "game/my_app.h"

int c_MyApp::p_ScoreDisplay() { return 0; }

int c_MyApp::p_GameOver() {
  // Until the overlay exists a finished round goes straight back to the menu.
  if (m_Screen == 10 && m_RoundOver > 0) m_Screen = 2;
  return 0;
}

String c_MyApp::p_MyNth() {
  m_Loop = 0;
  return String();
}

String c_MyApp::p_BadgeID(int id) {
  if (id == 0) return String("Test Badge|This is a Test Badge which has no purpose.");
  return String("Odd Badge|This badge hasn't been defined!");
}

String c_MyApp::p_BadgeName(int id) { return p_BadgeID(id).Split(String("|"))[0]; }

String c_MyApp::p_BadgeDetail(int id) {
  Array<String> parts = p_BadgeID(id).Split(String("|"));
  return parts.Length() > 1 ? parts[1] : String();
}

int c_MyApp::p_ShowBadges() { return 0; }
