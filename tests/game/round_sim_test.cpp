// Whole rounds of computer players in every mode: nothing leaves the field
// or the pools, no value turns into NaN, gems are only gained by pick-up and
// lost by banking or destruction, scores only rise by banking, and each
// round ends exactly when its mode says and not before.
#include "round_fixture.h"

using namespace lk_round;
using Simulation = RoundTest;

TEST_F(Simulation, RoundsKeepTheirRulesToTheEnd) {
  // Battles start half won, which reaches their end twice as soon.
  const int cases[][4] = {{1, 101, 7400, 0}, {2, 202, 12000, 0}, {3, 303, 12000, 0},
                          {4, 404, 12000, 5}, {5, 505, 12000, 5}, {6, 606, 12000, 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c[0]);
    Start(c[0], false, c[1]);
    for (int p = 1; p <= 4; ++p) P(p, kScore) = float(c[3]);
    int destructions = 0, overAt = -1;
    for (int u = 1; u <= c[2] && (overAt < 0 || u <= overAt + 120); ++u) {
      float was[500], kinds[510];
      std::copy_n(app->m_Players.Data(), 500, was);
      for (int r = 0; r < 510; ++r) kinds[r] = O(r, kKind);
      app->p_Game();
      bool leader = false;
      for (int p = 1; p <= 4; ++p) {
        if (P(p, kPresent) == 0.0f) continue;
        destructions += was[100 * p + kRespawn] < 1.0f && P(p, kRespawn) == 180.0f;
        // Comparisons are false for NaN, so these also catch a broken value.
        ASSERT_TRUE(P(p, kX) >= 8.0f && P(p, kX) <= W() - 8.0f && P(p, kY) >= 8.0f && P(p, kY) <= H() - 8.0f &&
                    std::isfinite(P(p, kHeading)) && P(p, kGems) >= 0.0f && P(p, kGems) <= 3.0f)
            << p << " at update " << u;
        const float banked = P(p, kScore) - was[100 * p + kScore], gained = P(p, kGems) - was[100 * p + kGems];
        // A gem in the hold was one of the player's own on the field, or one
        // a rock released this very update; it leaves by banking or a hit.
        int picked = 0, split = 0;
        for (int r = 0; r < 510; ++r)
          picked += kinds[r] == float(p + 2) && O(r, kKind) != kinds[r],
              split += kinds[r] == 0.0f && O(r, kKind) > 0.0f && O(r, kKind) < 10.0f;
        ASSERT_TRUE((gained <= float(picked) || split) && (gained >= -1.0f || P(p, kRespawn) > 0.0f) &&
                    (banked == 0.0f || (banked == 1.0f && gained <= 0.0f && overAt < 0)))
            << p << " gained " << gained << " banked " << banked << " at update " << u;
        leader = leader || P(p, kScore) >= 10.0f;
      }
      for (int r = 0; r < 510; ++r) {
        const float k = O(r, kKind), top = k > 30 && k < 40 ? kShotTop : kSpawnTop;
        const bool known = (k >= 1 && k <= 6) || (k >= 31 && k <= 34) || (k >= 51 && k <= 53);
        ASSERT_TRUE(k == 0.0f || (known && k == std::floor(k) && r <= top && std::isfinite(O(r, kObjX) + O(r, kObjY))))
            << "record " << r << " kind " << k;
      }
      for (int r = app->m_ParticleMax + 1; r < 510; ++r) ASSERT_EQ(app->m_Particles[10 * r], 0.0f);
      const bool due[7] = {false, u >= 7260, destructions >= 4, destructions >= 1, leader, leader, leader};
      ASSERT_EQ(app->m_RoundOver != 0, overAt > 0 || due[c[0]]) << "update " << u;
      ASSERT_TRUE((c[0] != 2 || overAt > 0 || P(0, kLives) == float(3 - destructions)) &&
                  (c[0] > 3 || app->m_LastScore == int(P(1, kScore))));
      if (app->m_RoundOver && overAt < 0) overAt = u;
    }
    const int w = app->m_Winner - 10;
    EXPECT_TRUE(overAt > 0 && (c[0] < 4 || (w >= 1 && w <= 4 && P(w, kScore) == 10.0f))) << app->m_Winner;
  }
}
