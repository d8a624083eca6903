// The round: set-up per mode, joining, moving and turning ships, banking,
// firing, respawning, the battle countdown and a battle's end.
#include "round_fixture.h"

using namespace lk_round;
using Round = RoundTest;

namespace {

const int kRight = 39, kUp = 38, kZ = 90;

}  // namespace

TEST_F(Round, EveryModeStartsItsOwnWay) {
  struct Case {
    int mode;
    bool present[4];
    float countdown, clock, lives;
    int bag;
    const char* tune;
  } cases[] = {
      {1, {true, false, false, false}, 0, 7259, 0, 9, "Calligraphyb"},
      {2, {true, false, false, false}, 0, 0, 3, 9, "Calligraphyb"},
      {3, {true, false, false, false}, 0, 0, 0, 9, "Calligraphyb"},
      {4, {true, true, false, false}, 300, 0, 0, 10, "Calligraphyc"},
      {5, {true, true, true, false}, 300, 0, 0, 9, "Calligraphyc"},
      {6, {true, true, true, true}, 300, 0, 0, 12, "Calligraphyc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode);
    // Leftovers of an earlier round must not survive the start.
    app->m_RoundOver = 1;
    app->m_Winner = 12;
    app->m_OverTime = 50;
    for (int r = 0; r < 510; ++r) O(r, 0) = 31.0f;
    P(1, kScore) = 7.0f;
    Start(c.mode);
    EXPECT_EQ(app->m_Screen, 10);
    EXPECT_EQ(app->m_RoundOver, 0);
    EXPECT_EQ(app->m_Winner, 0);
    EXPECT_EQ(app->m_OverTime, 0);
    EXPECT_EQ(app->m_LastTune, String(c.tune));
    EXPECT_EQ(P(0, kCountdown), c.countdown);
    EXPECT_EQ(P(0, kClock), c.clock);
    EXPECT_EQ(P(0, kLives), c.lives);
    EXPECT_EQ(app->m_GemLast + 1, c.bag);
    EXPECT_EQ(P(1, kScore), 0.0f);
    const float bases[5][2] = {{0, 0}, {96, 64}, {W() - 96, H() - 64}, {96, H() - 64}, {W() - 96, 64}};
    const float facing[5] = {0, 225, 45, -45, 135};
    for (int p = 1; p <= 4; ++p) {
      EXPECT_EQ(P(p, kPresent), c.present[p - 1] ? 1.0f : 0.0f) << "player " << p;
      EXPECT_EQ(P(p, kController), -4.0f);
      EXPECT_EQ(P(p, kX), bases[p][0]);
      EXPECT_EQ(P(p, kY), bases[p][1]);
      EXPECT_EQ(P(p, kWanted), facing[p]);
    }
    EXPECT_EQ(CountKind(1.5f, 2.5f), 7);
    EXPECT_EQ(CountKind(0.0f, 1000.0f), 7);
    for (int r = 0; r < 7; ++r) EXPECT_EQ(O(r, kCrossings), c.mode <= 3 ? 2.0f : 1.0f);
  }
}

TEST_F(Round, JoiningTakesTheLowestComputerShipOncePerController) {
  Start(6);
  KeyDown(kZ);
  app->p_Game();
  app->p_Game();  // a controller flying a ship cannot take a second one
  EXPECT_EQ(P(1, kController), -1.0f);
  EXPECT_EQ(P(2, kController), -4.0f);
  KeyUp(kZ);
  KeyDown(256 + 32 * 2 + 1);  // controller 3's B button
  app->p_Game();
  EXPECT_EQ(P(2, kController), 2.0f);
  EXPECT_EQ(P(3, kController), -4.0f);

  // In a one-player mode a second controller only converts an absent record.
  Start(1);
  KeyUp(256 + 32 * 2 + 1);
  KeyDown(kZ);
  app->p_Game();
  KeyUp(kZ);
  KeyDown(256);  // controller 1's A button
  app->p_Game();
  EXPECT_EQ(P(1, kController), -1.0f);
  EXPECT_EQ(P(2, kController), 0.0f);
  EXPECT_EQ(P(2, kPresent), 0.0f);
}

TEST_F(Round, ShipsTurnNineDegreesAtMostAndStayInside) {
  Start(1);
  ClearField();
  Human(1, 300.0f, 200.0f);
  KeyDown(kRight);
  for (int k = 1; k <= 12; ++k) {
    const float before = P(1, kHeading);
    app->p_Game();
    EXPECT_EQ(P(1, kX), 300.0f + float(k));
    EXPECT_EQ(P(1, kY), 200.0f);
    EXPECT_LE(std::fabs(P(1, kHeading) - before), 9.0f);
    if (k < 10) {
      EXPECT_EQ(P(1, kHeading), -9.0f * float(k));
    }
  }
  EXPECT_NEAR(P(1, kWanted), -90.0f, 1e-4);
  EXPECT_EQ(P(1, kHeading), P(1, kWanted));  // the last few degrees snap

  // Pressed into a corner the ship stays 8 units inside both edges.
  Human(1, W() - 8.5f, 8.5f);
  KeyDown(kUp);
  for (int k = 0; k < 3; ++k) app->p_Game();
  EXPECT_EQ(P(1, kX), W() - 8.0f);
  EXPECT_EQ(P(1, kY), 8.0f);
  EXPECT_NEAR(P(1, kWanted), -45.0f, 1e-4);
}

TEST_F(Round, BankingTakesOneGemPerFiveUpdates) {
  Start(1);
  ClearField();
  Human(1, 96.0f, 64.0f);
  P(1, kGems) = 3.0f;
  std::vector<int> banked;
  for (int u = 1; u <= 20 && P(1, kScore) < 3.0f; ++u) {
    const int frame = app->m_Frame;
    const float before = P(1, kScore);
    app->p_Game();
    if (P(1, kScore) > before) {
      banked.push_back(u);
      EXPECT_EQ(frame, 1);  // player 1 banks in its own phase only
    }
  }
  ASSERT_EQ(banked.size(), 3u);
  EXPECT_GE(banked[2], 11);
  EXPECT_EQ(banked[1] - banked[0], 5);
  EXPECT_EQ(banked[2] - banked[1], 5);
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
  for (int deviceH : {800, 960}) {  // 640 by 480 becomes 16:10, then 4:3 again
    Resize(1280, deviceH);
    app->p_FitScreen(1280, deviceH);
    P(3, kRespawn) = 100.0f;
    app->p_Game();
    SCOPED_TRACE(testing::Message() << "screen height " << H());
    for (int p = 1; p <= 4; ++p)
      EXPECT_TRUE(P(p, kBaseX) > 0.0f && P(p, kBaseX) < W() && P(p, kBaseY) > 0.0f && P(p, kBaseY) < H());
    EXPECT_EQ(P(2, kY), 200.0f);           // a ship in flight stays put
    EXPECT_EQ(P(3, kY), P(3, kBaseY));     // a waiting one goes with its base
    Human(2, P(2, kBaseX), P(2, kBaseY));  // and the bottom corner still banks
    P(2, kGems) = 1.0f;
    const float score = P(2, kScore);
    for (int u = 0; u < 5; ++u) app->p_Game();
    EXPECT_EQ(P(2, kScore), score + 1.0f);
    P(2, kY) = 200.0f;
  }
}

TEST_F(Round, HeldFireShootsEverySevenUpdates) {
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
  EXPECT_EQ(O(0, kKind), 31.0f);
  EXPECT_NEAR(O(0, kVelY), -5.0f, 1e-5);
  EXPECT_EQ(O(0, kPicOrLife), 44.0f - 14.0f);

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
  P(1, kPower) = 2.0f;
  P(1, kPowerTime) = 180.0f;
  P(1, kHeading) = 30.0f;
  KeyDown(kZ);
  app->p_Game();
  ASSERT_EQ(CountKind(30.0f, 40.0f), 3);
  EXPECT_EQ(O(0, kAngle), 30.0f);
  EXPECT_EQ(O(1, kAngle), 20.0f);
  EXPECT_EQ(O(2, kAngle), 40.0f);
}

TEST_F(Round, AFullPoolDoesNotRestartTheCooldown) {
  Start(1);
  ClearField();
  Human(1, 300.0f, 200.0f);
  for (int r = 0; r <= 400; ++r) O(r, kKind) = 99.0f;  // occupied by a kind nothing updates
  KeyDown(kZ);
  for (int u = 0; u < 3; ++u) app->p_Game();
  EXPECT_LT(P(1, kCooldown), 0.0f);
  O(250, kKind) = 0.0f;
  app->p_Game();
  EXPECT_EQ(O(250, kKind), 31.0f);
  EXPECT_EQ(P(1, kCooldown), 6.0f);
}

TEST_F(Round, DestroyedShipWaitsAtItsBaseAndReturnsShielded) {
  Start(1);
  ClearField();
  Human(1, 200.0f, 200.0f);
  P(1, kGems) = 2.0f;
  P(1, kRespawn) = 180.0f;
  KeyDown(kRight);
  KeyDown(kZ);
  app->p_Game();
  EXPECT_EQ(P(1, kX), 96.0f);
  EXPECT_EQ(P(1, kY), 64.0f);
  EXPECT_EQ(P(1, kGems), 0.0f);
  EXPECT_EQ(P(1, kPower), 1.0f);
  EXPECT_EQ(ImagesDrawn(1, 0.0f), 0);  // not drawn while waiting
  EXPECT_EQ(CountKind(30.0f, 40.0f), 0);

  P(1, kRespawn) = 3.0f;
  KeyUp(kZ);
  app->p_Game();
  app->p_Game();
  EXPECT_EQ(P(1, kRespawn), 0.0f);
  EXPECT_EQ(P(1, kX), 96.0f);
  app->p_Game();
  EXPECT_EQ(P(1, kX), 97.0f);
  EXPECT_EQ(ImagesDrawn(1, 0.0f), 1);
  // The shield lasts 180 updates in play, counting the one it returns in.
  for (int u = 0; u < 178; ++u) app->p_Game();
  EXPECT_EQ(P(1, kPower), 1.0f);
  app->p_Game();
  EXPECT_EQ(P(1, kPower), 0.0f);
}

TEST_F(Round, BattleCountdownFreezesShieldsAndAnnounces) {
  Start(4);
  ClearField();
  Human(1, 300.0f, 200.0f);
  KeyDown(kRight);
  KeyDown(kZ);
  for (int u = 1; u <= 300; ++u) {
    app->p_Game();
    const int cd = int(P(0, kCountdown));
    SCOPED_TRACE(testing::Message() << "countdown " << cd);
    ASSERT_EQ(cd, 300 - u);
    EXPECT_EQ(P(1, kX), 300.0f);
    EXPECT_EQ(CountKind(30.0f, 40.0f), 0);
    EXPECT_EQ(P(3, kPower), 1.0f);
    EXPECT_EQ(Drew("Tap to Join"), cd > 0);
    EXPECT_EQ(Drew("Prepare for Battle"), cd > 240);
    const bool three = cd > 180 && cd < 240, two = cd > 120 && cd < 180;
    const bool one = cd > 60 && cd < 120, fight = cd > 0 && cd < 60;
    EXPECT_EQ(TextScale("3") == 4.0f, three);
    EXPECT_EQ(TextScale("2") == 4.0f, two);
    EXPECT_EQ(TextScale("1") == 4.0f, one);
    EXPECT_EQ(TextScale("FIGHT") == 4.0f, fight);
  }
  // Ships move and shoot once it is over; the shield lasts 60 updates more.
  app->p_Game();
  EXPECT_EQ(P(1, kX), 301.0f);
  EXPECT_EQ(CountKind(30.0f, 40.0f), 1);
  EXPECT_EQ(P(1, kPower), 1.0f);
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
  EXPECT_EQ(P(2, kScore), 10.0f);
  // A rival sitting at home with a gem banks nothing once the round is over.
  for (int u = 0; u < 10; ++u) app->p_Game();
  EXPECT_EQ(app->m_Winner, 12);
  EXPECT_EQ(P(1, kScore), 9.0f);
  EXPECT_EQ(P(3, kScore), 9.0f);
}
