// Start-up shared by the network tests: the collector's rings and the
// layer's globals exist once per process, as in the program.
#pragma once

#include <thread>

#include "net/net.h"

inline void EnsureNetStarted() {
  static bool started = false;
  if (started) return;
  gc_init();
  bb_net_Init();
  started = true;
}

// The thread that runs the tests, which is the "main thread" of the layer.
inline std::thread::id TestThread() {
  static const std::thread::id id = std::this_thread::get_id();
  return id;
}
