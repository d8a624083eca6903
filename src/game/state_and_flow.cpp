// The game object and its main flow: construction with every pool at full
// size, start-up, the fixed order of work inside one update, the render that
// fits the virtual screen to the device and replays the recorded drawing,
// and suspension.
#include "game/my_app.h"
#include "game/round_records.h"
#include "game/saved_slots.h"

namespace {

// Where F2's frame rate sits: the top left corner, which the round's pause
// icon leaves free while it is shown.
const float kFpsX = 4.0f, kFpsY = 4.0f;

void clearPad(Array<int>& pad) {
  for (int i = 0; i <= 18; ++i) pad[i] = 0;
}

}  // namespace

c_MyApp::c_MyApp() {
  m_InputStyle = bb_Larkspin_isOuya == 1 ? 1 : 0;
  m_HttpReply = String("N/A");
  gc_assign(m_DrawList, Array<float>(LK_DRAWLIST_FLOATS));
  gc_assign(m_TriVerts, Array<float>(6));
  gc_assign(m_TouchDown, Array<int>(10));
  gc_assign(m_TouchX, Array<int>(10));
  gc_assign(m_TouchY, Array<int>(10));
  gc_assign(m_Pad, Array<int>(20));
  gc_assign(m_PauseData, Array<float>(512));
  gc_assign(m_Sounds, Array<c_Sound*>(100));
  gc_assign(m_SfxChannels, Array<int>(33));
  gc_assign(m_Images, Array<c_Image*>(100));
  gc_assign(m_ImgSize, Array<int>(300));
  gc_assign(m_Settings, Array<int>(lk_saved::kSettingCount));
  gc_assign(m_Badges, Array<bool>(256));
  gc_assign(m_HiScores, Array<int>(lk_saved::kRecordCount));
  gc_assign(m_Players, Array<float>(512));
  gc_assign(m_Trail, Array<float>(1000));
  gc_assign(m_Grid, Array<float>(lk_round::kGridFloats));
  gc_assign(m_Objects, Array<float>(5100));
  gc_assign(m_Particles, Array<float>(5100));
  gc_assign(m_Stars, Array<float>(5100));
  gc_assign(m_GemSlots, Array<int>(20));
  gc_assign(m_BadgeShow, Array<int>(15));
  gc_assign(m_BadgeShowTime, Array<int>(15));
}

c_MyApp* c_MyApp::m_new() {
  c_App::m_new();
  return this;
}

void c_MyApp::mark() {
  c_App::mark();
  gc_enqueue(m_Http);
  gc_enqueue(m_DrawList);
  gc_enqueue(m_TriVerts);
  gc_enqueue(m_TouchDown);
  gc_enqueue(m_TouchX);
  gc_enqueue(m_TouchY);
  gc_enqueue(m_Pad);
  gc_enqueue(m_PauseData);
  gc_enqueue(m_Sounds);
  gc_enqueue(m_SfxChannels);
  gc_enqueue(m_Images);
  gc_enqueue(m_ImgSize);
  gc_enqueue(m_Settings);
  gc_enqueue(m_Badges);
  gc_enqueue(m_HiScores);
  gc_enqueue(m_Players);
  gc_enqueue(m_Trail);
  gc_enqueue(m_Grid);
  gc_enqueue(m_Objects);
  gc_enqueue(m_Particles);
  gc_enqueue(m_Stars);
  gc_enqueue(m_GemSlots);
  gc_enqueue(m_BadgeShow);
  gc_enqueue(m_BadgeShowTime);
}

int c_MyApp::p_OnCreate() {
  if (bb_Larkspin_isOuya == 1) {
    m_InputStyle = 1;
    bb_Larkspin_overscan = 64.0f;
  }
  m_MenuSel = 1;
  m_MenuScroll = -32.0f;
  m_Fullscreen = 0;
  if (bb_Larkspin_J_On_Allow == 1)
    p_GetURL(bb_Larkspin_CheckInPage, String("hello=1&gameID=") + String(bb_Larkspin_GameNum));
  m_Screen = 1;
  bb_app_SetUpdateRate(60);
  m_LastDevWidth = bb_app_DeviceWidth();
  m_LastDevHeight = bb_app_DeviceHeight();
  m_TiltZeroX = m_TiltZeroY = 0.0f;
  p_Reload();
  m_GameMode = 2;
  m_MenuIntro = -32;
  m_PauseSel = -1;
  m_PauseY = -64;
  for (int i = 0; i < 15; ++i) m_BadgeShow[i] = m_BadgeShowTime[i] = 0;
  for (int i = 0; i < 128; ++i) m_Badges[i] = false;
  for (int i = 0; i < 19; ++i) m_Pad[i] = 0;
  for (int i = 0; i < lk_saved::kSettingCount; ++i) m_Settings[i] = 0;
  m_Settings[lk_saved::kSoundMode] = lk_saved::kSoundAll;
  for (int i = 0; i < 61; ++i) m_HiScores[i] = 0;
  p_Load();
  for (int i = 0; i <= 32; ++i) m_SfxChannels[i] = i;
  return 0;
}

