// Score display and game over: the place a finished score takes, the
// highscore box only for a score the table will record, the lives icons and
// the badge toasts.
#include "round_fixture.h"

using Overlay = RoundTest;

TEST_F(Overlay, PlaceOfTheScoreAndTheHighscoreBox) {
  const int topTen[10] = {50, 40, 30, 30, 20, 10, 9, 8, 7, 5};
  struct Case {
    int score, place;
    const char* text;
    bool box;  // a tie with the tenth entry stays out of the table
  } cases[] = {{60, 1, "1st!", true}, {45, 2, "2nd", true}, {30, 3, "3rd", true}, {9, 7, "7th", true},
               {6, 10, "10th", true}, {5, 10, "10th", false}, {4, 0, "", false}};
  Start(1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.score);
    std::copy_n(topTen, 10, app->m_HiScores.Data());
    app->m_LastScore = c.score;
    EXPECT_EQ(app->p_MyNth(), String(c.text));
    EXPECT_EQ(app->m_Loop, c.place);
    app->m_RoundOver = 1;
    for (app->m_OverTime = 30, app->m_DrawCount = 0; app->m_Screen == 10; app->m_OverTime = 89, app->m_DrawCount = 0) {
      app->p_GameOver();
      EXPECT_TRUE(app->m_OverTime != 31 || Drew("New Highscore") == c.box);
    }
    // The menu records the score; the box stays true while the overlay fades.
    app->p_LoadMenu();
    app->m_Screen = 1;
    EXPECT_EQ(app->m_HiScores[9], c.score > 5 ? std::min(c.score, 7) : 5);
    app->m_DrawCount = 0;
    app->p_GameOver();
    EXPECT_EQ(Drew("New Highscore"), c.box);
    app->m_Screen = 10;
  }
  app->m_GameMode = 2;  // each mode reads its own table
  app->m_LastScore = 0;
  EXPECT_EQ(app->p_MyNth(), String("1st!"));
}

TEST_F(Overlay, LivesAreBoundedAndHiddenWithTheFrameRate) {
  Start(2);
  for (float lives : {3.0f, 1e9f}) {
    app->m_DrawCount = 0;
    lk_round::Player(app, 0)[lk_round::kLives] = lives;  // a damaged count draws a bounded row
    app->p_ScoreDisplay();
    EXPECT_EQ(ImagesDrawn(97, 11.0f), lives > 3 ? 16 : 3);
  }
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
  for (int age = 2; age <= 242; ++age, app->m_DrawCount = 0) {
    app->p_ShowBadges();
    EXPECT_TRUE(age != 2 || (Drew("Odd Badge") && ImagesDrawn(80, 70.0f) == 0));
    // The panel of slot 2 is the first command drawn, and rests at x 0; after 240 updates it is gone.
    EXPECT_TRUE((age != 10 && age != 230) || Cmd(0, 1) == 0.0f) << age;
    EXPECT_EQ(Commands() == 0, age > 240) << age;
  }
}
