// One function body run on a detached operating-system thread. Only the
// running flag and the result slot are shared with the main thread.
#pragma once

#include <atomic>

#include "runtime/runtime.h"

class BBThread : public Object {
 public:
  // 0 never started, 1 running, 2 finished.
  std::atomic<int> running;
  // Written by the worker without the write barrier (the collector belongs
  // to the main thread), so whatever is stored here must be reachable by
  // other means until the main thread has picked it up.
  std::atomic<Object*> result;

  BBThread();

  void Start();
  bool IsRunning();
  Object* Result();
  void SetResult(Object* value);
  virtual void Run__UNSAFE__();

  // A copy with a representation of its own, so that no reference count is
  // shared between threads.
  static String Strdup(String const& str);

  void mark() override;

 private:
  static void* Body(void* self);
};

class c_Thread : public BBThread {
 public:
  c_Thread* m_new();
};

