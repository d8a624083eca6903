// The framework's delegate between the host and the application.
#include "app/gamedelegate.h"

#include "app/app.h"
#include "audio/audio.h"
#include "graphics/graphics.h"

// The audio device starts opening now, alongside the window, rather than
// after it in StartGame.
c_GameDelegate* c_GameDelegate::m_new() {
  gxtkAudio::OpenDeviceAhead();
  return this;
}

void c_GameDelegate::StartGame() {
  gc_assign(m_graphics, new gxtkGraphics);
  bb_graphics_SetGraphicsDevice(m_graphics);
  bb_graphics_SetFont(nullptr, 32);

  gc_assign(m_audio, new gxtkAudio);
  bb_audio_SetAudioDevice(m_audio);

  gc_assign(m_input, (new c_InputDevice)->m_new());
  bb_input_SetInputDevice(m_input);

  bb_app_ValidateDeviceWindow(false);
  bb_app_EnumDisplayModes();
  bb_app__app->p_OnCreate();
}

void c_GameDelegate::SuspendGame() {
  bb_app__app->p_OnSuspend();
  m_audio->Suspend();
}

void c_GameDelegate::ResumeGame() {
  m_audio->Resume();
  bb_app__app->p_OnResume();
}

void c_GameDelegate::UpdateGame() {
  bb_app_ValidateDeviceWindow(true);
  m_input->p_BeginUpdate();
  bb_app__app->p_OnUpdate();
  m_input->p_EndUpdate();
}

// The desktop renderer answers 1; 2 would mean assets are still loading.
void c_GameDelegate::RenderGame() {
  bb_app_ValidateDeviceWindow(true);
  int mode = m_graphics->BeginRender();
  if (mode) bb_graphics_BeginRender();
  if (mode == 2) {
    bb_app__app->p_OnLoading();
  } else {
    bb_app__app->p_OnRender();
  }
  if (mode) bb_graphics_EndRender();
  m_graphics->EndRender();
}

// Close and back end the program on every press, also a repeated one.
void c_GameDelegate::KeyEvent(int event, int data) {
  m_input->p_KeyEvent(event, data);
  if (event != BBEVENT_KEY_DOWN) return;
  if (data == BBKEY_CLOSE) {
    bb_app__app->p_OnClose();
  } else if (data == BBKEY_BACK) {
    bb_app__app->p_OnBack();
  }
}

void c_GameDelegate::MouseEvent(int event, int data, float x, float y) {
  m_input->p_MouseEvent(event, data, x, y);
}

void c_GameDelegate::TouchEvent(int event, int data, float x, float y) {
  m_input->p_TouchEvent(event, data, x, y);
}

void c_GameDelegate::MotionEvent(int event, int data, float x, float y, float z) {
  m_input->p_MotionEvent(event, data, x, y, z);
}

void c_GameDelegate::DiscardGraphics() { m_graphics->DiscardGraphics(); }

void c_GameDelegate::mark() {
  BBGameDelegate::mark();
  gc_enqueue(m_graphics);
  gc_enqueue(m_audio);
  gc_enqueue(m_input);
}
