// The main menu: key repeat on the dial, the records panel's rows and text,
// the free-spinning dial coming to rest, starting a mode, and back.
#include <cmath>
#include <vector>

#include "game/menu_records.h"
#include "menu_stage.h"

using Menu = MenuStage;

namespace {
const int kDown = 40, kRight = 39, kEnter = 13, kEscape = 27;
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

TEST_F(Menu, RecordRowsFollowTheScreenHeight) {
  app->p_FitScreen(1280, 720);  // 640 x 360: (360 - 90 - 180) / 15
  EXPECT_EQ(lk_menu::RecordRows(app), 6);
  app->p_FitScreen(640, 480);
  EXPECT_EQ(lk_menu::RecordRows(app), 10);
  app->p_FitScreen(1000, 300);  // too flat for more than one
  EXPECT_EQ(lk_menu::RecordRows(app), 1);
  app->p_FitScreen(480, 1000);  // tall screens are capped at ten
  EXPECT_EQ(lk_menu::RecordRows(app), 10);
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

TEST_F(Menu, AHardSpinSpringsBackFromTheEndsAndRests) {
  struct Case {
    float speed;
    int rest;
  } cases[] = {{-40.0f, 5}, {40.0f, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.speed);
    app->m_MenuSel = 2;
    app->m_MenuScroll = app->m_DialAngle = -64.0f;
    app->m_DialSpeed = c.speed;
    for (int u = 0; u < 120 && app->m_DialSpeed != 0.0f; ++u) Update();
    EXPECT_EQ(app->m_DialSpeed, 0.0f);
    EXPECT_EQ(app->m_MenuSel, c.rest);
    Updates(80);
    EXPECT_EQ(app->m_DialAngle, -32.0f * float(c.rest));  // settled on the item
    EXPECT_EQ(app->m_GameMode, c.rest + 1);
  }
}

TEST_F(Menu, StartingSetsTheInputStyleAndLoadsTheRound) {
  app->m_MenuSel = 3;
  Tap(kRight);  // focus moves from the options cog to the dial
  EXPECT_EQ(app->m_MenuFocus, 1);
  KeyDown(kEnter);
  Update();
  EXPECT_EQ(app->m_Screen, 11);
  EXPECT_EQ(app->m_InputStyle, 0);  // keyboard glyphs
  EXPECT_EQ(app->m_GameMode, 4);
  KeyUp(kEnter);

  app->m_Screen = 1;
  Update();
  // A touch on the play button under the records panel.
  PointerDown(640.0f - 110.0f, 480.0f - 48.0f);
  Update();
  EXPECT_EQ(app->m_Screen, 11);
  EXPECT_EQ(app->m_InputStyle, 2);
  PointerUp();
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

TEST_F(Menu, TapChoosesAnItemThenTapStartsIt) {
  Updates(40);  // the entry animation is over
  app->m_MenuSel = 1;
  app->m_MenuScroll = app->m_DialAngle = -32.0f;
  const float cx = 38.0f, cy = 480.0f - 64.0f;
  auto itemAt = [&](int k, float* x, float* y) {
    const float a = 32.0f * float(k) + 48.0f + app->m_DialAngle;
    const float r = 116.0f + 1.5f * std::fmax(0.0f, 45.0f - std::fabs(a - 45.0f));
    *x = cx + r * std::sin(a * 0.0174532924f);
    *y = cy - r * std::cos(a * 0.0174532924f);
  };
  float x, y;
  itemAt(2, &x, &y);
  PointerDown(x, y);
  Update();
  EXPECT_EQ(app->m_MenuSel, 2);
  EXPECT_EQ(app->m_MenuScroll, -64.0f);
  EXPECT_EQ(app->m_Screen, 1);  // chosen, not started
  Updates(3);
  EXPECT_EQ(app->m_TapTurn, 1);
  PointerUp();
  Updates(40);
  EXPECT_EQ(app->m_TapTurn, 0);
  EXPECT_EQ(app->m_DialAngle, -64.0f);

  itemAt(2, &x, &y);
  PointerDown(x, y);
  Update();
  EXPECT_EQ(app->m_Screen, 11);
  EXPECT_EQ(app->m_GameMode, 3);
  EXPECT_EQ(app->m_InputStyle, 2);
  PointerUp();
}

TEST_F(Menu, ConsoleBackAsksBeforeQuitting) {
  bb_Larkspin_isOuya = 1;
  Tap(kEscape);
  ASSERT_EQ(app->m_Screen, 4);
  Tap(kEnter);  // ignore
  EXPECT_EQ(app->m_Screen, 1);
  Tap(kEscape);
  ASSERT_EQ(app->m_Screen, 4);
  EXPECT_EXIT(
      {
        KeyDown(88);  // button 11 quits
        Update();
      },
      testing::ExitedWithCode(0), "");
}
