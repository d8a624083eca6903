// Whole rounds of computer players in every mode: nothing leaves the field
// or the pools, no value turns into NaN, gems are only gained by pick-up and
// lost by banking or destruction, scores only rise by banking, and each
// round ends exactly when its mode says and not before.
#include "round_fixture.h"

using namespace lk_round;
using Simulation = RoundTest;

namespace {

const int kWatched[3] = {kRespawn, kGems, kScore};

bool ValidKind(float k) {
  const bool whole = k == std::floor(k);
  return k == 0.0f || (whole && ((k >= 1 && k <= 6) || (k >= 31 && k <= 34) || (k >= 51 && k <= 53)));
}

}  // namespace

TEST_F(Simulation, RoundsKeepTheirRulesToTheEnd) {
  // Battles start half won, which reaches their end twice as soon.
  struct Case {
    int mode, millis, updates;
    float score;
  } cases[] = {{1, 101, 7400, 0}, {2, 202, 12000, 0}, {3, 303, 12000, 0},
               {4, 404, 12000, 5}, {5, 505, 12000, 5}, {6, 606, 12000, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode);
    Start(c.mode, c.millis);
    for (int p = 1; p <= 4; ++p) P(p, kScore) = c.score;
    int destructions = 0, overAt = -1;
    for (int u = 1; u <= c.updates && (overAt < 0 || u <= overAt + 120); ++u) {
      float before[5][3], kinds[510];  // respawn, gems and score of each player
      for (int p = 1; p <= 4; ++p)
        for (int k = 0; k < 3; ++k) before[p][k] = P(p, kWatched[k]);
      for (int r = 0; r < 510; ++r) kinds[r] = O(r, kKind);
      app->p_Game();
      bool leader = false;
      for (int p = 1; p <= 4; ++p) {
        if (P(p, kPresent) == 0.0f) continue;
        const bool hit = before[p][0] < 1.0f && P(p, kRespawn) == 180.0f;
        destructions += hit;
        // Comparisons are false for NaN, so these also catch a broken value.
        ASSERT_TRUE(P(p, kX) >= 8.0f && P(p, kX) <= W() - 8.0f) << p << " at update " << u;
        ASSERT_TRUE(P(p, kY) >= 8.0f && P(p, kY) <= H() - 8.0f) << p << " at update " << u;
        ASSERT_TRUE(std::isfinite(P(p, kHeading)));
        ASSERT_TRUE(P(p, kGems) >= 0.0f && P(p, kGems) <= 3.0f);
        const float banked = P(p, kScore) - before[p][2], gained = P(p, kGems) - before[p][1];
        ASSERT_TRUE(banked == 0.0f || (banked == 1.0f && gained <= 0.0f)) << p << " at update " << u;
        // A gem in the hold was one of the player's own gems on the field,
        // or one a rock released this very update.
        int picked = 0;
        bool split = false;
        for (int r = 0; r < 510; ++r) {
          picked += kinds[r] == float(p + 2) && O(r, kKind) != kinds[r];
          split = split || (kinds[r] == 0.0f && O(r, kKind) > 0.0f && O(r, kKind) < 10.0f);
        }
        ASSERT_TRUE((gained <= float(picked) || split) && (gained >= -1.0f || P(p, kRespawn) > 0.0f))
            << p << " gained " << gained << " at update " << u;
        leader = leader || P(p, kScore) >= 10.0f;
      }
      for (int r = 0; r < 510; ++r) {
        const float k = O(r, kKind);
        ASSERT_TRUE(ValidKind(k)) << "record " << r << " kind " << k;
        ASSERT_TRUE(k == 0.0f || (r <= kShotTop && (r <= kSpawnTop || (k > 30 && k < 40)))) << r;
        ASSERT_TRUE(k == 0.0f || (std::isfinite(O(r, kObjX)) && std::isfinite(O(r, kObjY)))) << r;
      }
      for (int r = app->m_ParticleMax + 1; r < 510; ++r) ASSERT_EQ(app->m_Particles[10 * r], 0.0f);
      if (overAt >= 0) {
        ASSERT_EQ(app->m_RoundOver, 1);
        continue;
      }
      const bool due[7] = {false, u >= 7260, destructions >= 4, destructions >= 1, leader, leader, leader};
      ASSERT_EQ(app->m_RoundOver != 0, due[c.mode]) << "update " << u;
      ASSERT_TRUE(c.mode != 2 || P(0, kLives) == float(3 - destructions));
      ASSERT_TRUE(c.mode > 3 || app->m_LastScore == int(P(1, kScore)));
      if (app->m_RoundOver) overAt = u;
    }
    EXPECT_GT(overAt, 0) << "never ended";
    if (c.mode >= 4) {
      int winners = 0;
      for (int p = 1; p <= 4; ++p) winners += P(p, kScore) == 10.0f && app->m_Winner == 10 + p;
      EXPECT_EQ(winners, 1);
    }
  }
}
