// A ring of 256 pending operations, executed in order by the queue's own
// worker thread and completed on the main thread.
#pragma once

#include <atomic>

#include "net/async_event.h"
#include "net/async_ops.h"
#include "net/thread.h"

class c_AsyncQueue : public c_Thread, public c_IAsyncEventSource {
 public:
  enum { kSlots = 256 };

  c_Socket* m_source = nullptr;
  Array<c_AsyncOp*> m_queue;
  // One writer each: the main thread moves m_put and m_get, the worker
  // m_run. A release store publishes the operation behind an index.
  std::atomic<int> m_put{0};
  int m_get = 0;
  std::atomic<int> m_run{0};

  c_AsyncQueue* m_new(c_Socket* source);
  int p_Enqueue(c_AsyncOp* op);
  void Run__UNSAFE__() override;
  int p_UpdateAsyncEvents() override;
  void mark() override;
};

