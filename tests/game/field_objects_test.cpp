// Field objects: rocks knocked and split by shots, gems that are collected,
// call their owner or kill, the fair gem bag, power-ups, edge crossings and
// a full pool.
#include <cstdlib>
#include <map>
#include <set>
#include <tuple>
#include <vector>

#include "round_fixture.h"

using namespace lk_round;
using FieldObjects = RoundTest;

TEST_F(FieldObjects, ShotsKnockRocksAlongTheirLineAndSplitThem) {
  // A rock at rest at (200, 200) and player 1's shot on it heading left (90
  // degrees), nobody present; the bag deals player 3's gems (kind 5).
  const float rocks[3] = {2, 2, 1}, lives[3] = {45, 95, 45};
  Start(1), P(1, kPresent) = 0.0f;
  std::map<int, int> seen;  // small rocks * 100 + gems * 10 + power-ups
  for (int c = 0; c < 3; ++c) {
    SCOPED_TRACE(testing::Message() << "rock " << rocks[c] << " shot life " << lives[c]);
    for (int seed = 1; seed <= (c == 0 ? 3000 : 200); ++seed) {
      ClearField(), Place(0, rocks[c], 200.0f, 200.0f), Place(1, 31.0f, 203.0f, 200.0f);
      O(1, kAngle) = 90.0f, O(1, kPicOrLife) = lives[c];
      std::fill_n(app->m_GemSlots.Data(), 20, 3), app->m_GemNext = 0;
      bb_random_Seed = seed * 7919, app->p_UpdateObjects();
      int n[60] = {};
      for (int r = 0; r <= 400; ++r) ++n[int(O(r, kKind))];
      const int released = n[5] + n[51] + n[52] + n[53];
      ASSERT_EQ(n[31], lives[c] > 45 ? 1 : 0) << seed;  // fresh power-up shots pass through
      // A small rock is gone, and what is left it released; a large one is
      // never destroyed, only knocked left, slowly.
      ASSERT_TRUE(rocks[c] == 2.0f || (n[1] >= 1 && n[1] + released <= 2)) << seed;
      if (rocks[c] == 1.0f) continue;
      ASSERT_TRUE(O(0, kKind) == 2.0f && O(0, kVelX) < -0.49f && O(0, kVelX) > -1.5f && std::fabs(O(0, kVelY)) < 0.21f) << seed;
      ASSERT_TRUE(lives[c] == 45 || released == 0) << seed;  // and only release rocks
      if (c == 0) ++seen[n[1] * 100 + n[5] * 10 + n[51] + n[52] + n[53]];
    }
  }
  // 4, 3, 3 and 20 in 30, each within about three and a half deviations.
  EXPECT_TRUE(seen.size() == 4 && std::abs(seen[110] - 400) < 60 && std::abs(seen[101] - 300) < 55 &&
              std::abs(seen[100] - 300) < 55 && std::abs(seen[200] - 2000) < 90)
      << seen[110] << " " << seen[101] << " " << seen[100] << " " << seen[200];
}

TEST_F(FieldObjects, GemsAreCollectedByTheirOwnerAndKillEveryoneElse) {
  Start(6, true);
  // Object kind at (306, 194); player 1's x, power and respawn; player 2's
  // gems and x; then the object's kind, player 1's respawn and 2's gems after.
  const float cases[][9] = {
      {4, 300, 0, 0, 0, 400, 4, 180, 0},  // player 2's gem within 7 units kills player 1
      {4, 300, 1, 0, 0, 400, 4, 0, 0},    // unless shielded
      {4, 300, 0, 5, 0, 400, 4, 5, 0},    // a ship out of play touches nothing
      {4, 100, 0, 0, 0, 306, 0, 0, 1},    // the owner collects it
      {4, 100, 0, 0, 3, 306, 4, 0, 3},    // up to three
      {4, 306, 0, 0, 0, 306, 0, 180, 1},  // player 1 dies first, then 2 collects
      {1, 310, 0, 0, 0, 500, 1, 0, 0},    // rocks kill within four units only
      {1, 309.5f, 0, 0, 0, 500, 1, 180, 0}};
  for (const auto& c : cases) {
    Place(10, c[0], 306.0f, 194.0f);
    Human(1, c[1], 194.0f), Human(2, c[5], 194.0f);
    P(1, kPower) = c[2], P(1, kRespawn) = c[3], P(2, kGems) = c[4];
    app->p_UpdateObjects();
    EXPECT_TRUE(O(10, kKind) == c[6] && P(1, kRespawn) == c[7] && P(2, kGems) == c[8] && P(2, kRespawn) == 0)
        << "row " << (&c - cases);
  }
}

