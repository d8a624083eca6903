// The red-black map and the stack behind display-mode enumeration: the map
// is run against std::map with the tree's rules checked after every step.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <random>

#include "app/map.h"
#include "app/stack.h"

namespace {

using Expected = std::map<int, c_DisplayMode*>;

bool isRed(c_Node* node) { return node && node->m_color == -1; }

// Checks order, colours, parent links and equal black heights below node;
// returns the black height.
int checkSubtree(c_Node* node, c_Node* parent, long long low, long long high) {
  if (!node) return 1;
  EXPECT_EQ(node->m_parent, parent);
  EXPECT_TRUE(node->m_key > low && node->m_key < high) << node->m_key;
  EXPECT_TRUE(node->m_color == 1 || (!isRed(node->m_left) && !isRed(node->m_right)));
  int left = checkSubtree(node->m_left, node, low, node->m_key);
  EXPECT_EQ(left, checkSubtree(node->m_right, node, node->m_key, high)) << node->m_key;
  return left + (node->m_color == 1);
}

void checkTree(c_IntMap* map, const Expected& expected) {
  ASSERT_TRUE(!map->m_root || map->m_root->m_color == 1);
  checkSubtree(map->m_root, nullptr, LLONG_MIN, LLONG_MAX);
  auto it = expected.begin();
  for (c_Node* node = map->p_FirstNode(); node; node = c_Map::m_NextNode(node), ++it) {
    ASSERT_NE(it, expected.end());
    EXPECT_EQ(node->m_key, it->first);
    EXPECT_EQ(node->m_value, it->second);
  }
  EXPECT_EQ(map->p_Count(), static_cast<int>(expected.size()));
}

TEST(IntMapTest, MatchesStdMapUnderRandomSetRemoveAndLookup) {
  // Dense keys give many updates and removals; far-apart keys must still order.
  const int ranges[][2] = {{0, 200}, {-50, 50}, {INT_MIN, INT_MAX}};
  for (unsigned seed = 0; seed < 3; ++seed) {
    gc_init();
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> keys(ranges[seed][0], ranges[seed][1]);
    c_IntMap* map = (new c_IntMap)->m_new();
    Expected expected;
    for (int round = 0; round < 3000 && !::testing::Test::HasFailure(); ++round) {
      int key = keys(rng);
      auto it = expected.find(key);
      ASSERT_EQ(map->p_Get(key), it == expected.end() ? nullptr : it->second);
      if (rng() % 8 < 5) {
        c_DisplayMode* value = (new c_DisplayMode)->m_new(round, key);
        ASSERT_EQ(map->p_Set(key, value), it == expected.end());
        expected[key] = value;
      } else {
        ASSERT_EQ(map->p_Remove(key), expected.erase(key) == 1);
      }
      checkTree(map, expected);
    }
    // Drain from both ends: every removal must keep the tree valid.
    while (!expected.empty() && !::testing::Test::HasFailure()) {
      int key = expected.size() % 2 ? expected.rbegin()->first : expected.begin()->first;
      ASSERT_TRUE(map->p_Remove(key));
      expected.erase(key);
      checkTree(map, expected);
    }
    EXPECT_EQ(map->m_root, nullptr);
  }
}

TEST(StackTest, KeepsPushOrderAndAnswersNullOutsideIt) {
  gc_init();
  c_Stack* stack = (new c_Stack)->m_new();
  EXPECT_EQ(stack->p_Get(0), nullptr);  // nothing allocated yet
  std::vector<c_DisplayMode*> pushed;
  for (int count = 1; count <= 30; ++count) {
    pushed.push_back((new c_DisplayMode)->m_new(count, count));
    stack->p_Push(pushed.back());
    // 10 and 30 fill the storage exactly: the slot past the end does not exist.
    ASSERT_EQ(stack->p_Get(count), nullptr);
    ASSERT_EQ(stack->p_Get(-1), nullptr);
    ASSERT_EQ(stack->p_Get(count - 1), pushed.back());
  }
  Array<c_DisplayMode*> out = stack->p_ToArray();
  EXPECT_EQ(std::vector<c_DisplayMode*>(out.begin(), out.end()), pushed);
}

}  // namespace
