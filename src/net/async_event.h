// Sources of asynchronous events and the registry that delivers their
// completions on the main thread.
#pragma once

#include "runtime/runtime.h"

class c_IAsyncEventSource : public gc_interface {
 public:
  virtual int p_UpdateAsyncEvents() = 0;
};

// Growable stack of event sources.
class c_Stack3 : public Object {
 public:
  Array<c_IAsyncEventSource*> m_data;
  int m_length;

  c_Stack3();
  c_Stack3* m_new();
  int p_Push(c_IAsyncEventSource* value);
  int p_Length();
  c_IAsyncEventSource* p_Get(int index);
  bool p_Contains(c_IAsyncEventSource* value);

  void mark() override;
};

extern c_Stack3* bb_asyncevent__sources;
extern c_IAsyncEventSource* bb_asyncevent__current;

int bb_asyncevent_AddAsyncEventSource(c_IAsyncEventSource* source);
int bb_asyncevent_UpdateAsyncEvents();

// Sets the module's globals as the module initialiser does.
void bb_asyncevent_Init();
void bb_asyncevent_MarkRoots();
