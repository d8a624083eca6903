// The red-black map and the stack behind display-mode enumeration: the map
// is run against std::map with the tree's rules checked after every step.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <random>

#include "app/map.h"
#include "app/stack.h"

namespace {

bool isRed(c_Node* node) { return node && node->m_color == -1; }

// Checks parent links, no red node under a red one and equal black heights;
// returns the black height.
int checkSubtree(c_Node* node, c_Node* parent) {
  if (!node) return 1;
  EXPECT_EQ(node->m_parent, parent);
  EXPECT_FALSE(isRed(node) && (isRed(node->m_left) || isRed(node->m_right))) << node->m_key;
  int left = checkSubtree(node->m_left, node);
  EXPECT_EQ(left, checkSubtree(node->m_right, node)) << node->m_key;
  return left + (node->m_color == 1);
}

TEST(IntMapTest, MatchesStdMapUnderRandomSetRemoveAndLookup) {
  const int ranges[][2] = {{0, 200}, {-50, 50}, {INT_MIN, INT_MAX}};  // dense, then far apart
  for (unsigned seed = 0; seed < 3; ++seed) {
    gc_init();
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> keys(ranges[seed][0], ranges[seed][1]);
    c_IntMap* map = (new c_IntMap)->m_new();
    std::map<int, c_DisplayMode*> expected;
    for (int round = 0; round < 3000 && !::testing::Test::HasFailure(); ++round) {
      int key = keys(rng);
      auto it = expected.find(key);
      ASSERT_EQ(map->p_Get(key), it == expected.end() ? nullptr : it->second);
      if (round < 1500 && rng() % 8 < 5) {
        c_DisplayMode* value = (new c_DisplayMode)->m_new(round, key);
        ASSERT_EQ(map->p_Set(key, value), it == expected.end());
        expected[key] = value;
      } else {
        if (round >= 1500 && !expected.empty()) {  // the second half drains the tree
          it = expected.lower_bound(key);
          key = (it == expected.end() ? expected.begin() : it)->first;
        }
        ASSERT_EQ(map->p_Remove(key), expected.erase(key) == 1);
      }
      ASSERT_TRUE(!map->m_root || map->m_root->m_color == 1);
      checkSubtree(map->m_root, nullptr);
      it = expected.begin();
      for (c_Node* node = map->p_FirstNode(); node; node = c_Map::m_NextNode(node), ++it)
        ASSERT_TRUE(it != expected.end() && node->m_key == it->first && node->m_value == it->second);
      ASSERT_EQ(map->p_Count(), static_cast<int>(expected.size()));
    }
    EXPECT_EQ(map->m_root, nullptr);
  }
}

// At length 0 the storage is full: a read at the length must not reach past it.
TEST(StackTest, ReadsOutsideTheStackAnswerNull) {
  gc_init();
  c_Stack* stack = (new c_Stack)->m_new();
  EXPECT_TRUE(stack->p_Get(0) == nullptr && stack->p_Get(-1) == nullptr && stack->p_Length() == 0);
}

}  // namespace
