// The dialogs over the game: the options box (levels, screen mode, stick
// directions), the pause menu of a round with its spirograph toy, the
// console's quit dialog, and the switch between window and full screen.
// Each keeps one press from acting twice through latches that are only
// released once the pointer or the buttons are let go.
#include <cmath>

#include "game/my_app.h"
#include "game/saved_slots.h"

using namespace lk_saved;

namespace {

// Level 0 is the loudest; the options cycle through 0..3.
const char* const kLevelShown[4] = {"[-  -  - Loud]", "[-  - Normal-]", "[- Quiet -  -]",
                                    "[OFF  -  -  -]"};

enum Entry { kSound, kMusic, kScreen, kLeftStickEntry, kRightStickEntry, kQuit };

// Buttons whose release frees the box's key latch.
const int kBoxButtons[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, 99};

// Pause menu buttons: their rows and the keyboard selection that marks them.
const float kQuitY = 96.0f, kResumeY = 196.0f, kOptionsY = 296.0f;

// A controller-button glyph in the game's text markup.
String glyph(char letter) { return String(Char(0xAC), 1) + String(Char(letter), 1); }

bool pressed(c_MyApp* a, int button) { return a->p_PlayKeyAll(button, 1) > 0; }

bool anyPressed(c_MyApp* a, int from, int to) {
  for (int b = from; b <= to; ++b)
    if (pressed(a, b)) return true;
  return false;
}

// A level from a damaged save reads as (and becomes) the loudest.
int levelOf(c_MyApp* a, int setting) {
  int& v = a->m_Settings[setting];
  if (v < 0 || v > 3) v = 0;
  return v;
}

// The entries shown, in order; the music entry only exists with a music
// stream and Quit only on the console outside a paused round.
int listEntries(Entry* out) {
  int n = 0;
  out[n++] = kSound;
  if (bb_Larkspin_HasMusicStream == 1) out[n++] = kMusic;
  out[n++] = kScreen;
  out[n++] = kLeftStickEntry;
  out[n++] = kRightStickEntry;
  return n;
}

String entryLabel(c_MyApp* a, Entry e) {
  switch (e) {
    case kSound: return String("Sound : ") + String(kLevelShown[levelOf(a, kEffectsLevel)]);
    case kMusic: return String("Music : ") + String(kLevelShown[levelOf(a, kMusicLevel)]);
    case kScreen: return String(a->m_Fullscreen == 1 ? "Windowed" : "Fullscreen");
    case kLeftStickEntry:
      return String(a->m_Settings[kLeftStickY] == 1 ? "Left Thumbstick Y Normal" : "Left Thumbstick Y Flipped");
    case kRightStickEntry:
      return String(a->m_Settings[kRightStickY] == 1 ? "Right Thumbstick Y Normal"
                                                    : "Right Thumbstick Y Flipped");
    case kQuit: return String("Quit");
  }
  return String();
}

void activate(c_MyApp* a, Entry e) {
  switch (e) {
    case kSound:
      a->m_Settings[kEffectsLevel] = (a->m_Settings[kEffectsLevel] + 1) & 3;
      break;
    case kMusic: {
      const int level = (a->m_Settings[kMusicLevel] + 1) & 3;
      a->m_Settings[kMusicLevel] = level;
      if (bb_audio_device) bb_audio_SetMusicVolume(kMusicVolume[level]);
      break;
    }
    case kScreen: a->p_FullscreenFlip(); break;
    case kLeftStickEntry: a->m_Settings[kLeftStickY] = (a->m_Settings[kLeftStickY] + 1) % 2; break;
    case kRightStickEntry: a->m_Settings[kRightStickY] = (a->m_Settings[kRightStickY] + 1) % 2; break;
    case kQuit: bbError(String()); break;
  }
}

void closeBox(c_MyApp* a) {
  a->m_OptionsOpen = 0;
  a->p_PlaySFX(99, 1.0f, 1.0f, 0.0f);
  a->p_Save();
  a->m_KeyLatch = a->m_InputTaken = 1;
  a->m_OptKeyLatch = a->m_OptTouchLatch = 1;
}

// The three layers of the gear picture, turning at their own rates; true
// when a touch lands on it.
bool drawGear(c_MyApp* a, float x, float y, const float turns[3], float angle) {
  bool hit = false;
  for (int i = 0; i < 3; ++i) {
    a->m_Rot = turns[i] * angle;
    if (a->p_Button(95, x, y, 8 + i)) hit = true;
  }
  a->m_Rot = 0.0f;
  return hit;
}

// The console's border adjuster, shared by the options box and the pause
// menu. Buttons 14 and 15 step it by 16 under the given latch.
void overscanBar(c_MyApp* a, float cx, float textY, float barY, float markY, int& latch, bool touchable) {
  int& border = a->m_Settings[kOverscan];
  a->p_ResetDraw();
  a->p_SetSize(2.0f);
  a->p_Text(cx, textY, glyph('U') + String(" <      Overscan      > ") + glyph('O'), 1.0f, 1.0f, 0);
  a->p_SetSize(1.0f);
  a->p_SetCol(0.0f, 128.0f, 255.0f, 0.5f);
  a->p_Rect(cx - 128.0f, barY, 256.0f, 9.0f);
  a->p_SetCol(255.0f, 255.0f, 0.0f, 0.75f);
  a->p_Rect(float(border) * 2.67f + cx - 132.0f, markY, 8.0f, 16.0f);
  a->p_ResetDraw();
  if (touchable && a->m_InputTaken == 0 && a->p_MouseIn_Centered(cx, markY, 256.0f, 16.0f)) {
    a->p_PlaySFX(98, 1.0f, 1.0f, 0.0f);
    a->m_InputTaken = 1;
    border = border >= 32 ? 1 : 96;
  }
  if (latch == 0 && pressed(a, 14) && border > 0) {
    border -= 16;
    latch = 1;
  }
  if (latch == 0 && pressed(a, 15) && border < 96) {
    border += 16;
    latch = 1;
  }
  border = lk_clamp(border, 1, 96);
  bb_Larkspin_overscan = float(border);
}

void safeAreaMarks(c_MyApp* a, float W, float H) {
  const float xs[2] = {0.0f, W - 16.0f}, ys[2] = {0.0f, H - 16.0f};
  for (float x : xs)
    for (float y : ys) {
      a->p_Rect(x, y + (y > 0.0f ? 8.0f : 0.0f), 16.0f, 8.0f);
      a->p_Rect(x + (x > 0.0f ? 8.0f : 0.0f), y, 8.0f, 16.0f);
    }
}

// One entry: its bar, its text, and whether it was activated this update.
void optionEntry(c_MyApp* a, int index, Entry e, float y) {
  const float W = bb_Larkspin_jscrw;
  const bool selected = a->m_OptSel == index;
  a->p_ResetDraw();
  if (selected)
    a->p_SetCol(0.0f, 180.0f, 255.0f, 0.5f);
  else
    a->p_SetCol(0.0f, 0.0f, 160.0f, 0.5f);
  float x = 100.0f;
  bool touched;
  if (e == kQuit) {
    x = float(lk_trunc(W - 264.0f));
    touched = a->p_Touch(x - 16.0f, y - 2.0f, 180.0f, 24.0f) != 0;
  } else {
    touched = a->p_Touch(y - 2.0f, W - 168.0f) != 0;
  }
  a->p_ResetDraw();
  a->p_SetSize(2.0f);
  a->p_Text(x, y, entryLabel(a, e), 0.0f, 0.0f, 0);
  a->p_ResetDraw();

  if (touched) a->m_OptSel = index;
  const bool byKey = selected && anyPressed(a, 10, 15);
  if (!touched && !byKey) return;
  // The screen switch answers a touch under the touch latch alone; a held
  // key must still be let go first, or the window would flip every update.
  const bool free = a->m_OptTouchLatch == 0 &&
                    (a->m_OptKeyLatch == 0 || (e == kScreen && touched));
  if (!free) return;
  a->m_OptKeyLatch = a->m_OptTouchLatch = 1;
  a->p_PlaySFX(99, 1.0f, 1.0f, 0.0f);
  activate(a, e);
}

void optionKeys(c_MyApp* a, int last) {
  if (a->m_OptKeyLatch != 0) return;
  if (a->m_OptSel == 0 && (pressed(a, 15) || pressed(a, 10) || pressed(a, 11))) {
    closeBox(a);
    return;
  }
  int step = 0;
  if (pressed(a, 0) || pressed(a, 3)) step = -1;
  else if (pressed(a, 8) || pressed(a, 5)) step = 1;
  if (step == 0) return;
  const int sel = a->m_OptSel + step;
  a->m_OptKeyLatch = 1;
  if (sel < 0 || sel > last) return;
  a->m_OptSel = sel;
  a->p_PlaySFX(99, 1.0f, 1.0f, 0.0f);
}

void releaseBoxLatches(c_MyApp* a) {
  if (a->m_Touching == 0) a->m_OptTouchLatch = 0;
  for (int b : kBoxButtons)
    if (pressed(a, b)) return;
  a->m_OptKeyLatch = 0;
}

// Pause menu pieces.

void pauseRound(c_MyApp* a) {
  a->m_Paused = 1;
  a->m_PauseSel = 1;
  a->m_PauseKey = 0;
  a->p_PlaySFX(98, 1.0f, 0.5f, 0.0f);
}

void resumeRound(c_MyApp* a) {
  a->m_PauseSel = -1;
  a->p_PlaySFX(98, 1.0f, 0.5f, 0.0f);
}

// Leaving a round from the pause menu ends it at once; the overlay then
// reads "Quit" "Game" and nothing is recorded.
void quitRound(c_MyApp* a) {
  a->m_Paused = 0;
  a->m_PauseSel = -1;
  a->m_PauseY = -64;
  a->m_RoundOver = 1;
  a->m_Winner = -1;
  a->m_InputTaken = 1;
  a->p_PlaySFX(98, 0.5f, 0.5f, 0.0f);
}

void openOptions(c_MyApp* a) {
  a->m_OptionsOpen = 1;
  a->m_InputTaken = 1;
}

void slidePanel(c_MyApp* a, float H) {
  if (a->m_PauseSel == 1) {
    // Lands exactly at mid-height, where a resumed suspension puts it too.
    const int mid = lk_trunc(H / 2.0f);
    if (float(a->m_PauseY) < H / 2.0f) a->m_PauseY = a->m_PauseY + 24 > mid ? mid : a->m_PauseY + 24;
  } else if (a->m_PauseSel == -1) {
    if (a->m_PauseY < -63) {
      a->m_Paused = 0;
    } else {
      a->m_PauseY -= 24;
      if (a->m_PauseY < -32) a->m_Paused = 0;
    }
  }
}

float toyReach(float W, float H) { return std::fmin(H * 0.45f, (W - 96.0f) * 0.45f); }

void toyControls(c_MyApp* a, float W, float H) {
  const float R = toyReach(W, H);
  if (pressed(a, 0)) a->m_ToyRadius -= 1.0f;
  if (pressed(a, 8)) a->m_ToyRadius += 1.0f;
  a->m_ToyRadius = lk_clamp(a->m_ToyRadius, 0.0f, R < 0.0f ? 0.0f : R);
  if (pressed(a, 3)) a->m_ToySpeed -= 0.25f;
  if (pressed(a, 5)) a->m_ToySpeed += 0.25f;
  a->m_ToySpeed = lk_clamp(a->m_ToySpeed, 0.0f, 128.0f);
  a->p_ResetDraw();
  a->p_SetCol(100.0f, 255.0f, 100.0f, 0.8f);
  a->p_Text(W - 8.0f, H - 8.0f,
            String(lk_trunc(a->m_ToySpeed)) + String(":") + String(lk_trunc(a->m_ToyRadius)), 2.0f, 2.0f, 0);
  a->p_ResetDraw();
}

int ribbon(float v) {
  return lk_clamp(lk_trunc(v), 0, 255);
}

// A small arm turns round the centre and a pen arm turns on its end; the
// pen leaves a ribbon of its last 101 positions.
void spirograph(c_MyApp* a, float W, float H) {
  const float cx = W / 2.0f + 96.0f, cy = H / 2.0f, R = toyReach(W, H);
  a->m_ToyArm = std::fmod(a->m_ToyArm + 1.0f, 360.0f);
  a->m_ToyPen = std::fmod(a->m_ToyPen + a->m_ToySpeed, 360.0f);
  a->m_ToyHue = std::fmod(a->m_ToyHue + 1.5f, 360.0f);
  const float arm = a->m_ToyArm * LK_DEG_TO_RAD, pen = a->m_ToyPen * LK_DEG_TO_RAD;
  const float ax = cx + (R - a->m_ToyRadius) * std::sin(arm), ay = cy - (R - a->m_ToyRadius) * std::cos(arm);
  toyControls(a, W, H);

  float* pt = a->m_PauseData.Data();
  pt[202] = ax + a->m_ToyRadius * std::sin(pen);
  pt[203] = ay - a->m_ToyRadius * std::cos(pen);
  // A pause that has just opened starts the ribbon at the pen, not at the
  // field's corner or wherever an earlier pause left it.
  if (a->m_ToyTrailSet == 0) {
    for (int k = 0; k < 101; ++k) {
      pt[2 * k] = pt[202];
      pt[2 * k + 1] = pt[203];
    }
    a->m_ToyTrailSet = 1;
  }
  for (int k = 0; k <= 100; ++k) {
    const float kf = float(k), h = (a->m_ToyHue + 2.0f * kf) * LK_DEG_TO_RAD;
    a->p_SetCol(float(ribbon(kf + kf * std::sin(h))), float(ribbon(kf + kf * std::cos(h))),
                float(ribbon(kf - kf * std::cos(h))), 1.0f);
    float* p = pt + 2 * k;
    a->p_Line(p[0], p[1], p[2], p[3]);
    a->p_Line(p[0] - 0.5f, p[1] - 0.5f, p[2] - 0.5f, p[3] - 0.5f);
    p[0] = p[2];
    p[1] = p[3];
  }
  a->p_ResetDraw();
}

void pauseButtons(c_MyApp* a, float H) {
  const float x = float(lk_trunc(64.0f - (H / 2.0f - float(a->m_PauseY))));
  a->p_ResetDraw();
  a->p_SetSize(2.0f);
  if (a->p_Button(x, kResumeY, 3) && a->m_InputTaken == 0) {
    a->m_InputTaken = 1;
    resumeRound(a);
  }
  if (a->p_Button(x, kQuitY, 1) && a->m_InputTaken == 0) quitRound(a);

  if (a->m_OptionsOpen == 0) a->m_GearAngle += 0.2f;
  a->p_SetSize(1.0f);
  const float turns[3] = {0.66f, -0.33f, -0.33f};
  if (drawGear(a, x, kOptionsY, turns, a->m_GearAngle) && a->m_InputTaken == 0) {
    openOptions(a);
    a->p_PlaySFX(99, 1.0f, 1.0f, 0.0f);
  }

  const float marked[3] = {kQuitY, kResumeY, kOptionsY};
  const int key = lk_clamp(a->m_PauseKey, -1, 1);
  a->p_SetSize(2.5f);
  a->p_SetCol(255.0f, 255.0f, 100.0f);
  a->p_DrawImg(97, x, marked[key + 1], 6.0f);
  a->p_ResetDraw();
}

void pauseKeys(c_MyApp* a) {
  if (a->m_KeyLatch != 0) return;
  const int key = a->m_PauseKey;
  if (pressed(a, 10)) {
    a->m_KeyLatch = 1;
    if (key == -1) {
      quitRound(a);
    } else if (key == 0) {
      resumeRound(a);
    } else {
      openOptions(a);
      a->p_PlaySFX(98, 1.0f, 0.5f, 0.0f);
    }
  } else if (pressed(a, 0) && key >= 0) {
    a->m_KeyLatch = 1;
    a->m_PauseKey = key - 1;
    a->p_PlaySFX(99, 0.8f, 0.5f, 0.0f);
  } else if (pressed(a, 8) && key <= 0) {
    a->m_KeyLatch = 1;
    a->m_PauseKey = key + 1;
    a->p_PlaySFX(99, key == 0 ? 1.2f : 0.8f, 0.5f, 0.0f);
  }
}

}  // namespace

