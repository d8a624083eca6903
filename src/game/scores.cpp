// Score display, the game-over overlay and badge toasts: the lives icons
// and the Time Attack clock over a running round, the overlay that names
// the winner or the new highscore while the round fades into the menu, and
// the badge panels that slide in from the left.
#include <cmath>

#include "game/round_records.h"
#include "game/saved_slots.h"

using namespace lk_round;

namespace {

const int kOverEnd = 90;      // updates the finished round stays on screen
const int kOverFadeOut = 74;  // updates the overlay takes to shrink over the menu
const int kToastSlots = 13;

// The first and second word of the overlay for each way a round ends.
void overlayWords(int winner, const char** first, const char** second) {
  static const char* const players[4] = {"Red Player", "Yellow Player", "Green Player",
                                         "Blue Player"};
  *first = "GAME";
  *second = "OVER";
  if (winner == -1) {
    *first = "Quit";
    *second = "Game";
  } else if (winner >= 11 && winner <= 14) {
    *first = players[winner - 11];
    *second = "Wins!";
  }
}

// Whether the finished one-player score will enter its mode's top ten: the
// table only takes a score that beats an entry, so a tie with the last one
// stays out. A round quit from the pause menu keeps the score it earned.
bool scoreEntersTable(c_MyApp* app) {
  if (app->m_GameMode < 1 || app->m_GameMode > 3) return false;
  const int b = lk_saved::FirstList(app->m_GameMode);
  for (int k = 0; k < lk_saved::kListLength; ++k)
    if (app->m_LastScore > app->m_HiScores[b + k]) return true;
  return false;
}

void drawLivesAndClock(c_MyApp* app) {
  const float w = bb_Larkspin_jscrw;
  app->p_ResetDraw();
  app->p_Alpha(0.8f);
  app->p_SetSize(0.75f);
  const int x0 = lk_trunc(w / 2.0f - 32.0f);
  const float lives = app->m_Players[kLives];
  // Three Lives starts with three; a damaged value never draws a flood.
  const int icons = lives >= 1.0f ? (lives > 16.0f ? 16 : lk_trunc(lives)) : 0;
  for (int i = 1; i <= icons; ++i) app->p_DrawImg(97, float(x0 + 16 * i), 24.0f, 11.0f);
  if (app->m_GameMode != 1) return;
  const float t = app->m_Players[kClock] / 60.0f;
  const int minutes = lk_clamp(lk_trunc(t / 60.0f), 0, 2);
  const int seconds = lk_clamp(lk_trunc(std::fmod(t, 60.0f)), 0, 59);
  app->p_SetSize(2.0f);
  String text = String(minutes) + String(":") + app->p_rstr(seconds, 2, String("0"));
  app->p_Text(w / 2.0f, 24.0f, text, 1.0f, 1.0f, 0);
}

void drawOverlay(c_MyApp* app) {
  const float w = bb_Larkspin_jscrw, h = bb_Larkspin_jscrh, o = bb_Larkspin_overscan + 1.0f;
  app->m_Players[kRepeatDelay] = 240.0f;
  app->m_KeyLatch = app->m_InputTaken = 1;  // the overlay swallows input

  app->p_ResetDraw();
  app->p_SetCol(0.0f, 0.0f, 0.0f, std::fmin(float(app->m_OverTime) / 40.0f, 0.7f));
  app->p_Rect(-o, -o, w + 2.0f * o, h + 2.0f * o);

  const int barMax = lk_trunc(h * 0.45f);
  const int b = app->m_OverTime * 12 < barMax ? app->m_OverTime * 12 : barMax;
  app->p_SetCol(255.0f, 255.0f, 0.0f, 0.5f);
  app->p_Rect(-1.0f, h * 0.45f - 8.0f, float(2 * b), 16.0f);
  app->p_SetCol(255.0f, 128.0f, 0.0f);
  app->p_Rect(w - float(2 * b), h * 0.55f - 8.0f, float(2 * b + 1), 16.0f);

  const char* first;
  const char* second;
  overlayWords(app->m_Winner, &first, &second);
  app->p_SetSize(4.0f);
  app->p_SetCol(255.0f, 180.0f, 180.0f, 1.0f);
  app->p_Text(w * 0.35f, float(b), String(first), 1.0f, 1.0f, 0);
  app->p_Text(w * 0.65f, h - float(b), String(second), 1.0f, 1.0f, 0);

  const String place = app->p_MyNth();
  if (app->m_Loop > 0 && app->m_GameMode < 4 && app->m_OverRecordable == 1) {
    const float y = h - float(b) / 1.5f;
    app->p_SetSize(1.0f);
    app->p_SetCol(0.0f, 125.0f, 255.0f, 0.5f);
    app->p_Rect(w * 0.35f, y - 16.0f, w * 0.3f, 32.0f);
    app->p_SetSize(2.0f);
    app->p_SetCol(100.0f, 255.0f, 100.0f, 1.0f);
    app->p_Text(w / 2.0f, y, String("New Highscore\\n           ") + place, 0.5f, 2.0f, 0);
  }
  app->p_ResetDraw();
}

}  // namespace

