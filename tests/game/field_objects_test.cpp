// Field objects: rocks knocked and split by shots, gems that are collected,
// call their owner or kill, the fair gem bag, power-ups, edge crossings and
// a full pool.
#include <map>
#include <set>

#include "round_fixture.h"

using namespace lk_round;
using FieldObjects = RoundTest;

TEST_F(FieldObjects, ShotsKnockRocksAlongTheirLineAndSplitThem) {
  // A rock at rest at (200, 200) and player 1's shot on it heading left (90
  // degrees), nobody present; the bag deals player 3's gems (kind 5).
  const float rocks[3] = {2, 2, 1}, lives[3] = {45, 95, 45};
  Start(1);
  P(1, kPresent) = 0.0f;
  std::map<int, int> seen;  // small rocks * 100 + gems * 10 + power-ups
  int powerKinds[3] = {};
  for (int c = 0; c < 3; ++c) {
    SCOPED_TRACE(testing::Message() << "rock " << rocks[c] << " shot life " << lives[c]);
    for (int seed = 1; seed <= (c == 0 ? 3000 : 200); ++seed) {
      ClearField();
      Place(0, rocks[c], 200.0f, 200.0f);
      Place(1, 31.0f, 203.0f, 200.0f);
      O(1, kAngle) = 90.0f;
      O(1, kPicOrLife) = lives[c];
      std::fill_n(app->m_GemSlots.Data(), 20, 3);
      app->m_GemNext = 0;
      bb_random_Seed = seed * 7919;
      app->p_UpdateObjects();
      int n[60] = {};
      for (int r = 0; r <= 400; ++r) ++n[int(O(r, kKind))];
      for (int k = 0; k < 3; ++k) powerKinds[k] += n[51 + k];
      const int released = n[5] + n[51] + n[52] + n[53];
      ASSERT_EQ(n[31], lives[c] > 45 ? 1 : 0) << seed;  // fresh power-up shots pass through
      if (rocks[c] == 1.0f) {  // a small rock is gone; what is left it released
        ASSERT_TRUE(n[1] >= 1 && n[1] + released <= 2) << seed;
        continue;
      }
      // A large rock is never destroyed, only knocked left, slowly.
      ASSERT_EQ(O(0, kKind), 2.0f);
      ASSERT_TRUE(O(0, kVelX) < -0.49f && O(0, kVelX) > -1.5f && std::fabs(O(0, kVelY)) < 0.21f) << seed;
      ASSERT_TRUE(lives[c] == 45 || released == 0) << seed;  // and only release rocks
      if (c == 0) ++seen[n[1] * 100 + n[5] * 10 + n[51] + n[52] + n[53]];
    }
  }
  // 4, 3, 3 and 20 in 30, each within about three and a half deviations.
  EXPECT_EQ(seen.size(), 4u);
  EXPECT_NEAR(seen[110], 3000 * 4 / 30, 60);
  EXPECT_NEAR(seen[101], 3000 * 3 / 30, 55);
  EXPECT_NEAR(seen[100], 3000 * 3 / 30, 55);
  EXPECT_NEAR(seen[200], 3000 * 20 / 30, 90);
  EXPECT_TRUE(powerKinds[0] && powerKinds[1] && powerKinds[2]);
}

TEST_F(FieldObjects, GemsAreCollectedByTheirOwnerAndKillEveryoneElse) {
  Start(6);
  ClearField();
  struct Case {
    float kind, x1, power1, respawn1, gems2, x2;
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
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " player 1 at " << c.x1);
    Place(10, c.kind, 306.0f, 194.0f);
    Human(1, c.x1, 194.0f);
    Human(2, c.x2, 194.0f);
    P(1, kPower) = c.power1;
    P(1, kRespawn) = c.respawn1;
    P(2, kGems) = c.gems2;
    app->p_UpdateObjects();
    EXPECT_EQ(O(10, kKind), c.wantKind);
    EXPECT_EQ(P(1, kRespawn), c.wantRespawn1);
    EXPECT_TRUE(P(2, kGems) == c.wantGems2 && P(2, kRespawn) == 0.0f);
  }
}