int c_MyApp::p_OptionBox() {
  const float W = bb_Larkspin_jscrw, H = bb_Larkspin_jscrh;
  p_ResetDraw();
  if (bb_Larkspin_isOuya == 1) safeAreaMarks(this, W, H);
  m_KeyLatch = m_InputTaken = 1;
  if (m_OptionsSlide != 30) m_OptKeyLatch = m_OptTouchLatch = 1;
  const float slide = float(m_OptionsSlide);

  p_SetCol(150.0f, 75.0f, 0.0f, 0.85f);
  p_Rect(50.0f, (30.0f - slide) * 24.0f, W - 100.0f, H);
  p_ResetDraw();

  m_GearAngle += 0.2f;
  const float gx = (slide * 3.0f - 90.0f) * 4.0f + 100.0f;
  p_SetSize(m_OptSel == 0 ? 2.0f : 1.5f);
  const float turns[3] = {0.66f, -0.33f, -1.0f};
  const bool gearHit = drawGear(this, gx, 60.0f, turns, m_GearAngle);
  p_SetSize(2.0f);
  p_Text(gx + 76.0f, 60.0f, String("<[BACK]"), 0.0f, 1.0f, 0);
  p_ResetDraw();

  if ((pressed(this, 99) || gearHit) && m_OptKeyLatch == 0 && m_OptTouchLatch == 0) closeBox(this);

  if (bb_Larkspin_isOuya == 1) {
    const float y = (slide * 3.0f - 90.0f) * 4.0f + 92.0f;
    overscanBar(this, W * 0.6f, y, y - 5.0f, y - 8.0f, m_OptKeyLatch, false);
  }
  m_Settings[kSoundMode] = kSoundAll;

  Entry entries[6];
  int n = listEntries(entries);
  float y = (30.0f - slide) * 24.0f + 130.0f;
  for (int i = 0; i < n; ++i, y += 40.0f) optionEntry(this, i + 1, entries[i], y);
  if (bb_Larkspin_isOuya == 1 && m_Paused == 0) {
    y += m_Landscape == 0 ? 40.0f : 0.0f;  // the loop already stepped 40 past the last entry
    optionEntry(this, n + 1, kQuit, y);
    ++n;
  }

  optionKeys(this, n);
  releaseBoxLatches(this);
  p_ResetDraw();
  return 0;
}

