// The collector's rules one at a time: the write barrier, sweeping,
// lazy destruction, block reuse, roots and outside memory.
#include <thread>
#include <vector>

#include "gc_test_util.h"

namespace {

int destroyed = 0;

struct Cell : Object {
  Cell* m_a = nullptr;
  Cell* m_b = nullptr;
  String m_name = "cell";
  Cell() {}
  ~Cell() override { ++destroyed; }
  void mark() override {
    Object::mark();
    gc_enqueue(m_a);
    gc_enqueue(m_b);
  }
};

struct IThing : gc_interface {
  virtual int Value() = 0;
};

struct Thing : Object, IThing {
  int v = 7;
  int Value() override { return v; }
};

// No constructor of its own: `new Plain()` zero-fills the object first.
struct Plain : Object {
  int a;
  int b[5];
};

struct Throws : Object {
  char pad[24];
  Throws() { throw 42; }
};

Cell* g_global = nullptr;
void MarkGlobals() { gc_enqueue(g_global); }

class Collector : public ::testing::Test {
 protected:
  void SetUp() override {
    gc_init();
    gc_register_roots(MarkGlobals);
    gc_assign(g_global, (Cell*)nullptr);
    root_ = new Cell;
    // Start from a clean slate: old garbage found and destroyed.
    EndCycle(root_);
    EndCycle(root_);
    DestroyGarbage();
  }
  Cell* root_ = nullptr;
};

TEST_F(Collector, BarrierKeepsObjectsStoredIntoMarkedObjects) {
  Cell* holder = new Cell;
  gc_assign(root_->m_a, holder);
  EndCycle(root_);
  // Mark everything reachable now, so holder's fields are already visited.
  MarkAll(root_);
  ASSERT_TRUE(InRing(gc_marked_list, holder));
  Cell* late = new Cell;
  gc_assign(holder->m_a, late);
  EndCycle(root_);
  EXPECT_FALSE(InRing(gc_free_list, late));
  ExpectConsistentHeap();
}

TEST_F(Collector, OverwrittenFieldValueSurvivesUntilTheNextCycle) {
  Cell* old_value = new Cell;
  gc_assign(root_->m_a, old_value);
  EndCycle(root_);
  MarkAll(root_);  // old_value found reachable this cycle
  gc_assign(root_->m_a, new Cell);
  EndCycle(root_);
  EXPECT_FALSE(InRing(gc_free_list, old_value));
  EndCycle(root_);
  EXPECT_TRUE(InRing(gc_free_list, old_value));
  int before = destroyed;
  DestroyGarbage();
  EXPECT_GT(destroyed, before);
  ExpectConsistentHeap();
}

TEST_F(Collector, UnreachableNewObjectsGoToTheFreeListAndAreDestroyedLater) {
  Cell* lost = new Cell;
  int before = destroyed;
  EndCycle(root_);
  EXPECT_TRUE(InRing(gc_free_list, lost));
  EXPECT_EQ(destroyed, before);  // nothing is destroyed inside a step
  ExpectConsistentHeap();
  DestroyGarbage();
  EXPECT_EQ(destroyed, before + 1);
  ExpectConsistentHeap();
}

TEST_F(Collector, SmallBlocksAreReusedFromTheirSizeClass) {
  Cell* lost = new Cell;
  int size = lost->gc_size();
  ASSERT_LT(size, 64);
  EndCycle(root_);
  DestroyGarbage();
  EXPECT_EQ(gc_cache[size / 8], static_cast<gc_object*>(lost));
  Cell* again = new Cell;
  EXPECT_EQ(again, lost);

  // A reused block comes zero-filled like a new one: arrays of numbers rely
  // on it instead of clearing their elements.
  Array<int> dirty(4);
  for (int& x : dirty) x = 7;
  ASSERT_LT(dirty.rep->gc_size(), 64);
  EndCycle(root_);
  DestroyGarbage();
  Array<int> clean(4);
  EXPECT_EQ(clean.rep, dirty.rep);
  for (int x : clean) EXPECT_EQ(x, 0);
}

TEST_F(Collector, RootsAndArraysKeepObjectsAlive) {
  gc_assign(g_global, new Cell);
  Cell* via_global = g_global;
  Array<Cell*> cells(3);
  gc_assign(cells[1], new Cell);
  Array<IThing*> things(2);
  gc_assign(things[0], static_cast<IThing*>(new Thing));
  Array<Array<Cell*>> nested(1);
  gc_assign(nested[0], cells);
  Cell* holder = new Cell;
  gc_assign(root_->m_a, holder);
  struct ArrayHolder : Cell {
    Array<Array<Cell*>> m_arr;
    Array<IThing*> m_things;
    void mark() override {
      Cell::mark();
      gc_enqueue(m_arr);
      gc_enqueue(m_things);
    }
  };
  ArrayHolder* arrays = new ArrayHolder;
  gc_assign(arrays->m_arr, nested);
  gc_assign(arrays->m_things, things);
  gc_assign(holder->m_b, static_cast<Cell*>(arrays));
  for (int i = 0; i < 3; ++i) EndCycle(root_);
  std::vector<gc_object*> kept = {via_global, cells[1], static_cast<Thing*>(things[0]), cells.rep,
                                  nested.rep, things.rep};
  for (gc_object* o : kept)
    EXPECT_FALSE(InRing(gc_free_list, o));
  DestroyGarbage();
  EXPECT_EQ(things[0]->Value(), 7);
  ExpectConsistentHeap();
}

Cell* g_late = nullptr;
void MarkLate() { gc_enqueue(g_late); }

TEST_F(Collector, RootsRegisteredMidCycleHoldTheirObjects) {
  g_late = new Cell;  // a plain store made before the module registered
  gc_register_roots(MarkLate);
  EndCycle(root_);
  EXPECT_FALSE(InRing(gc_free_list, g_late));
}

TEST_F(Collector, ValueInitialisedObjectKeepsItsHeader) {
  long long before = gc_alloced_bytes;
  Plain* p = new Plain();
  EXPECT_EQ(p->a, 0);
  EXPECT_EQ(p->gc_colour(), gc_markbit);
  EXPECT_EQ(gc_alloced_bytes, before + p->gc_size());
  ExpectConsistentHeap();
}

TEST_F(Collector, FailedConstructionGivesTheBlockBack) {
  long long before = gc_alloced_bytes;
  EXPECT_THROW(new Throws, int);
  EXPECT_EQ(gc_alloced_bytes, before);
  ExpectConsistentHeap();
  void* block = gc_object_alloc(40);
  gc_object* o = new (block) Object;
  gc_enqueue(o);
  gc_object_free(o);
  EXPECT_EQ(gc_alloced_bytes, before);
  ExpectConsistentHeap();
}

TEST_F(Collector, IncrementalStepsMarkInProportionToAllocation) {
  Cell* chain = root_;
  for (int i = 0; i < 2000; ++i) {
    gc_assign(chain->m_a, new Cell);
    chain = chain->m_a;
  }
  EndCycle(root_);
  EndCycle(root_);
  long long live = gc_alloced_bytes;
  // Allocating 1/128 of the budget asks for about 1/128 of the heap on top
  // of the new bytes themselves.
  while (gc_new_bytes < gc_cycle_bytes / 128) (void)Array<int>(100);
  gc_step(root_);
  long long n = gc_new_bytes;
  long long expected = n + (gc_alloced_bytes - n) * n / gc_cycle_bytes;
  EXPECT_GE(gc_marked_bytes, expected);
  EXPECT_LT(gc_marked_bytes, expected + (long long)sizeof(Cell) + 8);
  EXPECT_LT(gc_marked_bytes, live);
  EXPECT_NE(gc_queued_list.succ, &gc_queued_list);
  ExpectConsistentHeap();
}

TEST_F(Collector, OutsideMemoryIsCountedAcrossThreadsAndEndsACycle) {
  long long start = gc_ext_new_bytes.load();
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([] {
      for (int i = 0; i < 10000; ++i) gc_ext_malloced(3);
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(gc_ext_new_bytes.load() - start, 120000);

  Cell* lost = new Cell;
  gc_step(root_);
  EXPECT_FALSE(InRing(gc_free_list, lost));
  gc_ext_malloced((int)gc_cycle_bytes);
  gc_step(root_);
  EXPECT_TRUE(InRing(gc_free_list, lost));
  EXPECT_EQ(gc_ext_new_bytes.load(), 0);
  EXPECT_EQ(gc_new_bytes, 0);
}

}  // namespace
