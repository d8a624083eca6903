// Pointer, touch and on-screen controls: the raw mouse, touch and key state
// becomes the game's per-update input in virtual units, with the flags that
// make one press act only once. The on-screen pad and the tilt indicator are
// switched off on the desktop but work when their switch is set.
#include "game/my_app.h"
#include "game/saved_slots.h"

#include <cmath>

namespace {

// Device rows are offset by the overscan scaled to the screen's shape.
float overscanY() {
  int w = bb_app_DeviceWidth();
  if (w <= 0) return 0.0f;
  return bb_Larkspin_overscan * float(bb_app_DeviceHeight()) / float(w);
}

const int kLatchButtons[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, 99};

// A press already released again when the update comes (a quick click or a
// touchpad tap) is down for that one update, so it acts once as a held
// press does; the device keeps its hit until the update has run.
bool pressedThisUpdate(int finger) {
  return bb_input_TouchDown(finger) || bb_input_KeyHit(BBKEY_TOUCH0 + finger) > 0;
}

}  // namespace

int c_MyApp::p_BackKeyStep() {
  if (bb_Larkspin_isOuya == 1)
    m_Pad[19] = bb_input_KeyHit(BBKEY_JOY0 + BBJOY_MENU) > 0 ? 1 : 0;  // first controller
  else
    m_Pad[19] = bb_input_KeyHit(BBKEY_BACK);
  return 0;
}

int c_MyApp::p_PointerStep() {
  m_MouseX = lk_trunc((bb_input_MouseX() - bb_Larkspin_overscan) / m_ScaleX);
  m_MouseY = lk_trunc((bb_input_MouseY() - overscanY()) / m_ScaleY);
  return 0;
}

int c_MyApp::p_TouchStep() {
  m_Touching = bb_input_MouseDown(0) || bb_input_MouseHit(0) > 0 ? 1 : 0;
  for (int i = 0; i < 10; ++i) {
    m_TouchDown[i] = 0;
    m_TouchX[i] = LK_NO_TOUCH;
    m_TouchY[i] = LK_NO_TOUCH;
  }
  if (bb_Larkspin_isOuya == 1) {
    m_InputStyle = 1;
    return 0;
  }
  const float offY = overscanY();
  for (int i = 0; i < 10; ++i) {
    if (!pressedThisUpdate(i)) continue;
    m_TouchX[i] = lk_trunc((bb_input_TouchX(i) - bb_Larkspin_overscan) / m_ScaleX);
    m_TouchY[i] = lk_trunc((bb_input_TouchY(i) - offY) / m_ScaleY);
    m_TouchDown[i] = 1;
    m_Touching = 1;
  }
  return 0;
}

int c_MyApp::p_ReleaseStep() {
  if (m_Touching == 0) m_InputTaken = 0;
  return 0;
}

int c_MyApp::p_KeyLatchStep() {
  bool anyPressed = false;
  for (int b : kLatchButtons) {
    if (p_PlayKeyAll(b, 1) > 0) {
      anyPressed = true;
      break;
    }
  }
  if (!anyPressed) m_KeyLatch = 0;
  if (m_KeyLatch == 0 && m_Screen == 1 && (m_OptionsOpen == 1 || m_SidePanel == 1) &&
      p_PlayKeyAll(99, 1) > 0) {
    m_SidePanel = 0;  // the options box closes itself
    m_KeyLatch = 1;
    m_InputTaken = 1;
  }
  if (m_OptionsOpen == 1) {
    m_KeyLatch = 1;
    m_InputTaken = 1;
  }
  return 0;
}

int c_MyApp::p_PadDecay() {
  for (int i = 0; i <= 18; ++i)
    if (m_Pad[i] == 1) m_Pad[i] = 0;
  return 0;
}

int c_MyApp::p_OnScreenPad() {
  if (bb_Larkspin_OnScreenControls != 1 || m_Screen <= 5) return 0;
  const int W = lk_trunc(bb_Larkspin_jscrw), H = lk_trunc(bb_Larkspin_jscrh);
  using namespace lk_saved;
  m_Settings[kPadX] = lk_clamp(m_Settings[kPadX], 32, W - 32);
  m_Settings[kPadLift] = lk_clamp(m_Settings[kPadLift], 32, H - 32);
  m_Settings[kPadSize] = lk_clamp(m_Settings[kPadSize], 8, 25);
  m_PadX = m_Settings[kPadX];
  m_PadY = H - m_Settings[kPadLift];
  m_PadScale = float(m_Settings[kPadSize]) / 10.0f;
  const float sc = m_PadScale, px = float(m_PadX), py = float(m_PadY);

  p_ResetDraw();
  p_SetCol(255, 255, 255, 0.6f);
  p_SetSize(sc);
  struct Arrow { float dx, dy; int frame, entry; };
  const Arrow arrows[] = {{-32, 0, 4, 3}, {0, -32, 1, 0}, {0, 32, 9, 8}, {32, 0, 6, 5}};
  for (const Arrow& a : arrows)
    if (p_Button(94, px + a.dx * sc, py + a.dy * sc, a.frame) && m_Paused == 0) m_Pad[a.entry] = 1;

  if (m_Paused == 0) {
    p_DrawImg(94, px, py, 5);
    m_PadGesture = -1;
  } else {
    // While paused the pad is moved with one finger and sized with two.
    p_SetSize(3.0f);
    bool grabbed = p_Button0(94, px, py, 5);
    p_SetSize(sc);
    if (grabbed && m_TouchDown[1] == 0) {
      m_Settings[kPadX] = m_TouchX[0];
      m_Settings[kPadLift] = H - m_TouchY[0];
    }
    if (m_TouchDown[0] != 0 && m_TouchDown[1] != 0) {
      int spread = lk_trunc(std::fabs(float(m_TouchX[0]) - float(m_TouchX[1])) / 16.0f);
      if (m_PadGesture >= 0) m_Settings[kPadSize] += spread - m_PadGesture;
      m_PadGesture = spread;
    } else if (m_TouchDown[1] == 0) {
      m_PadGesture = -1;
    }
  }

  p_SetSize(1.5f * sc);
  if (p_Button(94, float(W) - (px - 24 * sc), py - 24 * sc, 0) && m_Paused == 0) m_Pad[10] = 1;
  if (p_Button(94, float(W) - (px + 24 * sc), py + 24 * sc, 0) && m_Paused == 0) m_Pad[11] = 1;
  p_ResetDraw();
  return 0;
}

int c_MyApp::p_TiltIndicator() {
  if (bb_Larkspin_AccelerometerControls != 1) return 0;
  const float H = bb_Larkspin_jscrh;
  const float ax = bb_input_AccelX(), ay = bb_input_AccelY();
  m_TiltX = -(m_TiltZeroX - ax);
  m_TiltY = -(m_TiltZeroY - ay);
  auto ease = [](float& shown, float target) {
    shown += (target - shown) * 0.25f;
    if (std::fabs(shown - target) < 0.005f) shown = target;
  };
  ease(m_TiltShowX, -m_TiltX);
  ease(m_TiltShowY, -m_TiltY);

  p_ResetDraw();
  p_SetSize(1.5f);
  p_Alpha(0.8f);
  if (p_Button(97, 24.0f, H - 24.0f, 7)) {
    m_TiltZeroX = ax;
    m_TiltZeroY = ay;
  }
  p_SetSize(1.0f);
  p_SetCol(100, 255, 100, 0.6f);
  p_Oval(24.0f + 20.0f * m_TiltShowX, H - 24.0f + 20.0f * m_TiltShowY, 4.0f, 4.0f);
  p_ResetDraw();
  return 0;
}
