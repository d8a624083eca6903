// Input state: turns host events into the per-update snapshot the game polls.
#include "app/inputdevice.h"

#include "host/game.h"

namespace {

const int kJoyButtons = BBKEY_JOY_STRIDE;

bool validKey(int key) { return key > 0 && key < c_InputDevice::kKeyCount; }

bool validFinger(int finger) { return finger >= 0 && finger < c_InputDevice::kFingerCount; }

// 0 (never a valid key) for a button whose code would leave the key space.
int mouseKey(int button) {
  return button >= 0 && button < c_InputDevice::kKeyCount - BBKEY_LMB ? BBKEY_LMB + button : 0;
}

}  // namespace

c_InputDevice* c_InputDevice::m_new() {
  for (int i = 0; i < kJoyUnits; ++i) gc_assign(m_joyStates[i], (new c_JoyState)->m_new());
  return this;
}

// Codes outside the key space are dropped here rather than indexing past
// the arrays: the desktop host never sends them, but other hosts might.
int c_InputDevice::p_KeyEvent(int event, int data) {
  switch (event) {
    case BBEVENT_KEY_DOWN:
      if (validKey(data)) p_PressKey(data);
      break;
    case BBEVENT_KEY_UP:
      if (validKey(data)) p_ReleaseKey(data);
      break;
    case BBEVENT_KEY_CHAR:
      if (m_charPut < kCharQueueSize) {
        m_charQueue[m_charPut] = data;
        ++m_charPut;
      }
      break;
    default:
      break;
  }
  return 0;
}

int c_InputDevice::p_MouseEvent(int event, int button, float x, float y) {
  switch (event) {
    case BBEVENT_MOUSE_DOWN:
      p_KeyEvent(BBEVENT_KEY_DOWN, mouseKey(button));
      p_MovePointer(x, y);
      break;
    case BBEVENT_MOUSE_UP:
      p_KeyEvent(BBEVENT_KEY_UP, mouseKey(button));
      break;
    case BBEVENT_MOUSE_MOVE:
      p_MovePointer(x, y);
      break;
    default:
      break;
  }
  return 0;
}

int c_InputDevice::p_TouchEvent(int event, int finger, float x, float y) {
  if (!validFinger(finger)) return 0;
  switch (event) {
    case BBEVENT_TOUCH_DOWN:
      p_KeyEvent(BBEVENT_KEY_DOWN, BBKEY_TOUCH0 + finger);
      p_MoveFinger(finger, x, y);
      break;
    case BBEVENT_TOUCH_UP:
      p_KeyEvent(BBEVENT_KEY_UP, BBKEY_TOUCH0 + finger);
      break;
    case BBEVENT_TOUCH_MOVE:
      p_MoveFinger(finger, x, y);
      break;
    default:
      break;
  }
  return 0;
}

int c_InputDevice::p_MotionEvent(int event, int /*data*/, float x, float y, float z) {
  if (event == BBEVENT_MOTION_ACCEL) {
    m_accelX = x;
    m_accelY = y;
    m_accelZ = z;
  }
  return 0;
}

// The queue remembers which counts to clear at the end of the update, so a
// press beyond its capacity is not counted at all rather than left stale.
int c_InputDevice::p_PutKeyHit(int key) {
  if (!validKey(key) || m_keyHitPut == kHitQueueSize) return 0;
  m_keyHit[key] += 1;
  m_keyHitQueue[m_keyHitPut] = key;
  ++m_keyHitPut;
  return 0;
}

int c_InputDevice::p_BeginUpdate() {
  BBGame* game = BBGame::_game;
  if (!game) return 0;
  for (int unit = 0; unit < kJoyUnits; ++unit) {
    c_JoyState* state = m_joyStates[unit];
    // Units are assigned in order, so the first empty one ends the scan.
    if (!game->PollJoystick(unit, state->m_joyx, state->m_joyy, state->m_joyz, state->m_buttons)) break;
    p_PollUnit(unit);
  }
  return 0;
}

int c_InputDevice::p_EndUpdate() {
  for (int i = 0; i < m_keyHitPut; ++i) m_keyHit[m_keyHitQueue[i]] = 0;
  m_keyHitPut = 0;
  m_charGet = 0;
  m_charPut = 0;
  return 0;
}