int c_MyApp::m_MeasureRate(int now, int& last, int& fps, int& avg) {
  if (now > last) {
    fps = 1000 / (now - last);
    avg = (fps + 9 * avg) / 10;
    last = now;
  }
  return 0;
}

int c_MyApp::p_OnUpdate() {
  p_BackKeyStep();
  if (bb_input_KeyHit(BBKEY_F1)) bb_Larkspin_DebugMode = 1 - bb_Larkspin_DebugMode;
  if (bb_input_KeyHit(BBKEY_F2)) m_ShowFps = 1 - m_ShowFps;
  if (bb_input_KeyHit(BBKEY_F11)) p_FullscreenFlip();
  if (bb_input_KeyHit(BBKEY_F4)) bbError(String());
  if (bb_input_KeyHit(BBKEY_CLOSE)) {
    bbError(String());
    return 0;
  }
  p_PollCheckIn();
  if (bb_Larkspin_HasMusicStream == 1 && m_MusicOn == 1 && bb_audio_device) {
    if (m_Paused != 0)
      bb_audio_PauseMusic();
    else
      bb_audio_ResumeMusic();
  }
  m_MeasureRate(bb_app_Millisecs(), m_UpdateMillis, m_UpdateFps, m_UpdateFpsAvg);
  p_PointerStep();
  p_TouchStep();
  p_ReleaseStep();
  p_KeyLatchStep();
  p_ScreenStep();
  p_SlidePanels();
  if (m_LoadStep > 0) p_Loader();
  p_PadDecay();
  p_OnScreenPad();
  p_TiltIndicator();
  p_DebugLine();
  p_FrameRate();
  p_ShowBadges();
  return 0;
}

int c_MyApp::p_ScreenStep() {
  if (m_LoadStep != 0) return 0;
  switch (m_Screen) {
    case 1:
      p_Menu();
      break;
    case 2:
      p_LoadMenu();
      p_PlaySFX(96, 1.0f, 1.0f, 0.0f);
      m_Screen = 1;
      p_Menu();
      break;
    case 4:
      p_OuyaQuit();
      break;
    case 10:
      if (m_Paused == 0) p_Game();
      p_InGame();
      break;
    case 11:
      p_LoadGame();
      break;
    default:
      break;
  }
  if (m_Screen == 1 || m_Screen == 2 || (m_Screen == 10 && m_RoundOver > 0)) p_GameOver();
  return 0;
}

// Options box and side panel slide in and out over several updates.
int c_MyApp::p_SlidePanels() {
  if (m_OptionsOpen == 1 || m_OptionsSlide > 0) p_OptionBox();
  if (m_OptionsOpen != 1 && m_OptionsSlide > 0) --m_OptionsSlide;
  if (m_OptionsOpen == 1 && m_OptionsSlide < 30) ++m_OptionsSlide;

  if (m_SidePanel != 1) {
    if (m_SidePanelX > 0.0f) {
      m_SidePanelX -= m_SidePanelX / 8.0f;
      if (m_SidePanelX < 8.0f) m_SidePanelX = 0.0f;
    }
  } else {
    const float target = bb_Larkspin_jscrw - 140.0f;
    if (m_SidePanelX < target) {
      m_SidePanelX += (target - m_SidePanelX) / 8.0f;
      if (target - m_SidePanelX < 8.0f) m_SidePanelX = target;
    }
  }
  return 0;
}