int c_MyApp::p_InGame() {
  p_ResetDraw();
  m_MenuIntro = -32;
  const bool request = pressed(this, 99) || (bb_Larkspin_isOuya == 1 && pressed(this, 13));
  if (request && m_Paused == 0 && m_KeyLatch == 0) {
    m_KeyLatch = 1;
    pauseRound(this);
  }
  if (m_ShowFps != 1) {
    p_Alpha(m_InputStyle == 2 ? 1.0f : 0.2f);
    if (p_Button(16.0f, 16.0f, 0) && m_Touching > 0 && m_Paused == 0 && m_InputTaken == 0) {
      m_InputTaken = 1;
      pauseRound(this);
    }
    p_Alpha(1.0f);
  }
  if (m_Paused == 1)
    p_PauseMenu();
  else
    m_ToyTrailSet = 0;
  return 0;
}

int c_MyApp::p_PauseMenu() {
  const float W = bb_Larkspin_jscrw, H = bb_Larkspin_jscrh;
  p_DoBG(-123, -123, -123, -123.0f);
  p_SetCol(0.0f, 0.0f, 0.0f, std::fabs(float(m_PauseY)) / (H * 0.8f));
  p_Rect(0.0f, 0.0f, W, H);
  p_ResetDraw();

  slidePanel(this, H);
  spirograph(this, W, H);

  p_SetSize(4.0f);
  p_Text(W / 2.0f + 96.0f, H / 2.0f, String("PAUSED"), 1.0f, 1.0f, 0);
  p_ResetDraw();

  if (bb_Larkspin_isOuya == 1) {
    const float y = float(m_PauseY);
    overscanBar(this, W / 2.0f, y - 150.0f, y - 154.0f, y - 158.0f, m_KeyLatch, true);
  }
  pauseButtons(this, H);
  pauseKeys(this);

  if (m_KeyLatch == 0 && pressed(this, 99)) {
    m_KeyLatch = 1;
    resumeRound(this);
  }
  return 0;
}