TEST_F(FieldObjects, AGemCallsItsOwnerWhileItLiesNoFartherThanHome) {
  Start(4);
  ClearField();
  const float gemX[4] = {500, 500, 150, 150}, gems[4] = {0, 1, 1, 3};
  for (int c = 0; c < 4; ++c) {
    Human(1, 200.0f, 200.0f);  // home is (96, 64)
    P(1, kGems) = gems[c];
    P(1, kTargetObj) = -100.0f;
    P(1, kTargetHold) = 5.0f;  // no wandering off to other objects
    Place(10, 3.0f, gemX[c], 150.0f);
    app->p_UpdateObjects();
    EXPECT_EQ(P(1, kTargetObj) == 10.0f, c == 0 || c == 2) << c;
  }
}

TEST_F(FieldObjects, TheBagDealsEqualSharesToPresentPlayersInShuffledOrder) {
  const int sizes[7] = {0, 9, 9, 9, 10, 9, 12};
  for (int mode = 1; mode <= 6; ++mode) {
    Start(mode);
    const int players = mode <= 3 ? 1 : mode - 2;
    std::set<std::vector<int>> orders;
    for (int bag = 0; bag < 20; ++bag) {
      std::vector<int> order, dealt(5);
      for (int k = 0; k < sizes[mode]; ++k) order.push_back(app->p_GetGem()), ++dealt.at(order.back());
      orders.insert(order);
      for (int p = 0; p <= 4; ++p) ASSERT_EQ(dealt[p], p >= 1 && p <= players ? sizes[mode] / players : 0);
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
  Start(1);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.kind << " at " << c.dx);
    ClearField();
    Human(1, 300.0f + c.dx, 200.0f);
    Place(0, c.kind, 300.0f, 200.0f);
    app->p_UpdateObjects();
    EXPECT_EQ(CountKind(50.0f, 60.0f), c.power == 0 && c.shots == 0 ? 1 : 0);
    EXPECT_EQ(CountKind(30.0f, 40.0f), c.shots);
    EXPECT_EQ(P(1, kPower), c.power);
    std::set<float> angles, speeds;
    for (int r = 0; r <= 400; ++r)
      if (O(r, kKind) == 31.0f)
        angles.insert(O(r, kAngle)), speeds.insert(std::round(std::hypot(O(r, kVelX), O(r, kVelY)) * 2) / 2);
    EXPECT_EQ(int(angles.size()), c.angles);
    EXPECT_EQ(speeds, (c.kind == 52.0f ? std::set<float>{2, 3.5f, 5}
                                       : c.kind == 53.0f ? std::set<float>{7} : std::set<float>{}));
  }
  P(1, kRespawn) = 10.0f;  // a waiting ship cannot take one
  Human(1, 300.0f, 200.0f);
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
  for (int crossing = 1; crossing <= 4; ++crossing) {
    app->p_UpdateObjects();
    EXPECT_EQ(O(0, kKind), crossing < 3 ? 1.0f : 0.0f) << crossing;
    EXPECT_TRUE(O(1, kKind) == 2.0f && O(1, kObjX) == W() + 15.5f && O(2, kKind) + O(3, kKind) == 0);
    O(0, kObjX) = O(1, kObjX) = -16.5f;
  }
  Place(0, 1.0f, -16.5f, -16.5f);  // crossing a corner counts twice
  app->p_UpdateObjects();
  EXPECT_TRUE(O(0, kCrossings) == 0.0f && O(0, kObjY) == H() + 15.5f);
}

TEST_F(FieldObjects, RocksFillTheirOwnRecordsAndLeaveShotsRoom) {
  Start(4);
  ClearField();
  std::set<int> pictures;
  for (int r = 0; r <= 301; ++r) app->p_ARock(100.0f, 100.0f, 90.0f, r % 2), pictures.insert(int(O(r, kPicOrLife)));
  EXPECT_EQ(CountKind(0.5f, 2.5f), 301);
  EXPECT_EQ(app->p_Shot(1, 10.0f, 10.0f, 0.0f, 5.0f, 45.0f), 3010);
  pictures.erase(0);  // record 301 stayed empty; no rock wears a ship, gem or shot frame
  EXPECT_EQ(pictures, (std::set<int>{3, 4, 8, 9, 13, 14, 18, 19, 20, 21, 22, 23, 24}));
}
