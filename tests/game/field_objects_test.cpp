// Field objects: rocks splitting under fire with the generator's draws in
// their fixed order, gems that are collected or kill, the gem bag, power-up
// effects, edge crossings and a full pool.
#include <map>
#include <set>

#include "round_fixture.h"

using namespace lk_round;
using FieldObjects = RoundTest;

namespace {

struct Split {
  int smallRocks = 0, gems = 0, powerUps = 0;
};

}  // namespace

class ShotTest : public RoundTest {
 protected:
  // A one-player field with nobody present (no attraction draws), a large
  // rock at rest at (200, 200) in record 0 and a shot of player 1 on it in
  // record 1, heading left. The bag deals player 3's gems.
  void Setup(float shotLife) {
    if (!started) Start(1);
    started = true;
    ClearField();
    app->m_Players[kHitSound] = 0.0f;
    P(1, kPresent) = 0.0f;
    Place(0, 2.0f, 200.0f, 200.0f);
    Place(1, 31.0f, 203.0f, 200.0f);
    O(1, kAngle) = 90.0f;
    O(1, kPicOrLife) = shotLife;
    for (int i = 0; i < 20; ++i) app->m_GemSlots[i] = 3;
    app->m_GemNext = 0;
    app->m_GemLast = 5;
  }
  bool started = false;

  Split Outcome() {
    Split s;
    for (int r = 1; r <= 400; ++r) {
      if (O(r, kKind) == 1.0f) ++s.smallRocks;
      if (O(r, kKind) == 5.0f) ++s.gems;
      if (O(r, kKind) > 50.0f && O(r, kKind) < 54.0f) ++s.powerUps;
    }
    return s;
  }
};

TEST_F(ShotTest, LargeRockIsKnockedAlongTheShotWithTheNextTwoDraws) {
  for (int seed : {77, -5}) {
    SCOPED_TRACE(seed);
    Setup(45.0f);
    bb_random_Seed = seed;
    Lcg next(seed);
    const float angle = 90.0f + 16.0f * next.Next() - 8.0f;
    const int s = int(10.0f * next.Next() + 5.0f);
    app->p_UpdateObjects();
    EXPECT_EQ(O(0, kKind), 2.0f);  // large rocks are never destroyed
    EXPECT_EQ(O(0, kObjX), 200.0f);
    EXPECT_FLOAT_EQ(O(0, kAngle), angle);
    const float v = 0.1f * float(s);
    EXPECT_NEAR(O(0, kVelX), -std::sin(angle * LK_DEG_TO_RAD) * v, 1e-5);
    EXPECT_NEAR(O(0, kVelY), -std::cos(angle * LK_DEG_TO_RAD) * v, 1e-5);
    EXPECT_EQ(app->m_Players[kHitSound], 1.0f);
    EXPECT_EQ(CountKind(30.0f, 40.0f), 0);  // the ordinary shot is spent
  }
}

TEST_F(ShotTest, SplitsFollowTheThirtyWayDraw) {
  std::map<std::string, int> seen;
  std::set<float> powerKinds;
  const int kSeeds = 3000;
  for (int seed = 1; seed <= kSeeds; ++seed) {
    Setup(45.0f);
    bb_random_Seed = seed * 7919;
    app->p_UpdateObjects();
    const Split s = Outcome();
    for (int r = 1; r <= 400; ++r)
      if (O(r, kKind) > 50.0f) powerKinds.insert(O(r, kKind));
    std::string what;
    if (s.smallRocks == 1 && s.gems == 1 && s.powerUps == 0) what = "gem";
    else if (s.smallRocks == 1 && s.gems == 0 && s.powerUps == 1) what = "power";
    else if (s.smallRocks == 1 && s.gems == 0 && s.powerUps == 0) what = "rock";
    else if (s.smallRocks == 2 && s.gems == 0 && s.powerUps == 0) what = "two rocks";
    else what = "other";
    ++seen[what];
  }
  EXPECT_EQ(seen["other"], 0);
  // 4, 3, 3 and 20 in 30, each within about three and a half deviations.
  EXPECT_NEAR(seen["gem"], kSeeds * 4 / 30, 60);
  EXPECT_NEAR(seen["power"], kSeeds * 3 / 30, 55);
  EXPECT_NEAR(seen["rock"], kSeeds * 3 / 30, 55);
  EXPECT_NEAR(seen["two rocks"], kSeeds * 20 / 30, 90);
  EXPECT_EQ(powerKinds.count(51.0f), 1u);
  EXPECT_EQ(powerKinds.count(52.0f) + powerKinds.count(53.0f), 2u);
}

