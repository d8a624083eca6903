// The input module's functions: the game's way into the one input device.
#pragma once

#include "app/inputdevice.h"

extern c_InputDevice* bb_input_device;

int bb_input_SetInputDevice(c_InputDevice* device);
bool bb_input_KeyDown(int key);
int bb_input_KeyHit(int key);
int bb_input_GetChar();
float bb_input_MouseX();
float bb_input_MouseY();
bool bb_input_MouseDown(int button);
int bb_input_MouseHit(int button);
bool bb_input_TouchDown(int finger);
float bb_input_TouchX(int finger);
float bb_input_TouchY(int finger);
bool bb_input_JoyDown(int button, int unit);
int bb_input_JoyHit(int button, int unit);
float bb_input_JoyX(int index, int unit);
float bb_input_JoyY(int index, int unit);
float bb_input_AccelX();
float bb_input_AccelY();
int bb_input_EnableKeyboard();
int bb_input_DisableKeyboard();

// Clears the module global, as at start-up.
void bb_input_Init();
