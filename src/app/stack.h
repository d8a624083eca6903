// Growable stack of display modes, used to collect the distinct modes.
#pragma once

#include "app/displaymode.h"
#include "runtime/runtime.h"

class c_Stack : public Object {
 public:
  Array<c_DisplayMode*> m_data;
  int m_length = 0;

  c_Stack* m_new();
  int p_Push(c_DisplayMode* value);
  int p_Length();
  c_DisplayMode* p_Get(int index);
  Array<c_DisplayMode*> p_ToArray();
  void mark() override;
};
