// Score display and game over: the place a finished score takes, the
// highscore box only for a score the table will record, the lives icons and
// the badge toasts.
#include "round_fixture.h"

using namespace lk_round;
using Overlay = RoundTest;

namespace {

const int kTopTen[10] = {50, 40, 30, 30, 20, 10, 9, 8, 7, 5};

}  // namespace

TEST_F(Overlay, PlaceOfTheScoreAndTheHighscoreBox) {
  struct Case {
    int score, place;
    const char* text;
    bool box;
  } cases[] = {{60, 1, "1st!", true}, {45, 2, "2nd", true}, {30, 3, "3rd", true}, {9, 7, "7th", true},
               {6, 10, "10th", true}, {5, 10, "10th", false},  // a tie with the tenth stays out
               {4, 0, "", false}};
  app->m_FontImg = 90;
  app->m_ImgSize[270] = 7;
  app->m_ImgSize[271] = 10;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.score);
    for (int k = 0; k < 10; ++k) app->m_HiScores[k] = kTopTen[k];
    app->m_GameMode = 1;
    app->m_LastScore = c.score;
    EXPECT_EQ(app->p_MyNth(), String(c.text));
    EXPECT_EQ(app->m_Loop, c.place);
    app->m_Winner = 0;
    app->m_Screen = 10;
    app->m_RoundOver = 1;
    app->m_OverTime = 30;
    app->m_DrawCount = 0;
    app->p_GameOver();
    EXPECT_EQ(Drew("New Highscore"), c.box);
    // The menu records the score, and the box still shows while the overlay fades.
    app->m_OverTime = 89;
    app->p_GameOver();
    ASSERT_EQ(app->m_Screen, 2);
    app->p_LoadMenu();
    app->m_Screen = 1;
    EXPECT_EQ(app->m_HiScores[9], c.score > 5 ? std::min(c.score, 7) : 5);
    app->m_DrawCount = 0;
    app->p_GameOver();
    EXPECT_EQ(Drew("New Highscore"), c.box);
  }
  // Each mode reads its own table.
  app->m_GameMode = 2;
  app->m_LastScore = 0;
  EXPECT_EQ(app->p_MyNth(), String("1st!"));
}

TEST_F(Overlay, LivesAreHiddenWithTheFrameRateAndBounded) {
  Start(2);
  app->p_ScoreDisplay();
  EXPECT_EQ(ImagesDrawn(97, 11.0f), 3);
  app->m_DrawCount = 0;
  P(0, kLives) = 1e9f;  // a damaged count draws a bounded row
  app->p_ScoreDisplay();
  EXPECT_EQ(ImagesDrawn(97, 11.0f), 16);
  app->m_DrawCount = 0;
  app->m_ShowFps = 1;
  app->p_ScoreDisplay();
  EXPECT_EQ(Commands(), 0);
}

TEST_F(Overlay, BadgeToastsSlideInAndExpire) {
  app->m_FontImg = 90;
  app->m_BadgeShowTime[2] = 1;
  app->m_BadgeShow[4] = 70;  // beyond the picture sheet: text only
  app->m_BadgeShowTime[4] = 20;
  for (int age = 2; age <= 241; ++age) {
    app->m_DrawCount = 0;
    app->p_ShowBadges();
    EXPECT_TRUE(age != 2 || (Drew("Odd Badge") && ImagesDrawn(80, 70.0f) == 0));
    // The panel of slot 2 is the first command drawn, and rests at x 0.
    EXPECT_TRUE((age != 10 && age != 230) || Cmd(0, 1) == 0.0f) << age;
  }
  EXPECT_EQ(app->m_BadgeShowTime[2] + app->m_BadgeShowTime[4], 0);  // gone after 240 updates
  app->m_DrawCount = 0;
  app->p_ShowBadges();
  EXPECT_EQ(Commands(), 0);
}
