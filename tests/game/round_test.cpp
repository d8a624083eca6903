// The round as a player sees it: each mode's start, joining, steering a
// ship, banking, firing, being destroyed and coming back, the battle
// countdown, the sparks a destruction throws, and the place and highscore
// box of a finished score.
#include <tuple>
#include <vector>

#include "round_fixture.h"

using namespace lk_round;
using Round = RoundTest;
using Overlay = RoundTest;

const int kRight = 39, kUp = 38, kZ = 90;

TEST_F(Round, EveryModeStartsItsOwnWay) {
  // Mode, players, countdown + clock + lives, gems in the bag.
  const int cases[][4] = {{1, 1, 7259, 9}, {2, 1, 3, 9}, {3, 1, 0, 9}, {4, 2, 300, 10}, {5, 3, 300, 9}, {6, 4, 300, 12}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c[0]);
    app->m_RoundOver = app->m_Winner = 12;  // an earlier round's leftovers
    std::fill_n(app->m_Objects.Data(), 5100, 31.0f);
    P(1, kScore) = 7.0f;
    Start(c[0]);
    EXPECT_EQ(app->m_RoundOver + app->m_Winner + P(1, kScore), 0);
    EXPECT_EQ(app->m_LastTune, String(c[0] <= 3 ? "Calligraphyb" : "Calligraphyc"));
    EXPECT_EQ(P(0, kCountdown) + P(0, kClock) + P(0, kLives), float(c[2]));
    EXPECT_EQ(app->m_GemLast + 1, c[3]);
    const float corner[5][2] = {{0, 0}, {96, 64}, {W() - 96, H() - 64}, {96, H() - 64}, {W() - 96, 64}};
    for (int p = 1; p <= 4; ++p)
      EXPECT_TRUE(P(p, kPresent) == (p <= c[1]) && P(p, kController) == -4.0f && P(p, kX) == corner[p][0] &&
                  P(p, kY) == corner[p][1]) << p;
    EXPECT_EQ(CountKind(1.5f, 2.5f) + CountKind(0.0f, 1000.0f), 14);  // seven large rocks only
    EXPECT_EQ(O(6, kCrossings), c[0] <= 3 ? 2.0f : 1.0f);
    app->m_DrawCount = 0, app->p_ScoreDisplay();
    EXPECT_EQ(ImagesDrawn(97, 11.0f), c[0] == 2 ? 3 : 0);  // the lives left
  }
}

TEST_F(Round, JoiningTakesTheLowestComputerShipOncePerController) {
  Start(6);
  for (int key : {kZ, kZ, 256 + 32 * 2 + 1})  // a controller flying a ship cannot take a second one
    KeyDown(key), app->p_Game(), KeyUp(key);
  EXPECT_TRUE(P(1, kController) == -1 && P(2, kController) == 2 && P(3, kController) == -4 && P(4, kController) == -4);
}

TEST_F(Round, AShipTurnsNineDegreesAtATimeFiresEverySevenAndStaysInside) {
  Start(1, true), Human(1, 300.0f, 200.0f);
  KeyDown(kRight);
  std::vector<int> fired;
  for (int u = 1; u <= 18; ++u) {
    const int before = CountKind(30.0f, 40.0f);
    u == 16 ? KeyUp(kZ) : KeyDown(kZ);  // letting go and pressing again fires at once
    app->p_Game();
    if (CountKind(30.0f, 40.0f) > before) fired.push_back(u);
    ASSERT_EQ(P(1, kX), 300.0f + float(u));
    ASSERT_NEAR(P(1, kHeading), u < 10 ? -9.0f * float(u) : -90.0f, 1e-4) << u;  // the last degrees snap
  }
  EXPECT_EQ(fired, (std::vector<int>{1, 8, 15, 17}));
  EXPECT_NEAR(std::hypot(O(0, kVelX), O(0, kVelY)), 5.0f, 1e-5);
  ClearField();
  P(1, kPower) = float(kPowerTriple), P(1, kPowerTime) = 180.0f, P(1, kHeading) = 30.0f;  // fans out 10 degrees
  KeyUp(kRight), KeyUp(kZ), app->p_Game();
  KeyDown(kZ);
  app->p_Game();
  EXPECT_TRUE(CountKind(30.0f, 40.0f) == 3 && O(0, kAngle) == 30.0f && O(1, kAngle) == 20.0f && O(2, kAngle) == 40.0f);
  Human(1, W() - 8.5f, 8.5f);  // pressed into a corner: 8 units inside both edges
  KeyDown(kRight), KeyDown(kUp);
  for (int u = 0; u < 3; ++u) app->p_Game();
  EXPECT_TRUE(P(1, kX) == W() - 8.0f && P(1, kY) == 8.0f);
}

TEST_F(Round, CarriedGemsRideTheTrailAndBankOnePerFiveUpdates) {
  Start(1, true), Human(1, 96.0f, 64.0f);
  for (float gems : {0.0f, 1.0f, 3.0f}) {  // the base itself is drawn three times
    P(1, kGems) = gems;
    app->m_Frame = 0;  // not player 1's banking phase
    app->p_Game();
    EXPECT_EQ(ImagesDrawn(1, 1.0f), 3 + int(gems)) << gems;
  }
  std::vector<int> banked;
  for (int u = 1; u <= 20; ++u)
    if (app->p_Game(), P(1, kScore) > float(banked.size())) banked.push_back(u);
  EXPECT_EQ(banked, (std::vector<int>{1, 6, 11}));
  EXPECT_EQ(app->m_LastScore + P(1, kGems), 3);
  Human(1, 96.0f + 14.0f, 64.0f), P(1, kGems) = 1.0f;  // fourteen units from home is too far
  for (int u = 0; u < 10; ++u) app->p_Game();
  EXPECT_EQ(P(1, kScore), 3.0f);
}

