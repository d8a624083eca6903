// Collected-object header and the incremental mark-and-sweep collector.
//
// Every framework and game object lives in one of four intrusive rings and is
// found reachable through the write barrier, the registered root markers and
// the delegate handed to each step. Nothing is freed by hand: garbage is
// destroyed a little at a time by later allocations.
#pragma once

#include <atomic>
#include <cstddef>
#include <type_traits>

struct gc_interface;

// Marks a statically allocated representation that the collector must never
// move or destroy (the shared empty arrays).
struct gc_never_collected_t {};
constexpr gc_never_collected_t gc_never_collected{};

// Marks a list head: its links are set by gc_init, not by construction, so
// that objects allocated during static initialisation are not forgotten.
struct gc_list_head_t {};
constexpr gc_list_head_t gc_list_head{};

struct gc_object {
  gc_object* succ;
  gc_object* pred;
  int flags;  // size in all but the low three bits, colour in the low two

  gc_object();
  gc_object(const gc_object&);
  explicit gc_object(gc_never_collected_t);
  explicit gc_object(gc_list_head_t);
  // The header belongs to the collector; assigning one object to another
  // must never copy ring links or colour.
  gc_object& operator=(const gc_object&) { return *this; }
  virtual ~gc_object();

  // Marks (usually: queues) the objects this one refers to.
  virtual void mark();

  int gc_size() const { return flags & ~7; }
  int gc_colour() const { return flags & 3; }

  static void* operator new(std::size_t size);
  static void* operator new(std::size_t, void* where) noexcept { return where; }
  static void operator delete(void* block);
  static void operator delete(void*, void*) noexcept {}
};

// The base of interfaces. Interface pointers are turned back into their
// object with dynamic_cast before the collector sees them.
struct gc_interface {
  virtual ~gc_interface();
};

// The four rings. An empty ring is its head linked to itself.
extern gc_object gc_unmarked_list;
extern gc_object gc_queued_list;
extern gc_object gc_marked_list;
extern gc_object gc_free_list;

// The colour that means "not yet found reachable" in the current cycle.
extern int gc_markbit;

// Byte counters. They are 64 bits wide so that a large heap cannot wrap them.
extern long long gc_new_bytes;
extern long long gc_alloced_bytes;
extern long long gc_max_alloced_bytes;
extern long long gc_marked_bytes;
extern long long gc_free_bytes;
extern std::atomic<long long> gc_ext_new_bytes;

// Free small blocks, one list per size 8 * i, linked through succ.
extern gc_object* gc_cache[8];

// A cycle ends at the first step after this much new or outside memory.
constexpr long long gc_cycle_bytes = 0x800000;

// Makes the four rings empty. Safe to call more than once: rings that already
// hold objects are left as they are.
void gc_init();

// A new zero-filled block of at least size bytes (rounded up to 8), coloured
// unmarked and appended to the unmarked ring. The caller constructs the
// object in it.
void* gc_object_alloc(int size);

// Gives back the block of an object whose construction failed, without
// running its destructor.
void gc_object_free(gc_object* object);

void gc_mark(gc_object* object);     // mark now, visiting its children
void gc_enqueue(gc_object* object);  // mark later: queue it
void gc_mark_queued(long long limit);

// The root marker: runs every marker registered with gc_register_roots.
void gc_mark();
void gc_register_roots(void (*marker)());

// Locals are never scanned: steps run only between calls into the game.
inline void gc_mark_locals() {}

// One incremental step; root is marked first (the host's delegate).
void gc_step(gc_object* root);

// Reports memory held outside the collector; callable from any thread.
int gc_ext_malloced(int bytes);

// Checks that every member's neighbours point back to it; ends the process
// with "LIST ERROR!" when the ring is broken.
void gc_validate_list(gc_object& head, const char* name = nullptr);

// Failure exits used by the value types (implemented with the error output).
[[noreturn]] void gc_out_of_memory();
[[noreturn]] void gc_array_range_error();

// The object behind a class or interface pointer.
template <class T>
inline gc_object* gc_object_of(T* p) {
  using U = std::remove_cv_t<T>;
  static_assert(std::is_base_of<gc_object, U>::value || std::is_base_of<gc_interface, U>::value,
                "only collected objects and interfaces can be marked");
  if constexpr (std::is_base_of<gc_object, U>::value) {
    return const_cast<U*>(p);
  } else {
    return p ? dynamic_cast<gc_object*>(const_cast<U*>(p)) : nullptr;
  }
}

template <class T>
inline void gc_mark(T* p) {
  gc_mark(gc_object_of(p));
}

template <class T>
inline void gc_enqueue(T* p) {
  gc_enqueue(gc_object_of(p));
}

// The write barrier: every store of an object pointer into a field, a global
// or an array element goes through here, so that an object made reachable in
// the middle of a cycle is never lost.
template <class T, class U>
inline T* gc_assign(T*& field, U* value) {
  gc_enqueue(value);
  field = value;
  return field;
}

template <class T>
inline T* gc_assign(T*& field, std::nullptr_t) {
  field = nullptr;
  return field;
}
