// Thousands of updates of computer players in every mode: nothing leaves
// the field or the pools, no value turns into NaN, scores only grow, and
// each round ends exactly when its mode says and not before.
#include "round_fixture.h"

using namespace lk_round;
using Simulation = RoundTest;

namespace {

bool validKind(float k) {
  return k == 0.0f || (k >= 1.0f && k <= 6.0f && k == std::floor(k)) ||
         (k >= 31.0f && k <= 34.0f && k == std::floor(k)) || (k >= 51.0f && k <= 53.0f && k == std::floor(k));
}

}  // namespace

class SimulationRun : public RoundTest {
 protected:
  int mode = 0;
  int destructions = 0;
  int overAt = -1;
  float lastScore[5] = {0, 0, 0, 0, 0};

  void CheckPlayers() {
    for (int p = 1; p <= 4; ++p) {
      if (P(p, kPresent) == 0.0f) continue;
      // Comparisons are false for NaN, so these also catch a broken value.
      ASSERT_TRUE(P(p, kX) >= 8.0f && P(p, kX) <= W() - 8.0f) << p << " x " << P(p, kX);
      ASSERT_TRUE(P(p, kY) >= 8.0f && P(p, kY) <= H() - 8.0f) << p << " y " << P(p, kY);
      ASSERT_TRUE(std::isfinite(P(p, kHeading))) << p;
      ASSERT_TRUE(P(p, kGems) >= 0.0f && P(p, kGems) <= 3.0f) << p;
      ASSERT_GE(P(p, kScore), lastScore[p]) << "player " << p;
      lastScore[p] = P(p, kScore);
    }
  }
  void CheckPools() {
    for (int r = 0; r < 510; ++r) {
      const float k = O(r, kKind);
      ASSERT_TRUE(validKind(k)) << "record " << r << " kind " << k;
      ASSERT_TRUE(r <= 400 || k == 0.0f) << r;
      ASSERT_FALSE(r > 300 && k > 0.0f && (k < 10.0f || k > 50.0f)) << r;
      if (k != 0.0f) {
        ASSERT_TRUE(std::isfinite(O(r, kObjX)) && std::isfinite(O(r, kObjY))) << r;
      }
    }
    for (int r = app->m_ParticleMax + 1; r < 510; ++r) ASSERT_EQ(app->m_Particles[10 * r], 0.0f);
    ASSERT_LE(app->m_DrawCount, LK_DRAWLIST_FLOATS);
    ASSERT_TRUE(app->m_Frame >= 0 && app->m_Frame <= 4) << app->m_Frame;
  }
  // Whether the mode's end has come, judged from outside the round.
  bool ShouldBeOver(int update) {
    switch (mode) {
      case 1: return update >= 7260;
      case 2: return destructions >= 4;
      case 3: return destructions >= 1;
      default:
        for (int p = 1; p <= 4; ++p)
          if (lastScore[p] >= 10.0f) return true;
        return false;
    }
  }
  void Play(int m, int millis, int updates) {
    mode = m;
    Start(m, millis);
    for (int u = 1; u <= updates; ++u) {
      float waiting[5];
      for (int p = 1; p <= 4; ++p) waiting[p] = P(p, kRespawn);
      app->p_Game();
      for (int p = 1; p <= 4; ++p)
        if (P(p, kPresent) != 0.0f && waiting[p] < 1.0f && P(p, kRespawn) == 180.0f) ++destructions;
      CheckPlayers();
      CheckPools();
      if (HasFatalFailure()) return;
      if (overAt < 0) {
        ASSERT_EQ(app->m_RoundOver != 0, ShouldBeOver(u)) << "mode " << m << " update " << u;
        if (app->m_RoundOver) overAt = u;
        if (m == 2) {
          ASSERT_EQ(P(0, kLives), float(3 - destructions));
        }
      } else {
        ASSERT_EQ(app->m_RoundOver, 1);
        if (u > overAt + 120) break;  // well past the overlay's time
      }
      if (m <= 3) {
        ASSERT_EQ(app->m_LastScore, int(P(1, kScore)));
      }
    }
    // Computer players do finish every mode in this many updates.
    EXPECT_GT(overAt, 0) << "mode " << m << " never ended";
    if (overAt > 0 && m >= 4) {
      int winners = 0;
      for (int p = 1; p <= 4; ++p)
        if (P(p, kScore) == 10.0f) {
          ++winners;
          EXPECT_EQ(app->m_Winner, 10 + p);
        }
      EXPECT_EQ(winners, 1);
    }
  }
};

TEST_F(SimulationRun, TimeAttack) {
  Play(1, 101, 7400);
  EXPECT_EQ(overAt, 7260);
}

TEST_F(SimulationRun, ThreeLives) { Play(2, 202, 12000); }
TEST_F(SimulationRun, Survival) { Play(3, 303, 12000); }
TEST_F(SimulationRun, BattleTwo) { Play(4, 404, 12000); }
TEST_F(SimulationRun, BattleThree) { Play(5, 505, 16000); }
TEST_F(SimulationRun, BattleFour) { Play(6, 606, 16000); }
