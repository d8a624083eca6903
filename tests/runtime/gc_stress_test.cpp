// A randomly mutating object graph, stored only through the write barrier,
// over many collector cycles: what is reachable must survive intact, what is
// not must eventually be destroyed, and the rings and counters must agree.
#include <random>
#include <unordered_set>
#include <vector>

#include "gc_test_util.h"

namespace {

std::unordered_set<const void*> live_nodes;
constexpr unsigned kAlive = 0xA11CEu;

struct IVisit : gc_interface {
  virtual int Id() = 0;
};

struct Node : Object, IVisit {
  unsigned magic = kAlive;
  int id;
  Node* m_left = nullptr;
  Node* m_right = nullptr;
  Array<Node*> m_kids;
  Array<IVisit*> m_links;
  Array<String> m_names;

  explicit Node(int i) : id(i) { live_nodes.insert(this); }
  ~Node() override {
    EXPECT_EQ(magic, kAlive);
    magic = 0;
    live_nodes.erase(this);
  }
  int Id() override { return id; }
  void mark() override {
    Object::mark();
    gc_enqueue(m_left);
    gc_enqueue(m_right);
    gc_enqueue(m_kids);
    gc_enqueue(m_links);
    gc_enqueue(m_names);
  }
};

Node* g_anchor = nullptr;
void MarkAnchor() { gc_enqueue(g_anchor); }

std::vector<Node*> Reachable(std::initializer_list<Node*> roots) {
  std::unordered_set<Node*> seen;
  std::vector<Node*> order, todo(roots);
  while (!todo.empty()) {
    Node* n = todo.back();
    todo.pop_back();
    if (!n || !seen.insert(n).second) continue;
    order.push_back(n);
    todo.push_back(n->m_left);
    todo.push_back(n->m_right);
    for (Node* k : n->m_kids) todo.push_back(k);
    for (IVisit* v : n->m_links) todo.push_back(static_cast<Node*>(v));
  }
  return order;
}

class Mutator {
 public:
  explicit Mutator(unsigned seed) : rng_(seed) {}

  void Step(const std::vector<Node*>& nodes) {
    Node* n = Pick(nodes);
    switch (Below(9)) {
      case 0: gc_assign(n->m_left, Fresh()); break;
      case 1: gc_assign(n->m_right, Below(3) ? Pick(nodes) : nullptr); break;
      case 2: gc_assign(n->m_kids, Array<Node*>(Below(6))); break;
      case 3:
        if (n->m_kids.Length()) gc_assign(n->m_kids[Below(n->m_kids.Length())], Below(2) ? Fresh() : Pick(nodes));
        break;
      case 4: gc_assign(n->m_kids, n->m_kids.Resize(Below(8))); break;
      case 5: {
        Array<IVisit*> links(Below(4));
        for (IVisit*& l : links) gc_assign(l, static_cast<IVisit*>(Below(2) ? Pick(nodes) : Fresh()));
        gc_assign(n->m_links, links);
        break;
      }
      case 6: {
        Array<String> names(2);
        names[0] = String(n->id);
        gc_assign(n->m_names, names);
        break;
      }
      case 7: (void)new Node(next_id_++); break;  // garbage at once
      default: (void)Array<int>(Below(3000)); break;
    }
  }

  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

 private:
  Node* Pick(const std::vector<Node*>& nodes) { return nodes[Below((int)nodes.size())]; }
  Node* Fresh() { return new Node(next_id_++); }

  std::mt19937 rng_;
  int next_id_ = 1;
};

void ExpectIntact(const std::vector<Node*>& nodes) {
  for (Node* n : nodes) {
    ASSERT_TRUE(live_nodes.count(n)) << "reachable node destroyed";
    ASSERT_EQ(n->magic, kAlive);
    if (n->m_names.Length()) {
      ASSERT_EQ(n->m_names[0], String(n->id));
    }
  }
}

TEST(CollectorStress, RandomGraphKeepsReachableAndDestroysTheRest) {
  gc_init();
  gc_register_roots(MarkAnchor);
  Node* delegate = new Node(-1);
  gc_assign(g_anchor, new Node(0));
  Mutator m(20261206);
  int cycles = 0;
  bool ended = true;
  std::vector<Node*> nodes;
  for (int i = 0; i < 12000; ++i) {
    // Held pointers are refreshed at every cycle end: what was unreachable
    // then may be destroyed by any later allocation.
    if (ended || i % 50 == 0) nodes = Reachable({delegate, g_anchor});
    if (i % 500 == 0) {
      ExpectIntact(nodes);
      ExpectConsistentHeap();
      if (HasFatalFailure()) return;
    }
    for (int k = 0; k < 4; ++k) m.Step(nodes);
    if (m.Below(40) == 0) gc_ext_malloced(1 << 20);
    if (i % 3000 == 1500) gc_assign(g_anchor, new Node(0));  // drop a whole subgraph
    ended = gc_new_bytes + gc_ext_new_bytes.load() > gc_cycle_bytes;
    gc_step(delegate);
    if (ended) ++cycles;
  }
  EXPECT_GT(cycles, 20);

  // Cut everything loose; two cycles prove it dead, allocation destroys it.
  gc_assign(g_anchor, (Node*)nullptr);
  gc_assign(delegate->m_left, (Node*)nullptr);
  gc_assign(delegate->m_right, (Node*)nullptr);
  gc_assign(delegate->m_kids, Array<Node*>());
  gc_assign(delegate->m_links, Array<IVisit*>());
  EndCycle(delegate);
  EndCycle(delegate);
  DestroyGarbage();
  EXPECT_EQ(live_nodes.size(), 1u);
  EXPECT_TRUE(live_nodes.count(delegate));
  ExpectConsistentHeap();
}

}  // namespace
