// Growable stacks of strings.
#include "net/string_stack.h"

c_Stack2* c_Stack2::m_new() { return this; }

int c_Stack2::p_Push4(String value) {
  if (m_length == m_data.Length()) gc_assign(m_data, m_data.Resize((m_length + 5) * 2));
  m_data[m_length] = value;
  ++m_length;
  return 0;
}

Array<String> c_Stack2::p_ToArray() {
  Array<String> out(m_length);
  for (int i = 0; i < m_length; ++i) out[i] = m_data[i];
  return out;
}

int c_Stack2::p_Clear() {
  for (int i = 0; i < m_length; ++i) m_data[i] = String();
  m_length = 0;
  return 0;
}

int c_Stack2::p_Length2() { return m_length; }

String c_Stack2::p_Get(int index) { return m_data[index]; }

void c_Stack2::mark() {
  Object::mark();
  gc_enqueue(m_data);
}

c_StringStack* c_StringStack::m_new() {
  c_Stack2::m_new();
  return this;
}

String c_StringStack::p_Join(String separator) { return separator.Join(p_ToArray()); }
