// The shared random generator and the math helpers.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "app/mathfuncs.h"
#include "app/random.h"

namespace {

TEST(RandomTest, FollowsTheLinearCongruentialSequenceFromSeed1234) {
  bb_random_Init();
  EXPECT_EQ(bb_random_Seed, 1234);
  // 1234 * 1664525 + 1013904223 = 3067928073, whose top 24 bits are 11984094.
  EXPECT_EQ(bb_random_Rnd(), 11984094.0f / 16777216.0f);
  EXPECT_EQ(static_cast<uint32_t>(bb_random_Seed), 3067928073u);

  // The seed wraps at 32 bits; draws stay in [0, 1).
  for (int i = 0; i < 10000; ++i) {
    float got = bb_random_Rnd();
    ASSERT_TRUE(got >= 0.0f && got < 1.0f) << "draw " << i;
  }
}

TEST(RandomTest, ScaledDrawsUseOneStepEachAndReplayFromAWrittenSeed) {
  bb_random_Seed = -5;
  float plain[3];
  for (float& value : plain) value = bb_random_Rnd();
  bb_random_Seed = -5;
  EXPECT_EQ(bb_random_Rnd3(10.0f), plain[0] * 10.0f);
  EXPECT_EQ(bb_random_Rnd2(-4.0f, 6.0f), plain[1] * 10.0f + -4.0f);
  EXPECT_EQ(bb_random_Rnd2(3.0f, 3.0f), 3.0f);
  bb_random_Seed = -5;
  EXPECT_EQ(bb_random_Rnd(), plain[0]);
}

TEST(MathTest, AbsAndMaxHandleTheEdges) {
  EXPECT_EQ(bb_math_Abs(-7), 7);
  EXPECT_EQ(bb_math_Abs(INT_MAX), INT_MAX);
  EXPECT_EQ(bb_math_Abs(INT_MIN), INT_MIN);
  EXPECT_EQ(bb_math_Abs2(-2.5f), 2.5f);
  EXPECT_EQ(bb_math_Max(-3, -9), -3);
  EXPECT_EQ(bb_math_Max(INT_MIN, INT_MAX), INT_MAX);
  EXPECT_EQ(bb_math_Max2(0.5f, 1.5f), 1.5f);
  // Only a first argument that is greater wins; NaN never is.
  EXPECT_EQ(bb_math_Max2(NAN, 1.0f), 1.0f);
  EXPECT_TRUE(std::isnan(bb_math_Max2(1.0f, NAN)));
}

}  // namespace
