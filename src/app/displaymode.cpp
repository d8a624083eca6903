// A screen resolution the display can switch to.
#include "app/displaymode.h"

c_DisplayMode* c_DisplayMode::m_new(int width, int height) {
  m_width = width;
  m_height = height;
  return this;
}

c_DisplayMode* c_DisplayMode::m_new2() { return this; }
