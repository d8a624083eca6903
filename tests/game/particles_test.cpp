// Particles: which record a spark takes, how it moves, fades and dies, and
// a pool that is full or sized out of range.
#include "round_fixture.h"

using Particles = RoundTest;

namespace {

float& Part(c_MyApp* app, int record, int slot) { return app->m_Particles[10 * record + slot]; }

}  // namespace

TEST_F(Particles, ThrowsTakeTheHighestFreeRecord) {
  app->p_ResetParticles(250);
  app->p_ThrowParticle(10, 20, 4, 3, 90, 2);
  app->p_ThrowParticle(10, 20, 4, 3, 0, 2);
  EXPECT_EQ(Part(app, 250, 0), 4.0f);
  EXPECT_EQ(Part(app, 249, 0), 4.0f);
  EXPECT_EQ(Part(app, 251, 0), 0.0f);
  EXPECT_NEAR(Part(app, 250, 3), 2.0f, 1e-6);  // 90 degrees: to the right
  EXPECT_NEAR(Part(app, 249, 4), -2.0f, 1e-6);  // 0 degrees: upward
  Part(app, 250, 0) = 0.0f;
  app->p_ThrowParticle(10, 20, 2, 3, 0, 2);
  EXPECT_EQ(Part(app, 250, 0), 2.0f);

  // The four draws after angle and speed, in order.
  app->p_ResetParticles(250);
  bb_random_Seed = 99;
  Lcg gen(99);
  const float angle = 360.0f * gen.Next(), speed = 3.0f + 5.0f * gen.Next();
  const float rot = 360.0f * gen.Next(), spin = 16.0f * gen.Next() - 8.0f;
  const float life = 0.7f + 0.6f * gen.Next(), pic = std::floor(255.99f * gen.Next());
  app->p_ThrowParticle(5, 6, 4, 7, -3717.0f, -3717.0f);
  EXPECT_FLOAT_EQ(Part(app, 250, 5), rot);
  EXPECT_FLOAT_EQ(Part(app, 250, 6), spin);
  EXPECT_FLOAT_EQ(Part(app, 250, 7), life);
  EXPECT_EQ(Part(app, 250, 8), 7.0f);
  EXPECT_EQ(Part(app, 250, 9), pic);
  EXPECT_NEAR(std::hypot(Part(app, 250, 3), Part(app, 250, 4)), speed, 1e-5);
  EXPECT_NEAR(Part(app, 250, 3), std::sin(angle * LK_DEG_TO_RAD) * speed, 1e-5);

  // A full pool takes nothing and draws nothing more.
  for (int r = 0; r <= 250; ++r) Part(app, r, 0) = 1.0f;
  EXPECT_EQ(app->p_FreeParticle(), -1);
  const int seed = bb_random_Seed;
  app->p_ThrowParticle(5, 6, 4, 7, 10.0f, 1.0f);
  EXPECT_EQ(bb_random_Seed, seed);
  Lcg two(seed);
  two.Next();
  two.Next();
  app->p_ThrowParticle(5, 6, 4, 7, -3717.0f, -3717.0f);
  EXPECT_EQ(unsigned(bb_random_Seed), two.seed);
}

TEST_F(Particles, SparksSlowFadeAndDie) {
  app->p_ResetParticles(250);
  app->p_ThrowParticle(100, 100, 4, 3, 90, 3);
  Part(app, 250, 7) = 1.31f;
  Part(app, 250, 6) = 2.0f;
  Part(app, 250, 5) = 10.0f;
  // A slow-burning kind beside it, which neither slows nor fades as fast.
  app->p_ThrowParticle(100, 100, 2, 9, 90, 3);
  Part(app, 249, 7) = 0.505f;
  int lived = 0;
  for (int u = 1; u <= 100 && Part(app, 250, 0) != 0.0f; ++u) {
    const float lifeBefore = Part(app, 250, 7), vx = Part(app, 250, 3);
    app->m_DrawCount = 0;
    app->p_DoParticles(1.5f);
    ++lived;
    // Record 249 is drawn first: lower records come first.
    ASSERT_GE(Commands(), 1);
    const int spark = Commands() - 1;
    EXPECT_EQ(Cmd(spark, 0), 96.0f);
    EXPECT_NEAR(Cmd(spark, 7), std::fmin(lifeBefore, 1.0f), 1e-6);
    EXPECT_NEAR(Cmd(spark, 3), -(10.0f + 2.0f * float(u)), 1e-3);
    EXPECT_NEAR(Part(app, 250, 3), vx * 0.96f, 1e-6);
  }
  // Life 1.31 at 0.02 per update: 66 updates, the last one drawn at 0.01.
  EXPECT_EQ(lived, 66);
  EXPECT_EQ(Part(app, 250, 0), 0.0f);
  EXPECT_EQ(app->m_SizeX, 1.0f);  // the draw state is left reset
  EXPECT_EQ(app->m_Rot, 0.0f);
  // 0.505 at 0.01 per update lasts 51 updates; its speed never changed.
  EXPECT_NEAR(Part(app, 249, 7), -0.005f, 1e-4);
  EXPECT_EQ(Part(app, 249, 0), 0.0f);
  EXPECT_NEAR(Part(app, 249, 3), 3.0f, 1e-6);
}

TEST_F(Particles, ThePoolSizeIsKeptWithinItsLimits) {
  for (int r = 0; r < 510; ++r) Part(app, r, 0) = 4.0f;
  app->p_ResetParticles(0);
  EXPECT_EQ(app->m_ParticleMax, 250);
  EXPECT_EQ(Part(app, 250, 0), 0.0f);
  EXPECT_EQ(Part(app, 251, 0), 4.0f);
  app->p_ResetParticles(500);
  EXPECT_EQ(app->m_ParticleMax, 250);
  app->p_ResetParticles(100);
  EXPECT_EQ(app->m_ParticleMax, 100);
  EXPECT_EQ(app->p_FreeParticle(), 1000);
  // Records past the pool size are neither moved nor drawn.
  Part(app, 101, 3) = 5.0f;
  app->m_DrawCount = 0;
  app->p_DoParticles(1.0f);
  EXPECT_EQ(Commands(), 0);
  EXPECT_EQ(Part(app, 101, 1), 0.0f);
}
