// Score display, game over and badges: the place of a finished score, the
// highscore box, the lives icons and the badge toasts.
#include "round_fixture.h"

using namespace lk_round;
using GameOver = RoundTest;

namespace {

const int kTopTen[10] = {50, 40, 30, 30, 20, 10, 9, 8, 7, 5};

}  // namespace

class Overlay : public RoundTest {
 protected:
  void SetUp() override {
    RoundTest::SetUp();
    app->m_FontImg = 90;
    app->m_ImgSize[270] = 7;
    app->m_ImgSize[271] = 10;
    for (int k = 0; k < 10; ++k) app->m_HiScores[k] = kTopTen[k];
  }
  // The round is over and the overlay has been up for a while.
  void Finished(int mode, int score, int winner) {
    app->m_GameMode = mode;
    app->m_LastScore = score;
    app->m_Winner = winner;
    app->m_Screen = 10;
    app->m_RoundOver = 1;
    app->m_OverTime = 30;
  }
  void Step() {
    app->m_DrawCount = 0;
    app->p_GameOver();
  }
};

TEST_F(Overlay, PlaceOfTheScoreInItsTable) {
  struct Case {
    int score, place;
    const char* text;
  } cases[] = {{60, 1, "1st!"}, {50, 1, "1st!"}, {45, 2, "2nd"}, {30, 3, "3rd"},
               {25, 5, "5th"},  {9, 7, "7th"},   {6, 10, "10th"}, {5, 10, "10th"},
               {4, 0, ""}};
  app->m_GameMode = 1;
  for (const Case& c : cases) {
    app->m_LastScore = c.score;
    EXPECT_EQ(app->p_MyNth(), String(c.text)) << c.score;
    EXPECT_EQ(app->m_Loop, c.place) << c.score;
  }
  // Each mode reads its own table.
  app->m_GameMode = 2;
  app->m_LastScore = 0;
  EXPECT_EQ(app->p_MyNth(), String("1st!"));
  app->m_HiScores[10] = 1;
  EXPECT_EQ(app->p_MyNth(), String("2nd"));
}

TEST_F(Overlay, HighscoreBoxOnlyForAPlaceTheTableWillRecord) {
  Finished(1, 30, 0);
  Step();
  EXPECT_TRUE(Drew("New Highscore"));
  EXPECT_TRUE(Drew("3rd"));
  EXPECT_EQ(TextScale("New"), 2.0f);

  // A round quit from the pause menu still records its score.
  Finished(1, 30, -1);
  Step();
  EXPECT_TRUE(Drew("Quit Game"));
  EXPECT_TRUE(Drew("New Highscore"));

  // Equal to the tenth entry: the table keeps it out, so no place is
  // announced, neither over the round nor over the menu afterwards.
  Finished(1, 5, 0);
  for (int u = 0; u < 90; ++u) {
    Step();
    ASSERT_FALSE(Drew("New Highscore")) << u;
  }
  ASSERT_EQ(app->m_Screen, 2);
  app->p_LoadMenu();
  app->m_Screen = 1;
  EXPECT_EQ(app->m_HiScores[9], 5);
  Step();
  EXPECT_FALSE(Drew("New Highscore"));

  // One more point and it is recorded as tenth, and still shown as tenth
  // once the table holds it.
  for (int k = 0; k < 10; ++k) app->m_HiScores[k] = kTopTen[k];
  Finished(1, 6, 0);
  Step();
  EXPECT_TRUE(Drew("10th"));
  app->m_OverTime = 89;
  Step();
  ASSERT_EQ(app->m_Screen, 2);
  app->p_LoadMenu();
  app->m_Screen = 1;
  EXPECT_EQ(app->m_HiScores[9], 6);
  Step();
  EXPECT_TRUE(Drew("New Highscore"));
  EXPECT_TRUE(Drew("10th"));
}

TEST_F(GameOver, LivesAreHiddenWithTheFrameRateAndBounded) {
  Start(2);
  app->p_ScoreDisplay();
  EXPECT_EQ(ImagesDrawn(97, 11.0f), 3);
  app->m_DrawCount = 0;
  app->m_ShowFps = 1;
  app->p_ScoreDisplay();
  EXPECT_EQ(Commands(), 0);
  // A damaged lives count draws a bounded row.
  app->m_ShowFps = 0;
  app->m_DrawCount = 0;
  P(0, kLives) = 1e9f;
  app->p_ScoreDisplay();
  EXPECT_LE(ImagesDrawn(97, 11.0f), 16);

}

TEST_F(GameOver, BadgeToastsSlideInAndExpire) {
  app->m_FontImg = 90;
  app->m_BadgeShow[2] = 0;
  app->m_BadgeShowTime[2] = 1;
  app->m_BadgeShow[4] = 70;  // beyond the picture sheet: text only
  app->m_BadgeShowTime[4] = 20;
  for (int age = 2; age <= 240; ++age) {
    app->m_DrawCount = 0;
    app->p_ShowBadges();
    if (age == 2) {
      EXPECT_TRUE(Drew("Odd Badge"));
      EXPECT_EQ(ImagesDrawn(80, 70.0f), 0);
    }
    // The panel of slot 2 is the first command drawn, and rests at x 0.
    EXPECT_TRUE((age != 10 && age != 230) || Cmd(0, 1) == 0.0f) << age;
  }
  app->p_ShowBadges();
  EXPECT_EQ(app->m_BadgeShowTime[2], 0);  // gone after 240 updates
  EXPECT_EQ(app->m_BadgeShowTime[4], 0);
  app->m_DrawCount = 0;
  app->p_ShowBadges();
  EXPECT_EQ(Commands(), 0);
}
