// The last polled state of one game controller; the host fills the arrays in place.
#pragma once

#include "runtime/runtime.h"

class c_JoyState : public Object {
 public:
  Array<float> m_joyx = Array<float>(2);     // x axis of stick 0 and stick 1
  Array<float> m_joyy = Array<float>(2);     // y axis of stick 0 and stick 1
  Array<float> m_joyz = Array<float>(2);     // the two triggers
  Array<bool> m_buttons = Array<bool>(32);

  c_JoyState* m_new();
  void mark() override;
};
