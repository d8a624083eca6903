// The last polled state of one game controller.
#include "app/joystate.h"

c_JoyState* c_JoyState::m_new() { return this; }

void c_JoyState::mark() {
  Object::mark();
  gc_enqueue(m_joyx);
  gc_enqueue(m_joyy);
  gc_enqueue(m_joyz);
  gc_enqueue(m_buttons);
}
