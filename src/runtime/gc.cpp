// The incremental collector: rings, colours, barrier, steps, lazy destruction
// and the size-class caches.
#include "runtime/gc.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime/error.h"

gc_object gc_unmarked_list{gc_list_head};
gc_object gc_queued_list{gc_list_head};
gc_object gc_marked_list{gc_list_head};
gc_object gc_free_list{gc_list_head};

int gc_markbit = 1;
long long gc_new_bytes = 0;
long long gc_alloced_bytes = 0;
long long gc_max_alloced_bytes = 0;
long long gc_marked_bytes = 0;
long long gc_free_bytes = 0;
std::atomic<long long> gc_ext_new_bytes{0};
gc_object* gc_cache[8];

namespace {

// The object whose deleting destructor the collector itself is running; any
// other delete is a constructor that threw.
gc_object* destroying = nullptr;

std::vector<void (*)()>& root_markers() {
  static std::vector<void (*)()> markers;
  return markers;
}

// Allocations whose constructors have not run yet. `new c_Foo()` on a class
// without a constructor of its own zero-fills the whole object, header
// included, before the first constructor runs; these records let the header
// be put back. Nested news (an allocation inside a constructor argument) keep
// more than one record alive at a time.
struct Pending {
  gc_object* block;
  gc_object* pred;
  int flags;
};
constexpr int kPending = 32;
Pending pending[kPending];
int pending_next = 0;

void remember_pending(gc_object* o) {
  pending[pending_next] = Pending{o, o->pred, o->flags};
  pending_next = (pending_next + 1) % kPending;
}

Pending* find_pending(gc_object* o) {
  for (int i = 1; i <= kPending; ++i) {
    Pending& p = pending[(pending_next - i + kPending) % kPending];
    if (p.block == o) return &p;
  }
  return nullptr;
}

// Header reads for blocks that may not hold a live object (raw, cached or
// destroyed); kept local so that only this file's checks apply to them.
int size_of(const gc_object* o) { return o->flags & ~7; }
int colour_of(const gc_object* o) { return o->flags & 3; }

void init_ring(gc_object& head) {
  if (head.succ) return;
  head.succ = head.pred = &head;
  head.flags = 3;
}

void ensure_init() {
  if (!gc_free_list.succ) gc_init();
}

void unlink(gc_object* o) {
  o->pred->succ = o->succ;
  o->succ->pred = o->pred;
}

void append(gc_object& head, gc_object* o) {
  o->succ = &head;
  o->pred = head.pred;
  head.pred->succ = o;
  head.pred = o;
}

void move_to(gc_object& head, gc_object* o) {
  unlink(o);
  append(head, o);
}

bool ring_empty(const gc_object& head) { return head.succ == &head; }

// Appends every member of src to the tail of dst in constant time.
void splice_tail(gc_object& dst, gc_object& src) {
  if (ring_empty(src)) return;
  gc_object* first = src.succ;
  gc_object* last = src.pred;
  first->pred = dst.pred;
  dst.pred->succ = first;
  last->succ = &dst;
  dst.pred = last;
  src.succ = src.pred = &src;
}

bool ring_contains(const gc_object& head, const gc_object* o) {
  for (const gc_object* p = head.succ; p != &head; p = p->succ)
    if (p == o) return true;
  return false;
}

void release_block(gc_object* block, int size) {
  if (size < 64) {
    block->succ = gc_cache[size >> 3];
    gc_cache[size >> 3] = block;
  } else {
    free(block);
  }
}

// Zero-filled; calloc gets fresh pages from the system without touching
// them, so a large array costs nothing until it is used.
void* take_block(int size) {
  if (size < 64) {
    gc_object* b = gc_cache[size >> 3];
    if (b) {
      gc_cache[size >> 3] = b->succ;
      return memset(static_cast<void*>(b), 0, size);
    }
  }
  return calloc(1, size);
}

// Each allocation destroys at least as much garbage as it asks for, oldest
// garbage first, so destruction cost follows allocation.
void destroy_garbage(int size) {
  long long floor = gc_free_bytes - size;
  if (floor < 0) floor = 0;
  while (gc_free_bytes > floor && !ring_empty(gc_free_list)) {
    gc_object* o = gc_free_list.succ;
    unlink(o);
    gc_object* outer = destroying;
    destroying = o;
    delete o;
    destroying = outer;
  }
}

// The header of an object whose storage was zero-filled after allocation:
// find its neighbours in the unmarked ring again. The objects allocated
// after it sit between it and the tail, so the walk back is short.
void restore_header(gc_object* o, const Pending& rec) {
  gc_object* s = gc_unmarked_list.pred;
  gc_object* next = &gc_unmarked_list;
  while (s != o && s != &gc_unmarked_list && s->pred != o) s = s->pred;
  if (s->pred == o) next = s;
  gc_object* prev = rec.pred;
  if (prev->succ != o) {
    prev = &gc_unmarked_list;
    while (prev->succ != o) {
      prev = prev->succ;
      if (prev == &gc_unmarked_list) dbg_error("Collector lost an object under construction");
    }
  }
  o->succ = next;
  o->pred = prev;
  o->flags = rec.flags;
}

void finish_cycle() {
  gc_mark_queued(LLONG_MAX);
  if (!ring_empty(gc_unmarked_list)) {
    splice_tail(gc_free_list, gc_unmarked_list);
    gc_free_bytes += gc_alloced_bytes - gc_marked_bytes;
  }
  splice_tail(gc_unmarked_list, gc_marked_list);
  gc_alloced_bytes = gc_marked_bytes;
  gc_marked_bytes = 0;
  gc_markbit ^= 1;
}

}  // namespace