TEST_F(ShotTest, FreshPowerUpShotsPassThroughAndReleaseOnlyRocks) {
  for (int seed = 1; seed <= 200; ++seed) {
    Setup(95.0f);
    bb_random_Seed = seed * 104729;
    app->p_UpdateObjects();
    const Split s = Outcome();
    ASSERT_EQ(s.gems, 0) << seed;
    ASSERT_EQ(s.powerUps, 0) << seed;
    ASSERT_GE(s.smallRocks, 1) << seed;
    ASSERT_EQ(O(1, kKind), 31.0f) << seed;  // still flying
    ASSERT_EQ(O(1, kPicOrLife), 94.0f);
  }
  // Once below 45 updates of life it is an ordinary shot again.
  Setup(44.5f);
  app->p_UpdateObjects();
  EXPECT_EQ(CountKind(30.0f, 40.0f), 0);
}

TEST_F(ShotTest, SmallRocksBreakIntoAtMostTwoPieces) {
  // The small rock itself is gone: what is left is only what it released.
  for (int seed = 1; seed <= 60; ++seed) {
    Setup(45.0f);
    O(0, kKind) = 1.0f;
    bb_random_Seed = seed * 31;
    app->p_UpdateObjects();
    int small = 0, released = 0;
    for (int r = 0; r <= 400; ++r) {
      if (O(r, kKind) == 1.0f) ++small;
      if (O(r, kKind) > 2.0f) ++released;
    }
    ASSERT_GE(small, 1) << seed;
    ASSERT_LE(small + released, 2) << seed;
  }

}

TEST_F(FieldObjects, GemsAreCollectedByTheirOwnerAndKillEveryoneElse) {
  Start(6);
  ClearField();
  P(0, kCountdown) = 0.0f;
  for (int p = 1; p <= 4; ++p) P(p, kPower) = 0.0f;
  Human(1, 300.0f, 200.0f);
  Human(2, 400.0f, 300.0f);

  Place(10, 4.0f, 306.0f, 194.0f);  // player 2's gem, within 7 units of player 1
  app->p_UpdateObjects();
  EXPECT_EQ(P(1, kRespawn), 180.0f);
  EXPECT_EQ(O(10, kKind), 4.0f);  // the gem stays

  // A shield saves the ship; a ship out of play touches nothing.
  P(1, kRespawn) = 0.0f;
  P(1, kPower) = 1.0f;
  app->p_UpdateObjects();
  EXPECT_EQ(P(1, kRespawn), 0.0f);
  P(1, kPower) = 0.0f;
  P(1, kRespawn) = 5.0f;
  app->p_UpdateObjects();
  EXPECT_EQ(P(1, kRespawn), 5.0f);
  P(1, kRespawn) = 0.0f;

  // The owner collects it, up to three.
  Human(2, 306.0f, 194.0f);
  P(1, kX) = 100.0f;
  app->p_UpdateObjects();
  EXPECT_EQ(O(10, kKind), 0.0f);
  EXPECT_EQ(P(2, kGems), 1.0f);
  P(2, kGems) = 3.0f;
  Place(10, 4.0f, 306.0f, 194.0f);
  app->p_UpdateObjects();
  EXPECT_EQ(O(10, kKind), 4.0f);
  EXPECT_EQ(P(2, kGems), 3.0f);
  EXPECT_EQ(P(2, kRespawn), 0.0f);

  // A gem taken by one player is not tested against the next.
  P(2, kGems) = 0.0f;
  Human(1, 306.0f, 194.0f);
  Place(10, 4.0f, 306.0f, 194.0f);
  app->p_UpdateObjects();
  EXPECT_EQ(P(2, kGems), 1.0f);
  EXPECT_EQ(P(2, kRespawn), 0.0f);
  EXPECT_EQ(P(1, kRespawn), 180.0f);  // player 1 came first and died
  Place(10, 3.0f, 306.0f, 194.0f);    // player 1's gem, player 1 waiting
  P(1, kRespawn) = 0.0f;
  app->p_UpdateObjects();
  EXPECT_EQ(P(1, kGems), 1.0f);
  EXPECT_EQ(P(2, kRespawn), 0.0f);

  // Rocks kill within four units only.
  Place(11, 1.0f, 306.0f + 4.0f, 194.0f);
  P(1, kX) = 306.0f;
  P(2, kX) = 500.0f;
  app->p_UpdateObjects();
  EXPECT_EQ(P(1, kRespawn), 0.0f);
  O(11, kObjX) = 309.5f;
  app->p_UpdateObjects();
  EXPECT_EQ(P(1, kRespawn), 180.0f);
}