int c_MyApp::p_DebugLine() {
  if (bb_Larkspin_DebugMode != 1) return 0;
  p_ResetDraw();
  const float y = bb_Larkspin_AccelerometerControls == 1 ? bb_Larkspin_jscrh * 0.5f
                                                          : bb_Larkspin_jscrh - 16.0f;
  String line = String(m_RenderFpsAvg) + String(":") + String(m_ScaleX) + String(",") +
                String(m_ScaleY) + String(" - ") + String(m_DrawCount / LK_CMD_FLOATS);
  p_Text(16.0f, y, line, 0.0f, 0.0f, 0);
  return 0;
}

// F2: the frames rendered per second, the same smoothed figure the debug
// line shows, small in a corner of every screen.
int c_MyApp::p_FrameRate() {
  if (m_ShowFps != 1) return 0;
  p_ResetDraw();
  p_Text(kFpsX, kFpsY, String(m_RenderFpsAvg) + String(" fps"), 0.0f, 0.0f, 0);
  return 0;
}

// A new device size needs pictures of another resolution: reload them all.
int c_MyApp::p_DeviceChanged(int devWidth, int devHeight) {
  if (devWidth == m_LastDevWidth && devHeight == m_LastDevHeight) return 0;
  m_LastDevWidth = devWidth;
  m_LastDevHeight = devHeight;
  m_LoadStep = 1;
  return 1;
}

int c_MyApp::p_FitScreen(int devWidth, int devHeight) {
  // A minimised window reports no size; keep the last fit rather than divide
  // by zero.
  if (devWidth <= 0 || devHeight <= 0) return 0;
  const float dw = float(devWidth), dh = float(devHeight);
  const float f = devHeight > devWidth ? 1.5f : 1.0f;
  const float ov = bb_Larkspin_overscan;
  const float sx = (dw - 2.0f * ov) / (bb_Larkspin_rawscrw * f);
  const float sy = (dh - 2.0f * ov) / (bb_Larkspin_rawscrh * f);
  float k;
  if (sx >= sy) {
    m_ScaleMode = 1;
    m_ScaleX = m_ScaleY = sx;
    k = dw / (bb_Larkspin_rawscrw * f);
  } else {
    m_ScaleMode = 2;
    m_ScaleX = m_ScaleY = sy;
    k = dh / (bb_Larkspin_rawscrh * f);
  }
  bb_Larkspin_jscrw = dw / k;
  bb_Larkspin_jscrh = dh / k;
  m_Landscape = bb_Larkspin_jscrh <= bb_Larkspin_jscrw ? 1 : 0;
  return 0;
}

int c_MyApp::p_OnRender() {
  m_MeasureRate(bb_app_Millisecs(), m_RenderMillis, m_RenderFps, m_RenderFpsAvg);
  const int dw = bb_app_DeviceWidth(), dh = bb_app_DeviceHeight();
  bb_graphics_SetColor(m_ClsR, m_ClsG, m_ClsB);
  bb_graphics_SetAlpha(m_ClsA);
  bb_graphics_DrawRect(-1.0f, -1.0f, float(dw + 2), float(dh + 2));
  bb_graphics_SetColor(255.0f, 255.0f, 255.0f);
  bb_graphics_SetAlpha(1.0f);
  p_DeviceChanged(dw, dh);
  p_FitScreen(dw, dh);
  const float offY = dw > 0 ? bb_Larkspin_overscan * float(dh) / float(dw) : 0.0f;
  p_Replay(m_ScaleX, bb_Larkspin_overscan, offY);
  bb_graphics_SetAlpha(0.5f);
  bb_graphics_SetColor(255.0f, 255.0f, 255.0f);
  return 0;
}

// Suspending or resuming in a round brings it back paused, with the pause
// panel already in place.
int c_MyApp::p_PauseRule() {
  if (m_Screen < 10) {
    m_Paused = m_PauseSel = m_PauseY = 0;
  } else {
    m_Paused = 1;
    m_PauseSel = 1;
    m_PauseY = lk_trunc(bb_Larkspin_jscrh * 0.5f);
  }
  return 0;
}

int c_MyApp::p_OnSuspend() {
  bb_input_DisableKeyboard();
  clearPad(m_Pad);
  p_PauseRule();
  bb_app_SetUpdateRate(5);
  p_Save();
  return 0;
}

int c_MyApp::p_OnResume() {
  p_PauseRule();
  bb_app_SetUpdateRate(60);
  bb_input_DisableKeyboard();
  clearPad(m_Pad);
  return 0;
}
