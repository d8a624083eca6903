// Growable stack of display modes.
#include "app/stack.h"

c_Stack* c_Stack::m_new() { return this; }

int c_Stack::p_Push(c_DisplayMode* value) {
  if (m_length == m_data.Length()) {
    // Grow geometrically so pushing n modes copies O(n) elements in total.
    gc_assign(m_data, m_data.Resize((m_length + 5) * 2));
  }
  gc_assign(m_data[m_length], value);
  ++m_length;
  return 0;
}

int c_Stack::p_Length() { return m_length; }

c_DisplayMode* c_Stack::p_Get(int index) {
  if (index < 0 || index >= m_length) return nullptr;
  return m_data[index];
}

Array<c_DisplayMode*> c_Stack::p_ToArray() {
  Array<c_DisplayMode*> result(m_length);
  for (int i = 0; i < m_length; ++i) gc_assign(result[i], m_data[i]);
  return result;
}

void c_Stack::mark() {
  Object::mark();
  gc_enqueue(m_data);
}
