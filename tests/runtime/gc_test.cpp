// The collector: the write barrier, lazy destruction, block reuse, roots,
// headers of zero-filled objects and outside memory; then a random object
// graph over many cycles, where what is reachable must survive intact, the
// rest must be destroyed, and the rings must agree with the counters.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <thread>
#include <unordered_set>
#include <vector>

#include "runtime/runtime.h"

namespace {

std::unordered_set<const void*> live;

struct INode : gc_interface {};

struct Node : Object, INode {
  int id;
  Node *m_a = nullptr, *m_b = nullptr;
  Array<Node*> m_kids;
  Array<INode*> m_links;
  Array<String> m_names;
  explicit Node(int i = 0) : id(i) { live.insert(this); }
  ~Node() override { EXPECT_EQ(live.erase(this), 1u) << "destroyed twice"; }
  void mark() override { gc_enqueue(m_a), gc_enqueue(m_b), gc_enqueue(m_kids), gc_enqueue(m_links), gc_enqueue(m_names); }
};

// The bytes a ring holds, or -1 when it holds `find`.
long long RingBytes(gc_object& head, const void* find = nullptr) {
  long long total = 0;
  for (gc_object* p = head.succ; p != &head; p = p->succ) total = p == find || total < 0 ? -1 : total + p->gc_size();
  return total;
}
bool Freed(const void* o) { return RingBytes(gc_free_list, o) < 0; }

void ExpectConsistentHeap() {
  for (gc_object* head : {&gc_unmarked_list, &gc_queued_list, &gc_marked_list, &gc_free_list}) gc_validate_list(*head, "ring");
  EXPECT_EQ(gc_alloced_bytes, RingBytes(gc_unmarked_list) + RingBytes(gc_queued_list) + RingBytes(gc_marked_list));
  EXPECT_EQ(gc_marked_bytes, RingBytes(gc_marked_list));
  EXPECT_EQ(gc_free_bytes, RingBytes(gc_free_list));
}

// Outside memory enough that the next step ends the cycle; blocks of another
// size class allocated until all known garbage is destroyed.
void EndCycle(gc_object* root) { gc_ext_malloced(INT_MAX), gc_step(root); }
void DestroyGarbage() { while (gc_free_bytes > 0) (void)Array<int>(64); }

Node *g_global = nullptr, *g_late = nullptr;
void MarkGlobal() { gc_enqueue(g_global); }

struct Collector : ::testing::Test {
  void SetUp() override { gc_register_roots(MarkGlobal), g_global = nullptr, EndCycle(root_), EndCycle(root_), DestroyGarbage(); }
  Node* root_ = new Node;
};

TEST_F(Collector, BarrierRootsAndSnapshotKeepObjectsForTheCycle) {
  g_late = new Node;  // a plain store made before its module registered
  gc_register_roots([] { gc_enqueue(g_late); });
  Node *holder = new Node, *old_value = new Node;
  gc_assign(root_->m_a, holder), gc_assign(holder->m_b, old_value);
  EndCycle(root_);
  gc_mark(root_), gc_mark_queued(LLONG_MAX);  // holder is visited before the stores below
  Node *late = gc_assign(holder->m_a, new Node), *lost = new Node;
  holder->m_b = nullptr;
  EndCycle(root_);
  EXPECT_FALSE(Freed(late) || Freed(g_late) || Freed(old_value));  // old_value: reachable when the cycle began
  EXPECT_TRUE(Freed(lost) && live.count(lost));  // nothing is destroyed inside a step
  EndCycle(root_);
  EXPECT_TRUE(Freed(old_value));
  ExpectConsistentHeap(), DestroyGarbage();
  EXPECT_TRUE(!live.count(lost) && !live.count(old_value) && live.count(late));
  ExpectConsistentHeap(), g_late = nullptr;
}

// No constructor of its own: `new Plain()` zero-fills the object first.
struct Plain : Object { int a, b[5]; };
struct Throws : Object { Throws() { throw 42; } };

TEST_F(Collector, BlocksAreReusedZeroFilledAndCountsStayRight) {
  long long before = gc_alloced_bytes;
  Plain* lost = new Plain();
  EXPECT_EQ(lost->gc_colour(), gc_markbit);
  EXPECT_THROW(new Throws, int);
  gc_object* o = new (gc_object_alloc(40)) Object;
  gc_enqueue(o), gc_object_free(o);
  EXPECT_EQ(gc_alloced_bytes, before + lost->gc_size());
  ExpectConsistentHeap();
  Array<int> dirty(4);
  for (int& x : dirty) x = 7;
  ASSERT_LT(lost->gc_size(), 64);
  EndCycle(root_), DestroyGarbage();
  EXPECT_EQ(new Plain, lost);  // from its size class
  Array<int> reused(4);
  EXPECT_TRUE(reused.rep == dirty.rep && reused[0] + reused[1] + reused[2] + reused[3] == 0);

  // Outside memory is reported from any thread.
  long long start = gc_ext_new_bytes.load();
  std::thread other([] { for (int i = 0; i < 40000; ++i) gc_ext_malloced(3); });
  for (int i = 0; i < 40000; ++i) gc_ext_malloced(-1);
  other.join();
  EXPECT_EQ(gc_ext_new_bytes.load() - start, 80000);
}

std::vector<Node*> Reachable(std::vector<Node*> todo) {
  std::unordered_set<Node*> seen;
  for (size_t i = 0; i < todo.size(); ++i)
    if (Node* n = todo[i]; n && seen.insert(n).second) {
      todo.insert(todo.end(), {n->m_a, n->m_b});
      todo.insert(todo.end(), n->m_kids.begin(), n->m_kids.end());
      for (INode* v : n->m_links) todo.push_back(static_cast<Node*>(v));
    }
  return std::vector<Node*>(seen.begin(), seen.end());
}

TEST_F(Collector, RandomGraphKeepsReachableAndDestroysTheRest) {
  std::mt19937 rng(20261206);
  auto below = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  std::vector<Node*> nodes;
  auto any = [&]() -> Node* { return below(2) ? nodes[below((int)nodes.size())] : new Node((int)rng()); };
  int cycles = 0, ended = true;
  gc_assign(g_global, new Node);
  for (int i = 0; i < 8000; ++i) {
    // Held pointers are refreshed at every cycle end: what was unreachable
    // then may be destroyed by any later allocation.
    if (ended || i % 50 == 0) {
      nodes = Reachable({root_, g_global});
      for (Node* n : nodes) ASSERT_TRUE(live.count(n) && (!n->m_names.Length() || String().Join(n->m_names) == String(n->id)));
      if (i % 500 == 0) ExpectConsistentHeap();
    }
    for (int k = 0; k < 4; ++k) {
      Node* n = nodes[below((int)nodes.size())];
      Array<INode*> links;
      switch (below(8)) {
        case 0: gc_assign(n->m_a, any()); break;
        case 1: gc_assign(n->m_b, below(3) ? any() : nullptr); break;
        case 2: gc_assign(n->m_kids, n->m_kids.Resize(below(8))); break;
        case 3: if (n->m_kids.Length()) gc_assign(n->m_kids[below(n->m_kids.Length())], any()); break;
        case 4: links = Array<INode*>(below(4));
          for (INode*& l : links) gc_assign(l, static_cast<INode*>(any()));
          gc_assign(n->m_links, links);
          break;
        case 5: gc_assign(n->m_names, String(n->id).Split("")); break;
        case 6: (void)new Node; break;  // garbage at once
        default: (void)Array<int>(below(3000)); break;
      }
    }
    if (below(40) == 0) gc_ext_malloced(1 << 20);
    if (i % 3000 == 1500) gc_assign(g_global, new Node);  // drop a whole subgraph
    ended = gc_new_bytes + gc_ext_new_bytes.load() > gc_cycle_bytes;
    gc_step(root_);
    cycles += ended;
  }
  EXPECT_GT(cycles, 15);
  // Cut everything loose; two cycles prove it dead, allocation destroys it.
  g_global = root_->m_a = root_->m_b = nullptr;
  root_->m_kids = Array<Node*>(), root_->m_links = Array<INode*>();
  EndCycle(root_), EndCycle(root_), DestroyGarbage();
  EXPECT_EQ(live.size(), 1u);
  ExpectConsistentHeap();
}

}  // namespace