gc_object::gc_object() {
  // The header was written by gc_object_alloc; make the compiler forget any
  // assumption that a fresh object's storage is undefined.
  asm volatile("" : : "r"(this) : "memory");
  Pending* rec = find_pending(this);
  if (!rec) return;
  if (flags == 0 || !succ || !pred) restore_header(this, *rec);
  rec->block = nullptr;
}

gc_object::gc_object(const gc_object&) : gc_object() {}

gc_object::gc_object(gc_never_collected_t) : succ(this), pred(this), flags(3) {}

gc_object::gc_object(gc_list_head_t) {}

gc_object::~gc_object() {}

void gc_object::mark() {}

void* gc_object::operator new(std::size_t size) {
  if (size > (std::size_t)INT_MAX - 8) gc_out_of_memory();
  return gc_object_alloc((int)size);
}

void gc_object::operator delete(void* block) {
  if (!block) return;
  gc_object* o = static_cast<gc_object*>(block);
  if (o != destroying) {
    gc_object_free(o);
    return;
  }
  int size = size_of(o);
  gc_free_bytes -= size;
  release_block(o, size);
}

gc_interface::~gc_interface() {}

void gc_init() {
  init_ring(gc_unmarked_list);
  init_ring(gc_queued_list);
  init_ring(gc_marked_list);
  init_ring(gc_free_list);
}

void* gc_object_alloc(int size) {
  if (size < 0 || size > INT_MAX - 8) gc_out_of_memory();
  ensure_init();
  size = (size + 7) & ~7;
  if (size < (int)sizeof(gc_object)) size = sizeof(gc_object);
  gc_new_bytes += size;
  destroy_garbage(size);
  gc_object* o = static_cast<gc_object*>(take_block(size));
  if (!o) gc_out_of_memory();
  o->flags = size | gc_markbit;
  append(gc_unmarked_list, o);
  gc_alloced_bytes += size;
  if (gc_alloced_bytes > gc_max_alloced_bytes) gc_max_alloced_bytes = gc_alloced_bytes;
  remember_pending(o);
  return o;
}

// The object is in the unmarked ring unless something queued or marked it
// while it was being built; it leaves its ring and the counts before its
// block is reused.
void gc_object_free(gc_object* o) {
  if (!o) return;
  if (Pending* rec = find_pending(o)) rec->block = nullptr;
  int size = size_of(o);
  if (colour_of(o) != gc_markbit && !ring_contains(gc_queued_list, o)) gc_marked_bytes -= size;
  unlink(o);
  gc_alloced_bytes -= size;
  release_block(o, size);
}

void gc_mark(gc_object* o) {
  if (!o || colour_of(o) != gc_markbit) return;
  o->flags ^= 1;
  gc_marked_bytes += size_of(o);
  move_to(gc_marked_list, o);
  o->mark();
}

void gc_enqueue(gc_object* o) {
  if (!o || colour_of(o) != gc_markbit) return;
  o->flags ^= 1;
  move_to(gc_queued_list, o);
}

void gc_mark_queued(long long limit) {
  while (gc_marked_bytes < limit && !ring_empty(gc_queued_list)) {
    gc_object* o = gc_queued_list.succ;
    move_to(gc_marked_list, o);
    gc_marked_bytes += size_of(o);
    o->mark();
  }
}

// A marker registered in the middle of a cycle queues its globals at once:
// waiting for the next cycle's root pass would let this cycle's sweep take
// objects that only those globals hold.
void gc_register_roots(void (*marker)()) {
  if (!marker) return;
  for (auto m : root_markers())
    if (m == marker) return;
  root_markers().push_back(marker);
  ensure_init();
  marker();
}

void gc_mark() {
  for (auto m : root_markers()) m();
}

void gc_step(gc_object* root) {
  ensure_init();
  gc_mark(root);
  long long ext = gc_ext_new_bytes.load();
  if (gc_new_bytes + ext > gc_cycle_bytes) {
    gc_ext_new_bytes.fetch_sub(ext);
    finish_cycle();
    gc_mark();
    gc_new_bytes = 0;
    return;
  }
  // Mark the share of the heap that matches the share of the budget used.
  long long n = gc_new_bytes;
  long long a = gc_alloced_bytes;
  __int128 share = (__int128)(a - n) * n / gc_cycle_bytes;
  __int128 target = n + share;
  if (target > LLONG_MAX) target = LLONG_MAX;
  gc_mark_queued((long long)target);
}

int gc_ext_malloced(int bytes) {
  gc_ext_new_bytes.fetch_add(bytes);
  return bytes;
}

void gc_validate_list(gc_object& head, const char* name) {
  gc_object* p = &head;
  do {
    if (!p->succ || !p->pred || p->succ->pred != p || p->pred->succ != p) {
      if (name) bbPrint(name);
      bbPrint("LIST ERROR!");
      rt_exit(-1);
    }
    p = p->succ;
  } while (p != &head);
}
