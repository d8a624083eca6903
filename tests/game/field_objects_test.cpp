// Field objects: rocks knocked and split by shots, gems that are collected,
// call their owner or kill, the fair gem bag, power-ups, edge crossings and
// a full pool.
#include <map>
#include <set>

#include "round_fixture.h"

using namespace lk_round;
using FieldObjects = RoundTest;

TEST_F(FieldObjects, ShotsKnockRocksAlongTheirLineAndSplitThem) {
  // Nobody present, a rock at rest at (200, 200) and player 1's shot on it
  // heading left (90 degrees); the bag deals player 3's gems (kind 5).
  struct Case {
    float rock, shotLife;
    int seeds;
    bool shotSurvives, releases;
  } cases[] = {{2, 45, 3000, false, true}, {2, 95, 200, true, false}, {1, 45, 200, false, true}};
  Start(1);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "rock " << c.rock << " shot life " << c.shotLife);
    std::map<std::string, int> seen;
    std::set<float> powerKinds;
    for (int seed = 1; seed <= c.seeds; ++seed) {
      ClearField();
      P(1, kPresent) = 0.0f;
      Place(0, c.rock, 200.0f, 200.0f);
      Place(1, 31.0f, 203.0f, 200.0f);
      O(1, kAngle) = 90.0f;
      O(1, kPicOrLife) = c.shotLife;
      for (int i = 0; i < 20; ++i) app->m_GemSlots[i] = 3;
      app->m_GemNext = 0;
      app->m_Players[kHitSound] = 0.0f;
      bb_random_Seed = seed * 7919;
      app->p_UpdateObjects();
      ASSERT_EQ(app->m_Players[kHitSound], 1.0f);
      ASSERT_EQ(O(1, kKind) == 31.0f, c.shotSurvives) << seed;
      int small = 0, gems = 0, powers = 0;
      for (int r = 0; r <= 400; ++r) {
        small += O(r, kKind) == 1.0f;
        gems += O(r, kKind) == 5.0f;
        if (O(r, kKind) > 50.0f) ++powers, powerKinds.insert(O(r, kKind));
      }
      if (c.rock == 1.0f) {  // a small rock is gone; what is left it released
        ASSERT_TRUE(small >= 1 && small + gems + powers <= 2) << seed;
        continue;
      }
      // A large rock is never destroyed, only knocked left, slowly.
      ASSERT_EQ(O(0, kKind), 2.0f);
      ASSERT_TRUE(O(0, kVelX) < -0.49f && O(0, kVelX) > -1.5f) << seed;
      ASSERT_LE(std::fabs(O(0, kVelY)), 0.21f) << seed;
      ASSERT_TRUE(c.releases || gems + powers == 0) << seed;
      ++seen[std::to_string(small) + " rocks " + std::to_string(gems) + " gems " + std::to_string(powers)];
    }
    if (c.seeds < 3000) continue;
    // 4, 3, 3 and 20 in 30, each within about three and a half deviations.
    EXPECT_EQ(seen.size(), 4u);
    EXPECT_NEAR(seen["1 rocks 1 gems 0"], c.seeds * 4 / 30, 60);
    EXPECT_NEAR(seen["1 rocks 0 gems 1"], c.seeds * 3 / 30, 55);
    EXPECT_NEAR(seen["1 rocks 0 gems 0"], c.seeds * 3 / 30, 55);
    EXPECT_NEAR(seen["2 rocks 0 gems 0"], c.seeds * 20 / 30, 90);
    EXPECT_EQ(powerKinds.size(), 3u);
  }
}

TEST_F(FieldObjects, GemsAreCollectedByTheirOwnerAndKillEveryoneElse) {
  Start(6);
  ClearField();
  P(0, kCountdown) = 0.0f;
  const float at[2] = {306.0f, 194.0f};
  struct Case {
    float gem, x1, power1, respawn1, gems2, x2;
    float wantKind, wantRespawn1, wantGems2;
  } cases[] = {
      {4, 300, 0, 0, 0, 400, 4, 180, 0},  // player 2's gem within 7 units kills player 1
      {4, 300, 1, 0, 0, 400, 4, 0, 0},    // unless shielded
      {4, 300, 0, 5, 0, 400, 4, 5, 0},    // a ship out of play touches nothing
      {4, 100, 0, 0, 0, 306, 0, 0, 1},    // the owner collects it
      {4, 100, 0, 0, 3, 306, 4, 0, 3},    // up to three
      {4, 306, 0, 0, 0, 306, 0, 180, 1},  // player 1 dies first, then 2 collects
      {1, 310, 0, 0, 0, 500, 1, 0, 0},    // rocks kill within four units only
      {1, 309.5f, 0, 0, 0, 500, 1, 180, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "gem " << c.gem << " player 1 at " << c.x1);
    Place(10, c.gem, at[0], at[1]);
    Human(1, c.x1, at[1]);
    Human(2, c.x2, at[1]);
    P(1, kPower) = c.power1;
    P(1, kRespawn) = c.respawn1;
    P(2, kGems) = c.gems2;
    app->p_UpdateObjects();
    EXPECT_EQ(O(10, kKind), c.wantKind);
    EXPECT_EQ(P(1, kRespawn), c.wantRespawn1);
    EXPECT_EQ(P(2, kGems), c.wantGems2);
    EXPECT_EQ(P(2, kRespawn), 0.0f);
  }
}

