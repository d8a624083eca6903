// Module initialisation of the networking layer.
#include "net/net.h"

static void MarkNetRoots() { bb_asyncevent_MarkRoots(); }

int bb_net_Init() {
  static bool registered = false;
  if (!registered) {
    gc_register_roots(&MarkNetRoots);
    registered = true;
  }
  bb_asyncevent_Init();
  return 0;
}
