// The red-black map and the stack used for display-mode enumeration.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <random>

#include "app/map.h"
#include "app/stack.h"

namespace {

// Walks the tree checking the red-black rules and the parent links; returns
// the black height of the subtree.
int checkSubtree(c_Node* node, c_Node* parent, const long long* low, const long long* high) {
  if (!node) return 1;
  EXPECT_EQ(node->m_parent, parent);
  EXPECT_TRUE(node->m_color == -1 || node->m_color == 1);
  EXPECT_TRUE((!low || node->m_key > *low) && (!high || node->m_key < *high)) << node->m_key;
  if (node->m_color == -1) {
    EXPECT_FALSE(node->m_left && node->m_left->m_color == -1) << "red-red at " << node->m_key;
    EXPECT_FALSE(node->m_right && node->m_right->m_color == -1) << "red-red at " << node->m_key;
  }
  long long key = node->m_key;
  int left = checkSubtree(node->m_left, node, low, &key);
  int right = checkSubtree(node->m_right, node, &key, high);
  EXPECT_EQ(left, right) << "black heights differ under " << node->m_key;
  return left + (node->m_color == 1 ? 1 : 0);
}

void checkTree(c_Map* map, const std::map<int, c_DisplayMode*>& expected) {
  EXPECT_TRUE(!map->m_root || map->m_root->m_color == 1);
  checkSubtree(map->m_root, nullptr, nullptr, nullptr);
  auto it = expected.begin();
  for (c_Node* node = map->p_FirstNode(); node; node = c_Map::m_NextNode(node), ++it) {
    ASSERT_NE(it, expected.end());
    EXPECT_EQ(node->m_key, it->first);
    EXPECT_EQ(node->m_value, it->second);
  }
  EXPECT_EQ(it, expected.end());
  EXPECT_EQ(map->p_Count(), static_cast<int>(expected.size()));
}

void randomizedAgainstStdMap(unsigned seed, int keyLow, int keyHigh, int rounds) {
  gc_init();
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> keys(keyLow, keyHigh);
  std::uniform_int_distribution<int> action(0, 9);
  c_IntMap* map = (new c_IntMap)->m_new();
  std::map<int, c_DisplayMode*> expected;
  for (int round = 0; round < rounds; ++round) {
    int key = keys(rng);
    int what = action(rng);
    if (what < 6) {
      c_DisplayMode* value = (new c_DisplayMode)->m_new(round, key);
      bool isNew = expected.find(key) == expected.end();
      ASSERT_EQ(map->p_Set(key, value), isNew);
      expected[key] = value;
    } else if (what < 9) {
      ASSERT_EQ(map->p_Remove(key), expected.erase(key) == 1);
    } else {
      auto it = expected.find(key);
      ASSERT_EQ(map->p_Contains(key), it != expected.end());
      ASSERT_EQ(map->p_Get(key), it == expected.end() ? nullptr : it->second);
    }
    if (round % 97 == 0) {
      checkTree(map, expected);
      if (::testing::Test::HasFailure()) return;
    }
  }
  checkTree(map, expected);

  // Drain completely: every removal must keep the tree valid.
  while (!expected.empty()) {
    int key = expected.begin()->first;
    if (expected.size() % 2) key = expected.rbegin()->first;
    ASSERT_TRUE(map->p_Remove(key));
    expected.erase(key);
    checkTree(map, expected);
    if (::testing::Test::HasFailure()) return;
  }
  EXPECT_EQ(map->m_root, nullptr);
}

TEST(IntMapTest, MatchesStdMapUnderRandomInsertUpdateRemove) {
  randomizedAgainstStdMap(1, 0, 200, 5000);      // dense keys: many updates and removals
  randomizedAgainstStdMap(2, -50, 50, 3000);
  randomizedAgainstStdMap(3, INT_MIN, INT_MAX, 3000);  // keys far apart must still order
}

TEST(IntMapTest, OrdersExtremeKeysAndKeepsFirstInsertIdentity) {
  gc_init();
  c_IntMap* map = (new c_IntMap)->m_new();
  c_DisplayMode* a = (new c_DisplayMode)->m_new(1, 1);
  c_DisplayMode* b = (new c_DisplayMode)->m_new(2, 2);
  EXPECT_TRUE(map->p_Insert(INT_MAX, a));
  EXPECT_TRUE(map->p_Insert(INT_MIN, a));
  EXPECT_TRUE(map->p_Insert(0, a));
  EXPECT_FALSE(map->p_Set(0, b));  // an equal key replaces the value
  EXPECT_EQ(map->p_Get(0), b);
  EXPECT_EQ(map->p_FirstNode()->m_key, INT_MIN);
  EXPECT_EQ(c_Map::m_NextNode(c_Map::m_NextNode(map->p_FirstNode()))->m_key, INT_MAX);
  EXPECT_FALSE(map->p_Remove(12345));
}

TEST(StackTest, GrowsAndCopiesOutExactly) {
  gc_init();
  c_Stack* stack = (new c_Stack)->m_new();
  EXPECT_EQ(stack->p_ToArray(), Array<c_DisplayMode*>());  // the shared empty array
  std::vector<c_DisplayMode*> pushed;
  for (int i = 0; i < 100; ++i) {
    pushed.push_back((new c_DisplayMode)->m_new(i, i * 2));
    stack->p_Push(pushed.back());
  }
  EXPECT_EQ(stack->p_Length(), 100);
  Array<c_DisplayMode*> out = stack->p_ToArray();
  ASSERT_EQ(out.Length(), 100);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(out[i], pushed[i]);
  EXPECT_EQ(stack->p_Get(100), nullptr);
  EXPECT_EQ(stack->p_Get(-1), nullptr);
}

}  // namespace
