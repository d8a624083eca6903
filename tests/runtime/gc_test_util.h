// Helpers for the collector tests: ring inspection, counter checks and
// forcing the end of a cycle.
#pragma once

#include <gtest/gtest.h>

#include <climits>

#include "runtime/runtime.h"

inline long long RingBytes(gc_object& head) {
  long long total = 0;
  for (gc_object* p = head.succ; p != &head; p = p->succ) total += p->gc_size();
  return total;
}

inline bool InRing(gc_object& head, const void* object) {
  for (gc_object* p = head.succ; p != &head; p = p->succ)
    if (p == object) return true;
  return false;
}

// The counters must agree with what the rings hold.
inline void ExpectConsistentHeap() {
  for (gc_object* head : {&gc_unmarked_list, &gc_queued_list, &gc_marked_list, &gc_free_list})
    gc_validate_list(*head, "ring");
  EXPECT_EQ(gc_alloced_bytes,
            RingBytes(gc_unmarked_list) + RingBytes(gc_queued_list) + RingBytes(gc_marked_list));
  EXPECT_EQ(gc_marked_bytes, RingBytes(gc_marked_list));
  EXPECT_EQ(gc_free_bytes, RingBytes(gc_free_list));
  EXPECT_GE(gc_max_alloced_bytes, gc_alloced_bytes);
}

// Reports enough outside memory that the next step ends the cycle.
inline void EndCycle(gc_object* root) {
  gc_ext_malloced(INT_MAX);
  gc_step(root);
}

// What a step does at once when the budget allows it: mark the root and
// everything queued.
inline void MarkAll(gc_object* root) {
  gc_mark(root);
  gc_mark_queued(LLONG_MAX);
}

// Allocates throw-away blocks of other size classes until all garbage found
// so far has been destroyed.
inline void DestroyGarbage() {
  while (gc_free_bytes > 0) (void)Array<int>(64);
}
