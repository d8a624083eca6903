// Per-update snapshot of keyboard, mouse, touch, motion and controller input.
// Events arriving between two updates accumulate here; the delegate brackets
// each application update with p_BeginUpdate and p_EndUpdate.
#pragma once

#include "app/joystate.h"
#include "runtime/runtime.h"

class c_InputDevice : public Object {
 public:
  static constexpr int kKeyCount = 512;
  static constexpr int kHitQueueSize = 33;
  static constexpr int kCharQueueSize = 32;
  static constexpr int kFingerCount = 32;
  static constexpr int kJoyUnits = 4;

  Array<c_JoyState*> m_joyStates = Array<c_JoyState*>(kJoyUnits);
  Array<bool> m_keyDown = Array<bool>(kKeyCount);
  int m_keyHitPut = 0;
  Array<int> m_keyHitQueue = Array<int>(kHitQueueSize);
  Array<int> m_keyHit = Array<int>(kKeyCount);
  int m_charGet = 0;
  int m_charPut = 0;
  Array<int> m_charQueue = Array<int>(kCharQueueSize);
  float m_mouseX = 0;
  float m_mouseY = 0;
  Array<float> m_touchX = Array<float>(kFingerCount);
  Array<float> m_touchY = Array<float>(kFingerCount);
  float m_accelX = 0;
  float m_accelY = 0;
  float m_accelZ = 0;

  c_InputDevice* m_new();

  int p_KeyEvent(int event, int data);
  int p_MouseEvent(int event, int button, float x, float y);
  int p_TouchEvent(int event, int finger, float x, float y);
  int p_MotionEvent(int event, int data, float x, float y, float z);
  int p_PutKeyHit(int key);
  int p_BeginUpdate();
  int p_EndUpdate();

  bool p_KeyDown(int key);
  int p_KeyHit(int key);
  int p_GetChar();
  float p_MouseX();
  float p_MouseY();
  float p_TouchX(int finger);
  float p_TouchY(int finger);
  float p_AccelX();
  float p_AccelY();
  float p_AccelZ();
  float p_JoyX(int index, int unit);
  float p_JoyY(int index, int unit);
  int p_SetKeyboardEnabled(bool enabled);

  void mark() override;

 private:
  void p_PressKey(int key);
  void p_ReleaseKey(int key);
  void p_MovePointer(float x, float y);
  void p_MoveFinger(int finger, float x, float y);
  void p_PollUnit(int unit);
  c_JoyState* p_JoyState(int index, int unit);
};
