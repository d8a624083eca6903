// The framework's delegate: receives every host event and turns it into
// the application's create, update, render, suspend and resume calls, with
// input events passed to the input state.
#pragma once

#include "app/inputdevice.h"
#include "host/game.h"
#include "runtime/runtime.h"

class gxtkGraphics;
class gxtkAudio;

class c_GameDelegate : public BBGameDelegate {
 public:
  gxtkGraphics* m_graphics = nullptr;
  gxtkAudio* m_audio = nullptr;
  c_InputDevice* m_input = nullptr;

  c_GameDelegate* m_new();

  void StartGame() override;
  void SuspendGame() override;
  void ResumeGame() override;
  void UpdateGame() override;
  void RenderGame() override;
  void KeyEvent(int event, int data) override;
  void MouseEvent(int event, int data, float x, float y) override;
  void TouchEvent(int event, int data, float x, float y) override;
  void MotionEvent(int event, int data, float x, float y, float z) override;
  void DiscardGraphics() override;

  void mark() override;
};