bool c_InputDevice::p_KeyDown(int key) { return validKey(key) && m_keyDown[key]; }

int c_InputDevice::p_KeyHit(int key) { return validKey(key) ? m_keyHit[key] : 0; }

int c_InputDevice::p_GetChar() {
  if (m_charGet >= m_charPut) return 0;
  int chr = m_charQueue[m_charGet];
  ++m_charGet;
  return chr;
}

float c_InputDevice::p_MouseX() { return m_mouseX; }

float c_InputDevice::p_MouseY() { return m_mouseY; }

float c_InputDevice::p_TouchX(int finger) { return validFinger(finger) ? m_touchX[finger] : 0.0f; }

float c_InputDevice::p_TouchY(int finger) { return validFinger(finger) ? m_touchY[finger] : 0.0f; }

float c_InputDevice::p_AccelX() { return m_accelX; }

float c_InputDevice::p_AccelY() { return m_accelY; }

float c_InputDevice::p_AccelZ() { return m_accelZ; }

float c_InputDevice::p_JoyX(int index, int unit) {
  c_JoyState* state = p_JoyState(index, unit);
  return state ? state->m_joyx[index] : 0.0f;
}

float c_InputDevice::p_JoyY(int index, int unit) {
  c_JoyState* state = p_JoyState(index, unit);
  return state ? state->m_joyy[index] : 0.0f;
}

int c_InputDevice::p_SetKeyboardEnabled(bool enabled) {
  if (BBGame::_game) BBGame::_game->SetKeyboardEnabled(enabled);
  return 0;
}

void c_InputDevice::mark() {
  Object::mark();
  gc_enqueue(m_joyStates);
  gc_enqueue(m_keyDown);
  gc_enqueue(m_keyHitQueue);
  gc_enqueue(m_keyHit);
  gc_enqueue(m_charQueue);
  gc_enqueue(m_touchX);
  gc_enqueue(m_touchY);
}

// A held key is counted once; the left button and the first touch mirror
// each other so pointer code can ask either.
void c_InputDevice::p_PressKey(int key) {
  if (m_keyDown[key]) return;
  m_keyDown[key] = true;
  p_PutKeyHit(key);
  if (key == BBKEY_LMB) {
    m_keyDown[BBKEY_TOUCH0] = true;
    p_PutKeyHit(BBKEY_TOUCH0);
  } else if (key == BBKEY_TOUCH0) {
    m_keyDown[BBKEY_LMB] = true;
    p_PutKeyHit(BBKEY_LMB);
  }
}

void c_InputDevice::p_ReleaseKey(int key) {
  if (!m_keyDown[key]) return;
  m_keyDown[key] = false;
  if (key == BBKEY_LMB) {
    m_keyDown[BBKEY_TOUCH0] = false;
  } else if (key == BBKEY_TOUCH0) {
    m_keyDown[BBKEY_LMB] = false;
  }
}

void c_InputDevice::p_MovePointer(float x, float y) {
  m_mouseX = x;
  m_mouseY = y;
  m_touchX[0] = x;
  m_touchY[0] = y;
}

void c_InputDevice::p_MoveFinger(int finger, float x, float y) {
  m_touchX[finger] = x;
  m_touchY[finger] = y;
  if (finger == 0) {
    m_mouseX = x;
    m_mouseY = y;
  }
}

void c_InputDevice::p_PollUnit(int unit) {
  Array<bool> buttons = m_joyStates[unit]->m_buttons;
  for (int b = 0; b < kJoyButtons; ++b) {
    int key = BBKEY_JOY0 + unit * kJoyButtons + b;
    if (!buttons[b]) {
      m_keyDown[key] = false;
    } else if (!m_keyDown[key]) {
      m_keyDown[key] = true;
      p_PutKeyHit(key);
    }
  }
}

c_JoyState* c_InputDevice::p_JoyState(int index, int unit) {
  if (index < 0 || index > 1 || unit < 0 || unit >= kJoyUnits) return nullptr;
  return m_joyStates[unit];
}