TEST_F(FieldObjects, TheBagDealsEqualSharesToPresentPlayers) {
  const int sizes[7] = {0, 9, 9, 9, 10, 9, 12};
  for (int mode = 1; mode <= 6; ++mode) {
    SCOPED_TRACE(mode);
    Start(mode);
    const int players = mode <= 3 ? 1 : mode - 2;
    ASSERT_EQ(app->m_GemLast + 1, sizes[mode]);
    for (int bag = 0; bag < 3; ++bag) {
      std::map<int, int> dealt;
      for (int k = 0; k < sizes[mode]; ++k) ++dealt[app->p_GetGem()];
      ASSERT_EQ(int(dealt.size()), players);
      for (auto& e : dealt) {
        EXPECT_GE(e.first, 1);
        EXPECT_LE(e.first, players);
        EXPECT_EQ(e.second, sizes[mode] / players);
      }
    }
  }
  // Over many bags the order differs: the shuffle is real.
  Start(6);
  std::set<std::vector<int>> orders;
  for (int bag = 0; bag < 20; ++bag) {
    std::vector<int> order;
    for (int k = 0; k < 12; ++k) order.push_back(app->p_GetGem());
    orders.insert(order);
  }
  EXPECT_GT(orders.size(), 15u);
}

TEST_F(FieldObjects, PowerUpsGiveShotRingsBurstsAndTripleShot) {
  struct Case {
    float kind;
    int shots;
    float life;
  } cases[] = {{53.0f, 36, 95.0f}, {52.0f, 12, 75.0f}, {51.0f, 0, 0.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    Start(5);
    ClearField();
    Human(2, 303.0f, 205.0f);
    Human(1, 297.0f, 196.0f);  // both within 7: player 1 takes it
    P(1, kPower) = 1.0f;
    Place(0, c.kind, 300.0f, 200.0f);
    app->p_UpdateObjects();
    EXPECT_EQ(CountKind(50.0f, 60.0f), 0);
    EXPECT_EQ(CountKind(30.5f, 31.5f), c.shots);
    EXPECT_EQ(CountKind(31.5f, 40.0f), 0);
    std::map<float, int> perAngle;
    std::set<float> speeds;
    for (int r = 0; r <= 400; ++r) {
      if (O(r, kKind) != 31.0f) continue;
      ++perAngle[O(r, kAngle)];
      speeds.insert(std::round(std::hypot(O(r, kVelX), O(r, kVelY)) * 10.0f) / 10.0f);
      // The shots fill the records after the power-up, which frees its own
      // only then, so each was moved once in the same pass.
      EXPECT_EQ(O(r, kPicOrLife), c.life - 1.0f);
    }
    if (c.kind == 53.0f) {
      EXPECT_EQ(perAngle.size(), 36u);
      EXPECT_EQ(perAngle.begin()->first, 0.0f);
      EXPECT_EQ(perAngle.rbegin()->first, 350.0f);
      EXPECT_EQ(speeds, (std::set<float>{7.0f}));
    } else if (c.kind == 52.0f) {
      EXPECT_EQ(perAngle, (std::map<float, int>{{0.0f, 3}, {90.0f, 3}, {180.0f, 3}, {270.0f, 3}}));
      EXPECT_EQ(speeds, (std::set<float>{2.0f, 3.5f, 5.0f}));
    } else {
      EXPECT_EQ(P(1, kPower), 2.0f);  // replaces the shield
      EXPECT_EQ(P(1, kPowerTime), 180.0f);
      EXPECT_EQ(P(2, kPower), 0.0f);
    }
  }
  // A waiting ship cannot take one.
  Start(1);
  ClearField();
  Human(1, 300.0f, 200.0f);
  P(1, kRespawn) = 10.0f;
  Place(0, 51.0f, 300.0f, 200.0f);
  app->p_UpdateObjects();
  EXPECT_EQ(O(0, kKind), 51.0f);
  EXPECT_EQ(P(1, kPower), 0.0f);
}

TEST_F(FieldObjects, EdgesWrapRocksAndRetireTheRest) {
  Start(1);
  ClearField();
  P(1, kPresent) = 0.0f;
  Place(0, 1.0f, -16.5f, 100.0f);  // small rock, two crossings
  Place(1, 2.0f, -16.5f, 100.0f);  // large rock
  Place(2, 4.0f, 100.0f, H() + 16.5f);  // gem
  Place(3, 52.0f, W() + 16.5f, 100.0f);  // power-up
  app->p_UpdateObjects();
  EXPECT_EQ(O(0, kObjX), W() + 15.5f);
  EXPECT_EQ(O(0, kCrossings), 1.0f);
  EXPECT_EQ(O(2, kKind), 0.0f);
  EXPECT_EQ(O(3, kKind), 0.0f);
  for (int crossing = 2; crossing <= 5; ++crossing) {
    O(0, kObjX) = -16.5f;
    O(1, kObjX) = -16.5f;
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

TEST_F(FieldObjects, SpawnsDrawTheirNumbersEvenIntoAFullPool) {
  Start(4);
  ClearField();
  std::set<int> pictures;
  for (int r = 0; r <= 300; ++r) {
    app->p_ARock(100.0f, 100.0f, 90.0f, r % 2);
    ASSERT_EQ(O(r, kKind), float(r % 2 + 1));
    pictures.insert(int(O(r, kPicOrLife)));
    const float speed = std::hypot(O(r, kVelX), O(r, kVelY));
    EXPECT_GE(speed, 0.5f - 1e-5f);
    EXPECT_LE(speed, 1.25f + 1e-5f);
    EXPECT_EQ(O(r, kCrossings), 1.0f);
  }
  EXPECT_EQ(app->p_FreeObj(300), -1);  // rocks never reach the shot-only records
  EXPECT_EQ(app->p_FreeObj(400), 3010);
  EXPECT_EQ(pictures, (std::set<int>{3, 4, 8, 9, 13, 14, 18, 19, 20, 21, 22, 23, 24}));

  // Full: nothing is made, but the picture, spread and speed are drawn.
  for (int r = 0; r <= 300; ++r) O(r, kKind) = 2.0f;
  const int seed = bb_random_Seed;
  Lcg gen(seed);
  const float c = std::floor(24.99f * gen.Next());
  const bool redraw = c < 3 || (c >= 5 && c <= 7) || (c >= 10 && c <= 12) || (c >= 15 && c <= 17);
  for (int d = 0; d < (redraw ? 3 : 2); ++d) gen.Next();
  app->p_ARock(10.0f, 10.0f, 0.0f, 0);
  EXPECT_EQ(unsigned(bb_random_Seed), gen.seed);
  EXPECT_EQ(O(301, kKind), 0.0f);
}
