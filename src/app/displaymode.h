// A screen resolution the display can switch to.
#pragma once

#include "runtime/runtime.h"

class c_DisplayMode : public Object {
 public:
  int m_width = 0;
  int m_height = 0;

  c_DisplayMode* m_new(int width, int height);
  c_DisplayMode* m_new2();
};