TEST_F(Round, BasesKeepToTheirCornersWhenTheScreenChangesShape) {
  Start(6, true), Human(2, 300.0f, 200.0f);
  P(3, kRespawn) = 100.0f;
  Resize(1280, 800);
  app->p_FitScreen(1280, 800);
  app->p_Game();
  // A ship in flight stays put; a waiting one goes with its base.
  EXPECT_TRUE(P(2, kBaseY) == H() - 64.0f && P(2, kY) == 200.0f && P(3, kY) == P(3, kBaseY));
}

TEST_F(Round, AHitShipLosesItsGemsAndReturnsShieldedToItsBaseAfterThreeSeconds) {
  Start(1, true);
  Human(1, 200.0f, 200.0f), P(1, kGems) = 2.0f;
  Place(10, 1.0f, 200.0f, 200.0f);  // a small rock on the ship
  O(10, kPicOrLife) = 3.0f;         // not drawn like a ship
  app->p_Game();
  EXPECT_EQ(app->p_FreeParticle(), 10 * (250 - 20));  // the wreck throws twenty sparks
  KeyDown(kRight), KeyDown(kZ);
  for (int u = 1; u <= 359; ++u) {
    app->p_Game();
    const bool back = u >= 179;  // hidden, at home and harmless until then
    ASSERT_EQ(ImagesDrawn(1, 0.0f), back ? 1 : 0) << u;
    ASSERT_TRUE(back || (P(1, kX) == 96.0f && P(1, kGems) == 0.0f && CountKind(30.0f, 40.0f) == 0)) << u;
    // The shield lasts 180 updates in play, counting the one it returns in.
    ASSERT_EQ(P(1, kPower), float(u < 359 ? kPowerShield : kPowerNone)) << u;
  }
}

TEST_F(Round, BattleCountdownFreezesShieldsAndAnnounces) {
  Start(4, true), Human(1, 300.0f, 200.0f);
  KeyDown(kRight), KeyDown(kZ);
  for (int cd = 299; cd >= -1; --cd) {
    app->p_Game();
    const bool over = cd < 0;  // then ships move and shoot
    ASSERT_EQ(P(0, kCountdown), std::max(cd, 0)) << "countdown " << cd;
    ASSERT_TRUE(P(1, kX) == (over ? 301.0f : 300.0f) && CountKind(30.0f, 40.0f) == over);
    ASSERT_EQ(P(2, kPower), float(kPowerShield));
    ASSERT_TRUE(Drew("Tap to Join") == (cd > 0) && Drew("Prepare for Battle") == (cd > 240));
    ASSERT_TRUE(Drew("3") == (cd > 180 && cd < 240) && Drew("1") == (cd > 60 && cd < 120) &&
                Drew("FIGHT") == (cd > 0 && cd < 60));
  }
}

TEST_F(Round, SparksTakeAnyFreeRecordSlowFadeAndDie) {
  app->p_ResetParticles(100);
  for (int k = 0; k <= 100; ++k) app->p_ThrowParticle(100, 100, 4, 3, 90, 3);
  EXPECT_EQ(app->m_Particles[0], 4.0f);  // the last of 101 took record 0
  app->p_ResetParticles(100);
  app->m_Particles[1010] = 4.0f;  // past the pool: neither moved nor drawn
  app->p_ThrowParticle(100, 100, 4, 3, 90, 3);
  app->m_Particles[1007] = 1.31f;  // life 1.31 at 0.02 an update: drawn 66 times
  int drawn = 0;
  for (int u = 1; u <= 100; ++u, app->m_DrawCount = 0) drawn += (app->p_DoParticles(1.0f), Commands());
  EXPECT_EQ(drawn, 66);
  EXPECT_NEAR(app->m_Particles[1003], 3.0f * std::pow(0.96f, 66.0f), 1e-4);  // sparks slow down
}

TEST_F(Overlay, PlaceOfTheScoreAndTheHighscoreBox) {
  const int topTen[10] = {50, 40, 30, 30, 20, 10, 9, 8, 7, 5};
  // A tie with the tenth entry stays out of the table, so it gets no box.
  const std::tuple<int, const char*, bool> cases[] = {{60, "1st!", true}, {45, "2nd", true}, {30, "3rd", true},
                                                      {9, "7th", true},   {6, "10th", true}, {5, "10th", false},
                                                      {4, "", false}};
  Start(1);
  for (const auto& [score, place, box] : cases) {
    SCOPED_TRACE(score);
    std::copy_n(topTen, 10, app->m_HiScores.Data()), app->m_LastScore = score;
    EXPECT_EQ(app->p_MyNth(), String(place));
    app->m_RoundOver = 1;
    for (app->m_OverTime = 30, app->m_DrawCount = 0; app->m_Screen == 10; app->m_OverTime = 89, app->m_DrawCount = 0) {
      app->p_GameOver();
      EXPECT_TRUE(app->m_OverTime != 31 || Drew("New Highscore") == box);
    }
    // The menu records the score; the box stays true while the overlay fades.
    app->p_LoadMenu(), app->m_Screen = 1;
    EXPECT_EQ(app->m_HiScores[9], score > 5 ? std::min(score, 7) : 5);
    app->m_DrawCount = 0, app->p_GameOver();
    EXPECT_EQ(Drew("New Highscore"), box);
    app->m_Screen = 10;
  }
}
