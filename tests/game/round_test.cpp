// The round as a player sees it: each mode's start, joining, steering a
// ship, banking, firing, being destroyed and coming back, the battle
// countdown and end, and the sparks a destruction throws.
#include <vector>

#include "round_fixture.h"

using namespace lk_round;
using Round = RoundTest;

namespace {

const int kRight = 39, kUp = 38, kZ = 90;

int LiveParticles(c_MyApp* app) {
  int n = 0;
  for (int r = 0; r < 510; ++r) n += app->m_Particles[10 * r] != 0.0f;
  return n;
}

}  // namespace

TEST_F(Round, EveryModeStartsItsOwnWay) {
  struct Case {
    int mode, players;
    float countdown, clock, lives;
    int bag;
  } cases[] = {{1, 1, 0, 7259, 0, 9}, {2, 1, 0, 0, 3, 9},   {3, 1, 0, 0, 0, 9},
               {4, 2, 300, 0, 0, 10}, {5, 3, 300, 0, 0, 9}, {6, 4, 300, 0, 0, 12}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode);
    // Leftovers of an earlier round must not survive the start.
    app->m_RoundOver = 1;
    app->m_Winner = 12;
    for (int r = 0; r < 510; ++r) O(r, kKind) = 31.0f;
    P(1, kScore) = 7.0f;
    Start(c.mode);
    EXPECT_EQ(app->m_RoundOver + app->m_Winner, 0);
    EXPECT_EQ(app->m_LastTune, String(c.mode <= 3 ? "Calligraphyb" : "Calligraphyc"));
    EXPECT_EQ(P(0, kCountdown), c.countdown);
    EXPECT_EQ(P(0, kClock), c.clock);
    EXPECT_EQ(P(0, kLives), c.lives);
    EXPECT_EQ(app->m_GemLast + 1, c.bag);
    EXPECT_EQ(P(1, kScore), 0.0f);
    const float bases[5][2] = {{0, 0}, {96, 64}, {W() - 96, H() - 64}, {96, H() - 64}, {W() - 96, 64}};
    for (int p = 1; p <= 4; ++p) {
      EXPECT_EQ(P(p, kPresent), p <= c.players ? 1.0f : 0.0f) << "player " << p;
      EXPECT_EQ(P(p, kController), -4.0f);
      EXPECT_EQ(P(p, kX), bases[p][0]);
      EXPECT_EQ(P(p, kY), bases[p][1]);
    }
    EXPECT_EQ(CountKind(1.5f, 2.5f), 7);  // seven large rocks and nothing else
    EXPECT_EQ(CountKind(0.0f, 1000.0f), 7);
    EXPECT_EQ(O(6, kCrossings), c.mode <= 3 ? 2.0f : 1.0f);
  }
}

TEST_F(Round, JoiningTakesTheLowestComputerShipOncePerController) {
  Start(6);
  KeyDown(kZ);
  app->p_Game();
  app->p_Game();  // a controller flying a ship cannot take a second one
  KeyUp(kZ);
  KeyDown(256 + 32 * 2 + 1);  // controller 3's B button
  app->p_Game();
  const float want[5] = {0, -1, 2, -4, -4};
  for (int p = 1; p <= 4; ++p) EXPECT_EQ(P(p, kController), want[p]) << p;
}

TEST_F(Round, ShipsTurnNineDegreesAtMostAndStayInside) {
  Start(1);
  ClearField();
  Human(1, 300.0f, 200.0f);
  KeyDown(kRight);
  for (int k = 1; k <= 12; ++k) {
    app->p_Game();
    EXPECT_EQ(P(1, kX), 300.0f + float(k));
    EXPECT_EQ(P(1, kHeading), k < 10 ? -9.0f * float(k) : P(1, kWanted));  // the last degrees snap
  }
  EXPECT_NEAR(P(1, kWanted), -90.0f, 1e-4);
  // Pressed into a corner the ship stays 8 units inside both edges.
  Human(1, W() - 8.5f, 8.5f);
  KeyDown(kUp);
  for (int k = 0; k < 3; ++k) app->p_Game();
  EXPECT_EQ(P(1, kX), W() - 8.0f);
  EXPECT_EQ(P(1, kY), 8.0f);
}