TEST_F(FieldObjects, AGemCallsItsOwnerWhileItLiesNoFartherThanHome) {
  Start(4, true);
  const float gemX[4] = {500, 500, 150, 150}, gems[4] = {0, 1, 1, 3};
  for (int c = 0; c < 4; ++c) {
    Human(1, 200.0f, 200.0f), P(1, kGems) = gems[c];  // home is (96, 64)
    P(1, kTargetObj) = -100.0f, P(1, kTargetHold) = 5.0f;  // no wandering off to other objects
    Place(10, 3.0f, gemX[c], 150.0f), app->p_UpdateObjects();
    EXPECT_EQ(P(1, kTargetObj) == 10.0f, c == 0 || c == 2) << c;
  }
}

TEST_F(FieldObjects, TheBagDealsEqualSharesToPresentPlayersInShuffledOrder) {
  for (int mode = 1; mode <= 6; ++mode) {
    Start(mode);
    const int players = mode <= 3 ? 1 : mode - 2, size = app->m_GemLast + 1;
    std::set<std::vector<int>> orders;
    for (int bag = 0; bag < 20; ++bag) {
      std::vector<int> order, dealt(5);
      for (int k = 0; k < size; ++k) order.push_back(app->p_GetGem()), ++dealt.at(order.back());
      orders.insert(order);
      for (int p = 0; p <= 4; ++p) ASSERT_EQ(dealt[p], p >= 1 && p <= players ? size / players : 0);
    }
    EXPECT_TRUE(mode != 6 || orders.size() > 15u);  // the shuffle is real
  }
}

TEST_F(FieldObjects, PowerUpsGiveShotRingsBurstsAndTripleShot) {
  // Kind, player 1's distance, then shots, their headings and speeds, and the power left.
  const std::vector<float> none, ring{7}, burst{2, 3.5f, 5};
  const std::tuple<float, float, int, int, std::vector<float>, float> cases[] = {
      {53, 0, 36, 36, ring, 0}, {52, 0, 12, 4, burst, 0}, {51, 0, 0, 0, none, 2}, {51, 6.9f, 0, 0, none, 2},
      {51, 7, 0, 0, none, 0}};
  Start(1);
  for (const auto& [kind, dx, shots, headings, speeds, power] : cases) {
    SCOPED_TRACE(testing::Message() << kind << " at " << dx);
    ClearField(), Human(1, 300.0f + dx, 200.0f), Place(0, kind, 300.0f, 200.0f);
    app->p_UpdateObjects();
    std::set<float> seenHeadings, seenSpeeds;
    for (int r = 0; r <= 400; ++r)
      if (O(r, kKind) == 31.0f)
        seenHeadings.insert(O(r, kAngle)), seenSpeeds.insert(std::round(std::hypot(O(r, kVelX), O(r, kVelY)) * 2) / 2);
    EXPECT_TRUE(CountKind(50.0f, 60.0f) == (power + shots == 0) && CountKind(30.0f, 40.0f) == shots);
    EXPECT_TRUE(int(seenHeadings.size()) == headings && seenSpeeds == std::set<float>(speeds.begin(), speeds.end()));
    EXPECT_EQ(P(1, kPower), power);
  }
  Human(1, 300.0f, 200.0f), P(1, kRespawn) = 10.0f, app->p_UpdateObjects();  // a waiting ship cannot take one
  EXPECT_EQ(O(0, kKind), 51.0f);
}

TEST_F(FieldObjects, EdgesWrapRocksAndRetireTheRestAndRocksLeaveShotsRoom) {
  Start(4, true);
  P(1, kPresent) = P(2, kPresent) = 0.0f;
  Place(0, 1.0f, -16.5f, 100.0f);        // small rock, two crossings
  Place(1, 2.0f, -16.5f, 100.0f);        // large rock
  Place(2, 4.0f, 100.0f, H() + 16.5f);   // gem
  Place(3, 52.0f, W() + 16.5f, 100.0f);  // power-up
  for (int crossing = 1; crossing <= 4; ++crossing) {
    app->p_UpdateObjects();
    EXPECT_EQ(O(0, kKind), crossing < 3 ? 1.0f : 0.0f) << crossing;
    EXPECT_TRUE(O(1, kKind) == 2.0f && O(1, kObjX) == W() + 15.5f && O(2, kKind) + O(3, kKind) == 0);
    O(0, kObjX) = O(1, kObjX) = -16.5f;
  }
  Place(0, 1.0f, -16.5f, -16.5f);  // crossing a corner counts twice
  app->p_UpdateObjects();
  EXPECT_TRUE(O(0, kCrossings) == 0.0f && O(0, kObjY) == H() + 15.5f);
  ClearField();
  std::set<int> pictures;
  for (int r = 0; r <= 301; ++r) app->p_ARock(100.0f, 100.0f, 90.0f, r % 2), pictures.insert(int(O(r, kPicOrLife)));
  EXPECT_EQ(CountKind(0.5f, 2.5f), 301);
  EXPECT_EQ(app->p_Shot(1, 10.0f, 10.0f, 0.0f, 5.0f, 45.0f), 3010);
  pictures.erase(0);  // record 301 stayed empty; no rock wears a ship, gem or shot frame
  EXPECT_EQ(pictures, (std::set<int>{3, 4, 8, 9, 13, 14, 18, 19, 20, 21, 22, 23, 24}));
}
