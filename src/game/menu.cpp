// Main menu: the title, the turning mode dial with the options cog at its
// centre, the records panel of the chosen mode and the side panel with the
// credits and statistics. Keyboard, pads and the pointer all steer it;
// starting a mode hands over to the round loader.
#include <cmath>

#include "game/menu_records.h"
#include "game/round_records.h"
#include "game/saved_slots.h"

namespace {

using lk_round::kRepeatCountdown;
using lk_round::kRepeatDelay;

const float kFirstDelay = 30.0f;

// The scroller steps through 56 lines and the colour ring turns a full
// circle every 90; wrapping at a common multiple keeps both seamless.
const int kCreditWrap = 2520;

const float kItemStep = 32.0f;  // degrees between neighbouring dial items

int lowestItem() { return bb_Larkspin_isOuya == 1 ? -2 : -1; }

bool pressed(c_MyApp* a, int button) { return a->p_PlayKeyAll(button, 1) > 0; }

bool panelOpen(c_MyApp* a) { return a->m_OptionsOpen == 1 || a->m_SidePanel == 1; }

// Neither a dialog nor a press already acted on stands in the way of a tap.
bool tapFree(c_MyApp* a) { return !panelOpen(a) && a->m_KeyLatch == 0 && a->m_InputTaken == 0; }

struct Layout {
  float W, H, I, P;
};

// How the player started: touch, a controller, or the keyboard's buttons,
// which picks the glyph set the round's hints are drawn with.
int startStyle(c_MyApp* a) {
  if (a->m_Touching > 0) return 2;
  for (int b = 10; b <= 15; ++b)
    if (a->p_PlayKey(b, 1, -1) > 0) return 0;
  return 1;
}

void menuStart(c_MyApp* a) {
  if (a->m_MenuFocus == 0) {
    a->m_OptionsOpen = 1;
  } else if (a->m_MenuFocus == 2) {
    a->m_SidePanel = 1;
  } else {
    if (a->m_MenuSel < 0) bbError(String());  // the exit item
    a->m_InputStyle = startStyle(a);
    a->m_MenuScroll = -kItemStep * float(a->m_MenuSel);
    a->m_Screen = 11;
  }
  // The press that opened something must not also act inside it.
  a->m_InputTaken = 1;
  a->m_KeyLatch = 1;
}

void backStep(c_MyApp* a) {
  if (a->m_KeyLatch != 0 || a->m_InputTaken != 0) return;
  if (bb_Larkspin_isOuya != 1) {
    if (pressed(a, 99)) bbError(String());
    return;
  }
  if (pressed(a, 98) || bb_input_KeyDown(BBKEY_ESCAPE)) {
    a->m_Screen = 4;
    a->m_KeyLatch = 1;
    a->m_InputTaken = 1;
  }
}

void drawTitle(c_MyApp* a, const Layout& L) {
  a->p_ResetDraw();
  const float y = 12.0f * L.I + 64.0f;
  a->p_DrawImg(98, (L.W - L.P) / 2.0f, y, 0.0f);
  a->p_SetRot(float(bb_app_Millisecs()) / 64.0f);
  a->p_DrawImg(5, L.W - L.P - 64.0f, y, 0.0f);
  a->p_ResetDraw();
}

// Background of the records panel, the play button under it, and the
// touches that focus or start either.
void panelStep(c_MyApp* a, const Layout& L) {
  const bool focused = a->m_MenuFocus == 2;
  const float left = L.W - L.P - 8.0f * L.I - 2.0f;
  a->p_ResetDraw();
  a->p_Alpha(focused ? 1.0f : 0.2f);
  a->p_Rect(left, -128.0f, 3.0f, L.H + 128.0f);
  a->p_SetCol(0.0f, 0.0f, 0.0f, focused ? 0.75f : 0.45f);
  a->p_Rect(left, -128.0f, L.P + 32.0f, L.H + 128.0f);

  const float px = L.W - L.P / 2.0f, py = L.H - 48.0f;
  a->p_SetSize(3.0f);
  a->p_SetCol(100.0f, 255.0f, 100.0f, a->m_MenuFocus == 1 ? 0.5f : 0.0f);
  a->p_DrawImg(97, px, py, 3.0f);
  a->p_ResetDraw();

  if (!tapFree(a)) return;
  if (a->p_MouseIn_Centered(px, py, 128.0f, 128.0f)) {
    a->m_MenuFocus = 1;
    a->p_PlaySFX(98, 1.0f, 1.0f, 0.0f);
    menuStart(a);
  } else if (a->p_MouseIn(left, -1.0f, L.P + 32.0f, L.H - 127.0f)) {
    if (focused) {
      a->p_PlaySFX(99, 1.0f, 1.0f, 0.0f);
      menuStart(a);
    } else {
      a->m_MenuFocus = 2;
      a->p_PlaySFX(99, 1.0f, 1.0f, 0.0f);
      a->m_KeyLatch = 1;
      a->m_InputTaken = 1;
    }
  }
}

void drawRecords(c_MyApp* a, const Layout& L) {
  const int mode = a->m_MenuSel + 1;
  if (mode < 1 || mode > 6 || panelOpen(a)) return;
  const int rows = lk_menu::RecordRows(a);
  const float x = L.W - L.P - 4.0f * L.I + 20.0f;
  a->p_ResetDraw();
  a->p_SetSize(1.5f);
  a->p_SetCol(255.0f, 200.0f, 100.0f);
  a->p_Text(x, 60.0f, lk_menu::RecordsText(a, mode, 0, rows), 0.0f, 0.0f, 0);
  if (mode <= 3) {
    a->p_SetCol(200.0f, 255.0f, 100.0f);
    a->p_Text(x, L.H / 2.0f + 20.0f, lk_menu::RecordsText(a, mode, 1, rows), 0.0f, 0.0f, 0);
  }
  a->p_ResetDraw();
}

void drawCog(c_MyApp* a, float cx, float cy) {
  const bool focused = a->m_MenuFocus == 0;
  if (focused) a->m_CogAngle = std::fmod(a->m_CogAngle + 0.3f, 360.0f);
  const float turns[3] = {1.0f, -2.0f, 4.0f};
  a->p_ResetDraw();
  a->p_Alpha(focused ? 0.8f : 0.25f);
  for (int i = 0; i < 3; ++i) {
    a->p_SetRot(turns[i] * a->m_CogAngle);
    a->p_DrawImg(95, cx, cy, float(8 + i));
  }
  a->p_ResetDraw();
  if (tapFree(a) && a->p_MouseIn_Centered(cx, cy, 64.0f, 64.0f)) {
    a->m_OptionsOpen = 1;
    a->m_InputTaken = 1;
    a->p_PlaySFX(99, 1.0f, 1.0f, 0.0f);
    a->m_MenuFocus = 0;
  }
}

// A drag across the dial gives it speed; a drag is not a tap, so a long
// enough one marks the press as taken by the dial (-1).
void dragStep(c_MyApp* a, float cx, float cy) {
  if (a->m_TouchDown[0] == 0) {
    a->m_DragX = a->m_DragY = -1;
    return;
  }
  const int x = a->m_TouchX[0], y = a->m_TouchY[0];
  const float dx = std::fabs(float(x) - cx), dy = std::fabs(float(y) - cy);
  const bool onDial = dx < 250.0f && dy < 250.0f && !(dx < 32.0f && dy < 32.0f);
  if (onDial && a->m_InputTaken != 1 && a->m_DragX >= 0) {
    const float d = float((a->m_DragX - x) + (a->m_DragY - y)) / 4.0f;
    a->m_DialSpeed = lk_clamp(a->m_DialSpeed - d, -40.0f, 40.0f);
    a->m_MenuFocus = 1;
    if (std::fabs(d) > 1.0f) a->m_InputTaken = a->m_KeyLatch = -1;
  }
  a->m_DragX = x;
  a->m_DragY = y;
}

void spinStep(c_MyApp* a) {
  if (a->m_DialSpeed != 0.0f) {
    a->m_MenuScroll += a->m_DialSpeed;
    a->m_DialSpeed *= 0.75f;
    if (std::fabs(a->m_DialSpeed) < 1.0f) {
      a->m_DialSpeed = 0.0f;
      // Coming to rest, the dial settles on the item that passed the top.
      a->m_MenuScroll = -kItemStep * float(a->m_MenuSel);
    }
  }
  const float gap = a->m_MenuScroll - a->m_DialAngle;
  a->m_DialAngle = std::fabs(gap) < 0.5f ? a->m_MenuScroll : a->m_DialAngle + gap / 8.0f;
}

void drawItem(c_MyApp* a, int k, float x, float y, float angle) {
  const float size = k == a->m_MenuSel ? 1.75f : 0.75f;
  a->p_ResetDraw();
  a->p_SetRot((angle - 55.0f) / 2.0f);
  a->p_Alpha(a->m_MenuFocus == 1 ? 1.0f : 0.3f);
  if (k < 0) {
    a->p_SetSize(2.0f * size);
    a->p_SetCol(255.0f, 180.0f, 180.0f);
    a->p_DrawImg(97, x, y, 1.0f);
  } else {
    a->p_SetSize(size);
    a->p_DrawImg(95, x, y, float(k < 3 ? k : k + 1));
  }
  a->p_ResetDraw();
}

// While spinning freely the dial springs back from its ends and whatever
// item passes the top becomes the selection.
void freeTurn(c_MyApp* a, int k, float angle, int before) {
  if (std::fabs(a->m_DialSpeed) <= 0.05f) return;
  if (k == 5 && (angle < 30.0f || angle > 200.0f)) a->m_DialSpeed = 4.0f;
  if (k == 0 && angle > 60.0f && angle < 200.0f) a->m_DialSpeed = -4.0f;
  if (angle > 30.0f && angle < 60.0f && k != a->m_MenuSel) {
    if (a->m_TapTurn == 1 && std::abs(k - before) == 1) return;
    a->m_MenuSel = k;
    a->p_PlaySFX(99, 1.0f, 1.0f, 0.0f);
  }
}

void itemTap(c_MyApp* a, int k, float x, float y) {
  const bool atRest = std::fabs(a->m_DialAngle - a->m_MenuScroll) < 2.0f;
  if (!atRest || panelOpen(a) || a->m_TapTurn != 0) return;
  if (!a->p_MouseIn_Radius(x, y, 64.0f, 64.0f)) return;
  if (k == a->m_MenuSel) {
    if (a->m_InputTaken != 0) return;
    a->m_MenuFocus = 1;
    a->p_PlaySFX(98, 1.0f, 1.0f, 0.0f);
    menuStart(a);
  } else if (a->m_InputTaken == 0 || a->m_InputTaken == -1) {
    a->m_MenuFocus = 1;
    a->m_MenuSel = k;
    a->m_MenuScroll = -kItemStep * float(k);
    a->m_InputTaken = -1;
    a->m_TapTurn = 1;
    a->p_PlaySFX(99, 1.0f, 1.0f, 0.0f);
  }
}

void dialStep(c_MyApp* a, const Layout& L) {
  const float cx = 38.0f + 12.0f * L.I, cy = float(lk_trunc(L.H - 64.0f - 8.0f * L.I));
  drawCog(a, cx, cy);

  a->p_ResetDraw();
  a->p_SetSize(1.5625f);
  a->p_SetRot(a->m_DialAngle);
  a->p_Alpha(a->m_MenuFocus == 1 ? 0.8f : 0.25f);
  a->p_DrawImg(85, cx, cy, 3.0f);
  a->p_ResetDraw();

  dragStep(a, cx, cy);
  spinStep(a);

  const int before = a->m_MenuSel, lowest = lowestItem();
  for (int k = before - 3; k <= before + 3; ++k) {
    if (k <= lowest || k >= 6) continue;
    const float angle = kItemStep * float(k) + 48.0f + a->m_DialAngle;
    const float r = 116.0f + 1.5f * std::fmax(0.0f, 45.0f - std::fabs(angle - 45.0f));
    const float x = cx + r * std::sin(angle * LK_DEG_TO_RAD), y = cy - r * std::cos(angle * LK_DEG_TO_RAD);
    drawItem(a, k, x, y, angle);
    freeTurn(a, k, angle, before);
    itemTap(a, k, x, y);
  }
  if (a->m_InputTaken == 0) a->m_TapTurn = 0;

  if (a->m_MenuFocus == 1 && L.W > 600.0f) {
    const int k = ((a->m_MenuSel % 6) + 6) % 6;
    a->p_ResetDraw();
    a->p_SetSize(1.5f);
    a->p_Text(240.0f, L.H - 52.0f - 3.0f * L.I, bb_Larkspin_MenuSet[2 * k + 1], 0.0f, 0.0f, 0);
    a->p_ResetDraw();
  }
}

// Up and down step through the modes at once, then again after 31, 19, 7
// and from then on every 4 updates while held.
void repeatStep(c_MyApp* a) {
  float& countdown = a->m_Players[kRepeatCountdown];
  float& delay = a->m_Players[kRepeatDelay];
  const bool up = pressed(a, 0), down = pressed(a, 8);
  if (!up && !down) {
    countdown = 0.0f;
    delay = kFirstDelay;
    return;
  }
  countdown -= 1.0f;
  if (countdown >= 0.0f) return;
  const int target = lk_trunc(lk_clamp(float(a->m_MenuSel + (down ? 1 : 0) - (up ? 1 : 0)),
                                     float(lowestItem() + 1), 5.0f));
  if (target != a->m_MenuSel) {
    a->m_MenuSel = target;
    a->p_PlaySFX(99, 1.0f, 1.0f, 0.0f);
  }
  a->m_MenuScroll = -kItemStep * float(a->m_MenuSel);
  countdown = delay;
  delay = delay - 12.0f < 3.0f ? 3.0f : delay - 12.0f;
}

void keyStep(c_MyApp* a) {
  if (a->m_KeyLatch == 0 && a->m_InputTaken == 0 && !panelOpen(a)) {
    repeatStep(a);
    const int step = (pressed(a, 5) ? 1 : 0) - (pressed(a, 3) ? 1 : 0);
    const int focus = lk_clamp(a->m_MenuFocus + step, 0, 2);
    if (focus != a->m_MenuFocus) {
      a->m_MenuFocus = focus;
      a->p_PlaySFX(99, 1.0f, 1.0f, 0.0f);
      a->m_KeyLatch = 1;
    } else if (pressed(a, 10) || pressed(a, 11) || pressed(a, 12)) {
      a->p_PlaySFX(98, 1.0f, 1.0f, 0.0f);
      menuStart(a);
    }
  }
  a->m_GameMode = lk_clamp(a->m_MenuSel + 1, 1, 6);
}

void creditScroller(c_MyApp* a, const Layout& L, float X) {
  a->m_CreditScroll -= 0.3f;
  if (pressed(a, 0) || pressed(a, 8)) a->m_CreditScroll -= 1.5f;
  if (a->m_CreditScroll < -16.0f) {
    a->m_CreditScroll += 16.0f;
    a->m_CreditLine = (a->m_CreditLine + 1) % kCreditWrap;
  }
  const int lines = bb_Larkspin_CreditText.Length() - 1;  // "End" is never shown
  if (lines <= 0) return;
  const float offset = a->m_CreditScroll;
  for (int i = -3; i <= 4; ++i) {
    const int n = ((a->m_CreditLine + i) % lines + lines) % lines;
    const float t = std::fabs(16.0f * float(i) + offset) / 40.0f - 0.3f;
    const float s = t < 0.0f ? 0.0f : (t <= 1.0f ? 24.0f * t : 24.0f);
    a->p_ResetDraw();
    a->p_Alpha(t < 0.0f ? 1.0f : (t <= 1.0f ? 1.0f - t : 0.0f));
    a->p_Text(L.W - 160.0f + X, 16.0f * float(i) + L.H / 2.0f + 24.0f - s + offset,
              bb_Larkspin_CreditText[n], 0.8f, 0.8f, 0);
  }
  a->p_ResetDraw();
}

void statistics(c_MyApp* a, const Layout& L, float X) {
  const float x = L.W - 20.0f + X;
  const String by("x");
  const String lines[7] = {
      String("Debug Stats"),
      String("Engine"),
      String(lk_trunc(L.W)) + by + String(lk_trunc(L.H)),
      String("Screen"),
      String(bb_app_DeviceWidth()) + by + String(bb_app_DeviceHeight()),
      String("FPS"),
      String(a->m_UpdateFpsAvg) + String(" : ") + String(a->m_RenderFpsAvg)};
  const float ys[7] = {16.0f, 32.0f, 44.0f, 60.0f, 72.0f, 88.0f, 100.0f};
  a->p_ResetDraw();
  for (int i = 0; i < 7; ++i) a->p_Text(x, ys[i], lines[i], 2.0f, 1.0f, 0);
}

// The ring turns with the scroller: one line of credits is 24 degrees.
void colourRing(c_MyApp* a, const Layout& L, float X) {
  for (int k = 0; k <= 10; ++k) {
    const float deg = 4.0f * (6.0f * float(k) - a->m_CreditScroll / 16.0f + float(a->m_CreditLine));
    a->p_ResetDraw();
    a->p_Ink(k, 1.0f);
    a->p_Alpha(0.3f);
    a->p_Oval(L.W - 150.0f + X + 100.0f * std::sin(deg * LK_DEG_TO_RAD),
              L.H / 2.0f - 100.0f * std::cos(deg * LK_DEG_TO_RAD), 32.0f, 32.0f);
  }
  a->p_ResetDraw();
}

void sidePanel(c_MyApp* a, const Layout& L) {
  if (a->m_SidePanel != 1) return;
  const float X = L.W - L.P;
  creditScroller(a, L, X);
  statistics(a, L, X);
  colourRing(a, L, X);

  if (a->m_KeyLatch == 0 && a->m_InputTaken == 0 &&
      (pressed(a, 10) || pressed(a, 11) || pressed(a, 12) || pressed(a, 13) || a->m_Touching > 0)) {
    a->m_SidePanel = 0;
    a->p_PlaySFX(99, 1.0f, 1.0f, 0.0f);
    a->m_KeyLatch = 1;
    a->m_InputTaken = 1;
  }

  const float bx = 0.3f * L.W + X;
  a->p_ResetDraw();
  a->p_DrawImg(95, bx, L.H - 64.0f, 12.0f);
  a->p_Text(bx + 32.0f, L.H - 48.0f, String("Coded in"), 0.0f, 0.0f, 0);
  a->p_Text(bx + 32.0f, L.H - 36.0f, String("C++17, GLFW and OpenAL"), 0.0f, 0.0f, 0);
}

// One line of a battle's winners list: the winner's colour and the
// controller it played with. An empty slot (no winner yet) is empty.
String winnerLine(int winner, int controller) {
  static const char* const colours[4] = {"Red    ", "Yellow  ", "Green  ", "Blue   "};
  if (winner < 1 || winner > 4) return String();
  String line(colours[winner - 1]);
  if (controller == -4) return line + String("   AI");
  if (controller == -1) return line + String("   Keys");
  if (controller >= 0 && controller <= 3) return line + String("   Port ") + String(controller + 1);
  return line;
}

}  // namespace