TEST_F(Round, CarriedGemsRideTheTrailAndBankOnePerFiveUpdates) {
  Start(1);
  ClearField();
  Human(1, 96.0f, 64.0f);
  for (float gems : {0.0f, 1.0f, 3.0f}) {  // the base itself is drawn three times
    P(1, kGems) = gems;
    app->m_Frame = 0;
    app->p_Game();
    EXPECT_EQ(ImagesDrawn(1, 1.0f), 3 + int(gems)) << gems;
  }
  std::vector<int> banked;
  for (int u = 1; u <= 20; ++u) {
    const float before = P(1, kScore);
    app->p_Game();
    if (P(1, kScore) > before) banked.push_back(u);
  }
  EXPECT_EQ(banked, (std::vector<int>{1, 6, 11}));
  EXPECT_EQ(P(1, kGems), 0.0f);
  EXPECT_EQ(app->m_LastScore, 3);
  // Fourteen units from home is too far.
  Human(1, 96.0f + 14.0f, 64.0f);
  P(1, kGems) = 1.0f;
  for (int u = 0; u < 10; ++u) app->p_Game();
  EXPECT_EQ(P(1, kScore), 3.0f);
}

TEST_F(Round, BasesKeepToTheirCornersWhenTheScreenChangesShape) {
  Start(6);
  ClearField();
  P(0, kCountdown) = 0.0f;
  Human(2, 300.0f, 200.0f);
  Resize(1280, 800);
  app->p_FitScreen(1280, 800);
  P(3, kRespawn) = 100.0f;
  app->p_Game();
  EXPECT_EQ(P(2, kBaseY), H() - 64.0f);
  EXPECT_EQ(P(2, kY), 200.0f);        // a ship in flight stays put
  EXPECT_EQ(P(3, kY), P(3, kBaseY));  // a waiting one goes with its base
}

TEST_F(Round, HeldFireShootsEverySevenUpdatesAndTripleShotFansOut) {
  Start(1);
  ClearField();
  Human(1, 300.0f, 200.0f);
  KeyDown(kZ);
  std::vector<int> fired;
  for (int u = 1; u <= 15; ++u) {
    const int before = CountKind(30.0f, 40.0f);
    app->p_Game();
    if (CountKind(30.0f, 40.0f) > before) fired.push_back(u);
  }
  EXPECT_EQ(fired, (std::vector<int>{1, 8, 15}));
  EXPECT_NEAR(O(0, kVelY), -5.0f, 1e-5);
  // Letting go and pressing again fires at once.
  KeyUp(kZ);
  app->p_Game();
  KeyDown(kZ);
  app->p_Game();
  EXPECT_EQ(CountKind(30.0f, 40.0f), 4);
  // The triple shot fans out ten degrees either side.
  ClearField();
  KeyUp(kZ);
  app->p_Game();
  P(1, kPower) = float(kPowerTriple);
  P(1, kPowerTime) = 180.0f;
  P(1, kHeading) = 30.0f;
  KeyDown(kZ);
  app->p_Game();
  ASSERT_EQ(CountKind(30.0f, 40.0f), 3);
  EXPECT_EQ(O(0, kAngle) + O(1, kAngle) + O(2, kAngle), 90.0f);
  EXPECT_EQ(O(1, kAngle), 20.0f);
  // A full pool makes no shot, and the next free record gets one at once.
  for (int r = 0; r <= 400; ++r) O(r, kKind) = 99.0f;  // a kind nothing updates
  for (int u = 0; u < 8; ++u) app->p_Game();
  O(250, kKind) = 0.0f;
  app->p_Game();
  EXPECT_EQ(O(250, kKind), 31.0f);
}

TEST_F(Round, AHitShipLosesItsGemsAndReturnsShieldedToItsBaseAfterThreeSeconds) {
  Start(1);
  ClearField();
  Human(1, 200.0f, 200.0f);
  P(1, kGems) = 2.0f;
  Place(10, 1.0f, 200.0f, 200.0f);  // a small rock on the ship
  O(10, kPicOrLife) = 3.0f;         // which does not look like one
  app->p_Game();
  EXPECT_EQ(LiveParticles(app), 20);  // the wreck throws sparks
  KeyDown(kRight);
  KeyDown(kZ);
  for (int u = 1; u <= 178; ++u) {
    app->p_Game();
    ASSERT_EQ(P(1, kX), 96.0f) << u;
    ASSERT_EQ(P(1, kGems), 0.0f);
    ASSERT_EQ(ImagesDrawn(1, 0.0f), 0) << u;  // not drawn, not shooting
    ASSERT_EQ(CountKind(30.0f, 40.0f), 0);
  }
  app->p_Game();
  EXPECT_EQ(ImagesDrawn(1, 0.0f), 1);
  EXPECT_EQ(P(1, kPower), float(kPowerShield));
  // The shield lasts 180 updates in play, counting the one it returns in.
  KeyUp(kRight);
  for (int u = 0; u < 179; ++u) app->p_Game();
  EXPECT_EQ(P(1, kPower), float(kPowerShield));
  app->p_Game();
  EXPECT_EQ(P(1, kPower), float(kPowerNone));
}