int c_MyApp::p_ScoreDisplay() {
  if (m_ShowFps != 1) drawLivesAndClock(this);
  // The clock runs whether or not it is shown: hiding it must not stop time.
  if (m_GameMode == 1) {
    m_Players[kClock] -= 1.0f;
    if (m_Players[kClock] < 0.0f) m_RoundOver = 1;
  }
  p_ResetDraw();
  return 0;
}

int c_MyApp::p_GameOver() {
  // Decided while the round is still on screen, before the menu records the
  // score; the table changes once it has.
  if (m_Screen == 10) m_OverRecordable = scoreEntersTable(this) ? 1 : 0;
  if (m_OverTime > 0) drawOverlay(this);
  if (m_Screen == 10) {
    m_OverTime += 1;
    if (m_OverTime >= kOverEnd) {
      m_Screen = 2;
      m_OverTime = kOverFadeOut;
      if (bb_Larkspin_HasMusicStream == 1) p_StopTune();
    }
  } else if (m_Screen < 10 && m_OverTime > 0) {
    m_OverTime -= 1;
  }
  return 0;
}

String c_MyApp::p_MyNth() {
  static const char* const names[10] = {"1st!", "2nd", "3rd", "4th", "5th",
                                        "6th",  "7th", "8th", "9th", "10th"};
  m_Loop = 0;
  if (m_GameMode < 1 || m_GameMode > 6) return String();
  const int b = lk_saved::FirstList(m_GameMode);
  for (int k = 1; k <= lk_saved::kListLength; ++k) {
    if (m_LastScore >= m_HiScores[b + k - 1]) {
      m_Loop = k;
      return String(names[k - 1]);
    }
  }
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

int c_MyApp::p_ShowBadges() {
  p_ResetDraw();
  const float h = bb_Larkspin_jscrh;
  for (int k = 0; k < kToastSlots; ++k) {
    int age = m_BadgeShowTime[k];
    if (age <= 0) continue;
    const int id = m_BadgeShow[k];
    age += 1;
    m_BadgeShowTime[k] = age;
    if (age > 240) {
      m_BadgeShowTime[k] = 0;
      continue;
    }
    // Slides in from the left edge, waits, slides back out.
    int x = age > 230 ? (240 - age) * 16 - 160 : age * 16 - 160;
    if (x > 0) x = 0;
    const float y = h - 34.0f * float(k + 1);
    p_ResetDraw();
    p_SetCol(0.0f, 0.0f, 80.0f, 0.8f);
    p_Rect(float(x), y, 160.0f, 32.0f);
    p_SetCol(255.0f, 255.0f, 255.0f, 1.0f);
    p_Text(float(x + 16), y + 4.0f, p_BadgeName(id), 0.0f, 0.0f, 0);
    if (id >= 0 && id < 64) {
      p_SetSize(0.5f);
      p_DrawImg(80, float(x + 144), y + 16.0f, float(id));
    }
  }
  p_ResetDraw();
  return 0;
}