namespace lk_menu {

int RecordRows(c_MyApp* app) {
  const int font = app->m_FontImg >= 0 && app->m_FontImg < 100 ? app->m_FontImg : 0;
  const float lineH = float(app->m_ImgSize[3 * font + 1]);
  const float H = bb_Larkspin_jscrh;
  // Before the font is known there is no height to divide by.
  const int n = lineH > 0.0f ? lk_trunc((H - 90.0f - H / 2.0f) / (1.5f * lineH)) : 1;
  return lk_clamp(n, 1, 10);
}

String RecordsText(c_MyApp* app, int mode, int list, int rows) {
  if (mode < 1 || mode > 6 || list < 0 || list > 1) return String();
  if (rows < 1) rows = 1;
  if (rows > 10) rows = 10;
  const String nl("\\n");
  const int b = lk_saved::FirstList(mode);
  String text;
  if (mode <= 3) {
    if (list == 0)
      text = rows == 1 ? String("Highscore") : String("Top ") + String(rows);
    else
      text = rows == 1 ? String("Last") : String("Last ") + String(rows);
    const int first = list == 0 ? b : b + lk_saved::kSecondList;
    for (int k = 0; k < rows; ++k) text += nl + app->p_rstr(app->m_HiScores[first + k], 11, String(" "));
    return text;
  }
  if (list != 0) return String();
  text = String("Last 10 Winners") + nl;
  for (int k = 0; k < rows; ++k)
    text += nl + winnerLine(app->m_HiScores[b + k], app->m_HiScores[b + lk_saved::kSecondList + k]);
  return text;
}

}  // namespace lk_menu

int c_MyApp::p_Menu() {
  if (m_MenuSel > 5) m_MenuSel = 5;
  p_DoBG(20, 80, 160, -123.0f);
  if (m_MenuIntro < 0) ++m_MenuIntro;
  m_PanelLeft = m_SidePanelX + 220.0f;
  const Layout L = {bb_Larkspin_jscrw, bb_Larkspin_jscrh, float(m_MenuIntro), m_PanelLeft};

  backStep(this);
  drawTitle(this, L);
  panelStep(this, L);
  drawRecords(this, L);
  dialStep(this, L);
  keyStep(this);
  sidePanel(this, L);
  return 0;
}
