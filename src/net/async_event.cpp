// Registry of asynchronous event sources, updated from the game's update step.
#include "net/async_event.h"

c_Stack3* bb_asyncevent__sources;
c_IAsyncEventSource* bb_asyncevent__current;

c_Stack3::c_Stack3() : m_length(0) {}

c_Stack3* c_Stack3::m_new() { return this; }

int c_Stack3::p_Push(c_IAsyncEventSource* value) {
  if (m_length == m_data.Length()) {
    gc_assign(m_data, m_data.Resize((m_length + 5) * 2));
  }
  gc_assign(m_data[m_length], value);
  ++m_length;
  return 0;
}

int c_Stack3::p_Length() { return m_length; }

c_IAsyncEventSource* c_Stack3::p_Get(int index) { return m_data[index]; }

bool c_Stack3::p_Contains(c_IAsyncEventSource* value) {
  for (int i = 0; i < m_length; ++i) {
    if (m_data[i] == value) return true;
  }
  return false;
}

void c_Stack3::mark() {
  Object::mark();
  gc_enqueue(m_data);
}

int bb_asyncevent_AddAsyncEventSource(c_IAsyncEventSource* source) {
  if (bb_asyncevent__sources->p_Contains(source)) {
    bbError(String("Async event source is already active"));
  }
  bb_asyncevent__sources->p_Push(source);
  return 0;
}

int bb_asyncevent_UpdateAsyncEvents() {
  // A source's callback may call back in here; its own update is running.
  if (bb_asyncevent__current) return 0;
  int i = 0;
  while (i < bb_asyncevent__sources->p_Length()) {
    c_IAsyncEventSource* source = bb_asyncevent__sources->p_Get(i);
    gc_assign(bb_asyncevent__current, source);
    source->p_UpdateAsyncEvents();
    if (bb_asyncevent__current) ++i;
  }
  bb_asyncevent__current = nullptr;
  return 0;
}

void bb_asyncevent_Init() {
  gc_assign(bb_asyncevent__sources, (new c_Stack3)->m_new());
  bb_asyncevent__current = nullptr;
}

void bb_asyncevent_MarkRoots() {
  gc_enqueue(bb_asyncevent__sources);
  gc_enqueue(bb_asyncevent__current);
}