TEST_F(FieldObjects, AGemCallsItsOwnerWhileItLiesNoFartherThanHome) {
  Start(4);
  ClearField();
  struct Case {
    float gemX, gems;
    bool called;
  } cases[] = {{500, 0, true}, {500, 1, false}, {150, 1, true}, {150, 3, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "gem at " << c.gemX << " carrying " << c.gems);
    Human(1, 200.0f, 200.0f);  // home is (96, 64)
    P(1, kGems) = c.gems;
    P(1, kTargetObj) = -100.0f;
    P(1, kTargetHold) = 5.0f;  // no wandering off to other objects
    Place(10, 3.0f, c.gemX, 150.0f);
    app->p_UpdateObjects();
    EXPECT_EQ(P(1, kTargetObj) == 10.0f, c.called);
  }
}

TEST_F(FieldObjects, TheBagDealsEqualSharesToPresentPlayersInShuffledOrder) {
  const int sizes[7] = {0, 9, 9, 9, 10, 9, 12};
  for (int mode = 1; mode <= 6; ++mode) {
    SCOPED_TRACE(mode);
    Start(mode);
    const int players = mode <= 3 ? 1 : mode - 2;
    std::set<std::vector<int>> orders;
    for (int bag = 0; bag < 20; ++bag) {
      std::map<int, int> dealt;
      std::vector<int> order;
      for (int k = 0; k < sizes[mode]; ++k) order.push_back(app->p_GetGem()), ++dealt[order.back()];
      orders.insert(order);
      ASSERT_EQ(int(dealt.size()), players);
      for (auto& e : dealt) EXPECT_TRUE(e.first >= 1 && e.first <= players && e.second == sizes[mode] / players);
    }
    EXPECT_TRUE(mode != 6 || orders.size() > 15u);  // the shuffle is real
  }
}

TEST_F(FieldObjects, PowerUpsGiveShotRingsBurstsAndTripleShot) {
  struct Case {
    float kind, dx;
    int shots, angles;
    float power;
  } cases[] = {{53, 0, 36, 36, 0}, {52, 0, 12, 4, 0}, {51, 0, 0, 0, 2}, {51, 6.9f, 0, 0, 2}, {51, 7, 0, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.kind << " at " << c.dx);
    Start(1);
    ClearField();
    Human(1, 300.0f + c.dx, 200.0f);
    Place(0, c.kind, 300.0f, 200.0f);
    app->p_UpdateObjects();
    EXPECT_EQ(CountKind(50.0f, 60.0f), c.power == 0 && c.shots == 0 ? 1 : 0);
    EXPECT_EQ(CountKind(30.0f, 40.0f), c.shots);
    std::set<float> angles, speeds;
    for (int r = 0; r <= 400; ++r) {
      if (O(r, kKind) != 31.0f) continue;
      angles.insert(O(r, kAngle));
      speeds.insert(std::round(std::hypot(O(r, kVelX), O(r, kVelY)) * 10.0f) / 10.0f);
    }
    EXPECT_EQ(int(angles.size()), c.angles);
    EXPECT_EQ(speeds, (c.kind == 52.0f ? std::set<float>{2, 3.5f, 5}
                                       : c.kind == 53.0f ? std::set<float>{7} : std::set<float>{}));
    EXPECT_EQ(P(1, kPower), c.power);
  }
  // A waiting ship cannot take one.
  ClearField();
  Human(1, 300.0f, 200.0f);
  P(1, kRespawn) = 10.0f;
  Place(0, 51.0f, 300.0f, 200.0f);
  app->p_UpdateObjects();
  EXPECT_EQ(O(0, kKind), 51.0f);
}

TEST_F(FieldObjects, EdgesWrapRocksAndRetireTheRest) {
  Start(1);
  ClearField();
  P(1, kPresent) = 0.0f;
  Place(0, 1.0f, -16.5f, 100.0f);        // small rock, two crossings
  Place(1, 2.0f, -16.5f, 100.0f);        // large rock
  Place(2, 4.0f, 100.0f, H() + 16.5f);   // gem
  Place(3, 52.0f, W() + 16.5f, 100.0f);  // power-up
  app->p_UpdateObjects();
  EXPECT_EQ(O(0, kObjX), W() + 15.5f);
  EXPECT_EQ(O(2, kKind) + O(3, kKind), 0.0f);
  for (int crossing = 2; crossing <= 4; ++crossing) {
    O(0, kObjX) = O(1, kObjX) = -16.5f;
    app->p_UpdateObjects();
    EXPECT_EQ(O(0, kKind), crossing < 3 ? 1.0f : 0.0f) << crossing;
    EXPECT_EQ(O(1, kKind), 2.0f);
    EXPECT_EQ(O(1, kObjX), W() + 15.5f);
  }
  // Crossing a corner counts twice.
  Place(0, 1.0f, -16.5f, -16.5f);
  app->p_UpdateObjects();
  EXPECT_EQ(O(0, kCrossings), 0.0f);
  EXPECT_EQ(O(0, kObjY), H() + 15.5f);
}

TEST_F(FieldObjects, RocksFillTheirOwnRecordsAndLeaveShotsRoom) {
  Start(4);
  ClearField();
  std::set<int> pictures;
  for (int r = 0; r <= 301; ++r) {
    app->p_ARock(100.0f, 100.0f, 90.0f, r % 2);
    pictures.insert(int(O(r, kPicOrLife)));
  }
  EXPECT_EQ(CountKind(0.5f, 2.5f), 301);
  EXPECT_EQ(O(301, kKind), 0.0f);
  EXPECT_EQ(app->p_Shot(1, 10.0f, 10.0f, 0.0f, 5.0f, 45.0f), 3010);
  // Rocks never wear a frame of a player's ship, gem or shot.
  pictures.erase(0);
  EXPECT_EQ(pictures, (std::set<int>{3, 4, 8, 9, 13, 14, 18, 19, 20, 21, 22, 23, 24}));
}
