// Detached worker threads for blocking operations.
#include "net/thread.h"

#include <pthread.h>

#include <cstdio>
#include <cstdlib>

BBThread::BBThread() : running(0), result(nullptr) {}

void BBThread::Start() {
  if (running.load(std::memory_order_acquire) == 1) return;
  result.store(nullptr, std::memory_order_relaxed);
  running.store(1, std::memory_order_release);
  pthread_t thread;
  if (pthread_create(&thread, nullptr, &BBThread::Body, this) != 0) {
    printf("CreateThread failed!\n");
    fflush(stdout);
    exit(-1);
  }
  // Nobody waits for a worker: it ends by itself when its work is done.
  pthread_detach(thread);
}

void* BBThread::Body(void* self) {
  BBThread* thread = static_cast<BBThread*>(self);
  thread->Run__UNSAFE__();
  // The last touch of the object: once the flag reads 2 the main thread may
  // start a new worker on it.
  thread->running.store(2, std::memory_order_release);
  return nullptr;
}

bool BBThread::IsRunning() { return running.load(std::memory_order_acquire) == 1; }

Object* BBThread::Result() { return result.load(std::memory_order_acquire); }

void BBThread::SetResult(Object* value) { result.store(value, std::memory_order_release); }

void BBThread::Run__UNSAFE__() {}

String BBThread::Strdup(String const& str) {
  if (str.Length() == 0) return String();
  return String(str.Data(), str.Length());
}

void BBThread::mark() {
  Object::mark();
  gc_enqueue(result.load(std::memory_order_acquire));
}

c_Thread* c_Thread::m_new() { return this; }