TEST_F(Round, BattleCountdownFreezesShieldsAndAnnounces) {
  Start(4);
  ClearField();
  Human(1, 300.0f, 200.0f);
  KeyDown(kRight);
  KeyDown(kZ);
  for (int u = 1; u <= 300; ++u) {
    app->p_Game();
    const int cd = 300 - u;
    SCOPED_TRACE(testing::Message() << "countdown " << cd);
    ASSERT_EQ(P(0, kCountdown), float(cd));
    ASSERT_EQ(P(1, kX), 300.0f);
    ASSERT_EQ(CountKind(30.0f, 40.0f), 0);
    ASSERT_EQ(P(2, kPower), float(kPowerShield));
    ASSERT_EQ(Drew("Tap to Join"), cd > 0);
    ASSERT_EQ(Drew("Prepare for Battle"), cd > 240);
    ASSERT_EQ(Drew("3"), cd > 180 && cd < 240);
    ASSERT_EQ(Drew("1"), cd > 60 && cd < 120);
    ASSERT_EQ(Drew("FIGHT"), cd > 0 && cd < 60);
  }
  // Ships move and shoot once it is over.
  app->p_Game();
  EXPECT_EQ(P(1, kX), 301.0f);
  EXPECT_EQ(CountKind(30.0f, 40.0f), 1);
}

TEST_F(Round, BattleEndsWithTheTenthPointAndKeepsItsWinner) {
  Start(5);
  ClearField();
  P(0, kCountdown) = 0.0f;
  for (int p = 1; p <= 3; ++p) {
    Human(p, P(p, kBaseX), P(p, kBaseY));
    P(p, kController) = float(p - 1);  // on controllers, so no keyboard join happens
    P(p, kScore) = 9.0f;
    P(p, kGems) = 1.0f;
  }
  app->m_Frame = 2;  // player 2's banking phase comes first
  app->p_Game();
  EXPECT_EQ(app->m_RoundOver, 1);
  EXPECT_EQ(app->m_Winner, 12);
  // A rival sitting at home with a gem banks nothing once the round is over.
  for (int u = 0; u < 10; ++u) app->p_Game();
  EXPECT_EQ(app->m_Winner, 12);
  EXPECT_EQ(P(1, kScore) + P(2, kScore) + P(3, kScore), 28.0f);
}

TEST_F(Round, SparksTakeAnyFreeRecordSlowFadeAndDie) {
  app->p_ResetParticles(100);
  for (int r = 1; r <= 100; ++r) app->m_Particles[10 * r] = 2.0f;
  app->m_Particles[1010] = 4.0f;  // past the pool: neither moved nor drawn
  app->p_ThrowParticle(100, 100, 4, 3, 90, 3);
  ASSERT_EQ(app->m_Particles[0], 4.0f);  // the last free record is record 0
  EXPECT_EQ(app->p_FreeParticle(), -1);
  app->p_ResetParticles(250);
  app->p_ThrowParticle(100, 100, 4, 3, 90, 3);  // a spark, record 250
  app->m_Particles[2507] = 1.31f;
  app->p_ThrowParticle(100, 100, 2, 9, 90, 3);  // slow-burning, record 249
  app->m_Particles[2497] = 0.505f;
  int spark = 0, slow = 0;
  for (int u = 1; u <= 100; ++u) {
    app->m_DrawCount = 0;
    app->p_DoParticles(1.0f);
    spark += app->m_Particles[2500] != 0.0f;
    slow += app->m_Particles[2490] != 0.0f;
    if (u == 1) {
      EXPECT_EQ(Commands(), 2);
      EXPECT_NEAR(app->m_Particles[2503], 3.0f * 0.96f, 1e-5);  // sparks slow down
      EXPECT_NEAR(app->m_Particles[2493], 3.0f, 1e-5);
    }
  }
  // Life 1.31 at 0.02 an update is drawn 66 times; 0.505 at 0.01, 51.
  EXPECT_EQ(spark, 65);
  EXPECT_EQ(slow, 50);
}
