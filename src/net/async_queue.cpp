// The socket queues' rings, worker body and main-thread completion.
#include "net/async_queue.h"

#include "net/socket.h"

c_AsyncQueue* c_AsyncQueue::m_new(c_Socket* source) {
  c_Thread::m_new();
  gc_assign(m_source, source);
  gc_assign(m_queue, Array<c_AsyncOp*>(kSlots));
  return this;
}

int c_AsyncQueue::p_Enqueue(c_AsyncOp* op) {
  int put = m_put.load(std::memory_order_relaxed);
  int next = (put + 1) % kSlots;
  // Refuse before storing, so the oldest uncompleted operation is never
  // overwritten while a worker may still be running it.
  if (next == m_get) bbError(String("AsyncQueue queue overflow!"));
  gc_assign(m_queue[put], op);
  m_put.store(next, std::memory_order_release);
  Start();
  return 0;
}

void c_AsyncQueue::Run__UNSAFE__() {
  c_AsyncOp** slots = m_queue.Data();
  int run = m_run.load(std::memory_order_relaxed);
  while (run != m_put.load(std::memory_order_acquire)) {
    slots[run]->p_Execute__UNSAFE__(m_source);
    run = (run + 1) % kSlots;
    m_run.store(run, std::memory_order_release);
  }
}

int c_AsyncQueue::p_UpdateAsyncEvents() {
  // Work queued while the last worker was already on its way out.
  if (m_run.load(std::memory_order_acquire) != m_put.load(std::memory_order_relaxed)) Start();
  while (m_get != m_run.load(std::memory_order_acquire)) {
    c_AsyncOp* op = m_queue[m_get];
    m_get = (m_get + 1) % kSlots;
    op->p_Complete(m_source);
  }
  return 0;
}

void c_AsyncQueue::mark() {
  c_Thread::mark();
  gc_enqueue(m_source);
  gc_enqueue(m_queue);
}
