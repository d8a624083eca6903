// The main menu: key repeat on the dial, the records panel's text,
// and back, which ends the program or closes the options box.
#include <vector>

#include "game/menu_records.h"
#include "game_fixture.h"

using Menu = MenuStage;

namespace {
const int kDown = 40, kEnter = 13, kEscape = 27, kF2 = 113;
}

TEST_F(Menu, HeldDownRepeatsAfterShrinkingGapsAndStopsAtTheLastMode) {
  struct Case {
    int console;
    int from;
    std::vector<int> gaps;
  } cases[] = {
      {0, 0, {31, 19, 7, 4}},     // mode 1 to mode 6
      {1, -1, {31, 19, 7, 4, 4}},  // the console adds its exit item first
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.console);
    bb_Larkspin_isOuya = c.console;
    app->m_MenuSel = c.from;
    Update();
    KeyDown(kDown);
    std::vector<int> moves;
    int sel = c.from;
    for (int u = 0; u < 200; ++u) {
      Update();
      if (app->m_MenuSel != sel) {
        EXPECT_EQ(app->m_MenuSel, sel + 1);
        sel = app->m_MenuSel;
        moves.push_back(u);
      }
    }
    KeyUp(kDown);
    ASSERT_EQ(moves.size(), c.gaps.size() + 1);
    EXPECT_EQ(moves[0], 0);  // the first move is immediate
    for (size_t i = 0; i < c.gaps.size(); ++i) EXPECT_EQ(moves[i + 1] - moves[i], c.gaps[i]);
    EXPECT_EQ(app->m_MenuSel, 5);
    EXPECT_EQ(app->m_GameMode, 6);
    EXPECT_EQ(app->m_MenuScroll, -160.0f);
    Update();
  }
}

TEST_F(Menu, RecordsReadAsScoresOrWinners) {
  // Three Lives: top scores from element 10, last scores from 70.
  app->m_HiScores[10] = 900;
  app->m_HiScores[11] = 50;
  app->m_HiScores[70] = 12345;
  EXPECT_EQ(lk_menu::RecordsText(app, 2, 0, 3),
            String("Top 3\\n        900\\n         50\\n          0"));
  EXPECT_EQ(lk_menu::RecordsText(app, 2, 1, 2), String("Last 2\\n      12345\\n          0"));
  EXPECT_EQ(lk_menu::RecordsText(app, 2, 0, 1), String("Highscore\\n        900"));
  EXPECT_EQ(lk_menu::RecordsText(app, 2, 1, 1), String("Last\\n      12345"));

  // Battle-Three: winners from element 40, their controllers from 100.
  const int winners[5] = {1, 4, 2, 3, 0}, pads[5] = {-1, 2, -4, 7, 0};
  for (int k = 0; k < 5; ++k) {
    app->m_HiScores[40 + k] = winners[k];
    app->m_HiScores[100 + k] = pads[k];
  }
  EXPECT_EQ(lk_menu::RecordsText(app, 5, 0, 5),
            String("Last 10 Winners\\n\\nRed       Keys\\nBlue      Port 3\\nYellow     AI"
                   "\\nGreen  \\n"));  // an unknown controller adds nothing; no winner, no line
  EXPECT_EQ(lk_menu::RecordsText(app, 5, 1, 5), String());

  // The menu draws the chosen mode's panel: the title row at y 60.
  app->m_MenuSel = 1;
  Update();
  EXPECT_EQ(Row(60.0f + 7.5f), "Top10");
  app->m_SidePanel = 1;  // hidden while a panel covers it
  Update();
  EXPECT_EQ(Row(60.0f + 7.5f), "");
}

TEST_F(Menu, BackEndsTheProgramButOnlyClosesAnOpenOptionsBox) {
  EXPECT_EXIT(
      {
        KeyDown(kEscape);
        Update();
      },
      testing::ExitedWithCode(0), "");

  Tap(kEnter);  // the options cog has the focus
  ASSERT_EQ(app->m_OptionsOpen, 1);
  Updates(30);  // slid in
  const int saves = host->saves;
  KeyDown(kEscape);
  Updates(5);  // held on: nothing more happens
  EXPECT_EQ(app->m_OptionsOpen, 0);
  EXPECT_EQ(app->m_Screen, 1);
  EXPECT_EQ(host->saves, saves + 1);
  KeyUp(kEscape);
  Updates(40);
  EXPECT_EQ(app->m_OptionsSlide, 0);
  EXPECT_EXIT(
      {
        KeyDown(kEscape);
        Update();
      },
      testing::ExitedWithCode(0), "");
}

TEST_F(Menu, F2ShowsTheRenderedFrameRateInTheCorner) {
  app->m_RenderFpsAvg = 57;
  Tap(kF2);
  EXPECT_EQ(Row(9.0f), "57fps");  // glyph tops at y 4, ten units high
  Tap(kF2);
  EXPECT_EQ(Row(9.0f), "");
}
