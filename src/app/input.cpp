// The input module's functions. Before the game starts there is no device;
// queries then answer "nothing pressed" instead of dereferencing null.
#include "app/input.h"

#include "host/game.h"

c_InputDevice* bb_input_device = nullptr;

namespace {

// Shifting through unsigned keeps odd arguments defined; the key range
// check then rejects them.
int joyKey(int button, int unit) {
  return static_cast<int>(static_cast<unsigned>(button) | unsigned(BBKEY_JOY0) | (static_cast<unsigned>(unit) << 5));
}

}  // namespace

int bb_input_SetInputDevice(c_InputDevice* device) {
  gc_assign(bb_input_device, device);
  return 0;
}

bool bb_input_KeyDown(int key) { return bb_input_device && bb_input_device->p_KeyDown(key); }

int bb_input_KeyHit(int key) { return bb_input_device ? bb_input_device->p_KeyHit(key) : 0; }

int bb_input_GetChar() { return bb_input_device ? bb_input_device->p_GetChar() : 0; }

float bb_input_MouseX() { return bb_input_device ? bb_input_device->p_MouseX() : 0.0f; }

float bb_input_MouseY() { return bb_input_device ? bb_input_device->p_MouseY() : 0.0f; }

bool bb_input_MouseDown(int button) { return button >= 0 && button <= 510 && bb_input_KeyDown(1 + button); }

int bb_input_MouseHit(int button) { return button >= 0 && button <= 510 ? bb_input_KeyHit(1 + button) : 0; }

bool bb_input_TouchDown(int finger) { return finger >= -383 && finger <= 127 && bb_input_KeyDown(384 + finger); }

float bb_input_TouchX(int finger) { return bb_input_device ? bb_input_device->p_TouchX(finger) : 0.0f; }

float bb_input_TouchY(int finger) { return bb_input_device ? bb_input_device->p_TouchY(finger) : 0.0f; }

bool bb_input_JoyDown(int button, int unit) { return bb_input_KeyDown(joyKey(button, unit)); }

int bb_input_JoyHit(int button, int unit) { return bb_input_KeyHit(joyKey(button, unit)); }

float bb_input_JoyX(int index, int unit) { return bb_input_device ? bb_input_device->p_JoyX(index, unit) : 0.0f; }

float bb_input_JoyY(int index, int unit) { return bb_input_device ? bb_input_device->p_JoyY(index, unit) : 0.0f; }

float bb_input_AccelX() { return bb_input_device ? bb_input_device->p_AccelX() : 0.0f; }

float bb_input_AccelY() { return bb_input_device ? bb_input_device->p_AccelY() : 0.0f; }

int bb_input_EnableKeyboard() {
  if (BBGame::_game) BBGame::_game->SetKeyboardEnabled(true);
  return 1;
}

int bb_input_DisableKeyboard() {
  if (BBGame::_game) BBGame::_game->SetKeyboardEnabled(false);
  return 1;
}

void bb_input_Init() { bb_input_device = nullptr; }