int c_MyApp::p_OuyaQuit() {
  const float W = bb_Larkspin_jscrw, H = bb_Larkspin_jscrh;
  p_CLS2D(220.0f, 220.0f, 200.0f, -1.0f);
  p_SetCol(0.0f, 0.0f, 128.0f);
  p_Rect(32.0f, 32.0f, W - 64.0f, H - 64.0f);

  p_SetCol(255.0f, 0.0f, 0.0f, 0.4f);
  p_Oval(W - 48.0f, H - 16.0f, 3.0f, 3.0f);
  p_Oval(W - 48.0f, H - 16.0f, 2.0f, 2.0f);
  p_Oval(W - 49.0f, H - 17.0f, 1.0f, 1.0f);
  p_ResetDraw();

  float y = float(lk_trunc(H * 0.3f));
  p_SetSize(3.0f);
  p_Text(64.0f, y, String("Unexpected Quit"), 0.0f, 1.0f, 0);
  p_SetSize(2.0f);
  const float gaps[6] = {36.0f, 20.0f, 20.0f, 46.0f, 38.0f, 20.0f};
  const String lines[6] = {String("The player is trying to quit"),
                           String("without using the lovely"),
                           String("quit button on the Menu."),
                           String("What should I do?"),
                           String("Hit ") + glyph('K') + String(" to Quit"),
                           String("or ") + glyph('J') + String(" to Ignore")};
  for (int i = 0; i < 6; ++i) {
    y += gaps[i];
    p_Text(64.0f, y, lines[i], 0.0f, 1.0f, 0);
  }
  p_ResetDraw();

  if (m_InputTaken != 0 || m_KeyLatch != 0) return 0;
  // Quitting wins when both answers come in the same update.
  if (pressed(this, 11) || pressed(this, 12) || pressed(this, 99)) bbError(String());
  if (pressed(this, 10)) {
    m_Screen = 1;
    m_KeyLatch = m_InputTaken = 1;
  }
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
