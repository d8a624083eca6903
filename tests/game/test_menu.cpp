// The main menu, the options box and the pause menu as a player steers them:
// the records panel, pointer taps, back, the sound level and border entries,
// pausing, resuming and quitting a round, and the console's quit screen.
#include "game/menu_records.h"
#include "game/round_records.h"
#include "game_fixture.h"

namespace {
const int kUp = 38, kRight = 39, kEnter = 13, kEscape = 27, kF2 = 113, kN = 78;
}

using Menu = MenuStage;

TEST_F(Menu, RecordsAndFrameRateReadOnScreen) {
  app->m_HiScores[10] = 900;  // Three Lives
  EXPECT_EQ(lk_menu::RecordsText(app, 2, 0, 2), String("Top 2\\n        900\\n          0"));
  const int winners[5] = {1, 4, 2, 3, 0}, pads[5] = {-1, 2, -4, 7, 0};
  for (int k = 0; k < 5; ++k) app->m_HiScores[40 + k] = winners[k], app->m_HiScores[100 + k] = pads[k];
  EXPECT_EQ(lk_menu::RecordsText(app, 5, 0, 5),  // Battle-Three: winners and their controllers
            String("Last 10 Winners\\n\\nRed       Keys\\nBlue      Port 3\\nYellow     AI\\nGreen  \\n"));
  app->m_MenuSel = 1;
  app->m_RenderFpsAvg = 57;
  Tap(kF2);
  EXPECT_EQ(Row(67.5f) + Row(9.0f), "Top1057fps");  // the chosen mode's panel; the frame rate
  app->m_SidePanel = 1;  // a panel covers the records
  Update();
  EXPECT_EQ(Row(67.5f), "");
  app->m_SidePanel = 0, app->m_SidePanelX = 9.14285755f;  // closing, one step lands on 8:
  Update();                                                // still drawn there for a frame
  EXPECT_EQ(app->m_SidePanelX, 8.0f);
}

TEST_F(Menu, TapOnTheChosenModeStartsItAndTheDialShowsItsFocus) {
  Updates(60);  // the dial has come to rest
  float alpha[2] = {0, 0}, x = 0, y = 0;
  for (int focused : {0, 1}) {
    if (focused) Tap(kRight);  // from the options cog to the dial
    for (int i = 0; i < Commands(); ++i) {
      if (Cmd(i, 0) == 85.0f) alpha[focused] = Cmd(i, 7);
      if (Cmd(i, 0) == 95.0f && Cmd(i, 4) == 1.75f && Cmd(i, 6) < 8) x = Cmd(i, 1), y = Cmd(i, 2);
    }
  }
  EXPECT_EQ(std::make_pair(alpha[0], alpha[1]), std::make_pair(0.25f, 0.8f));
  PointerDown(x, y);
  Update();
  EXPECT_EQ(app->m_Screen, 11);
}

TEST_F(Menu, BackEndsTheProgramButOnlyClosesAnOpenOptionsBox) {
  for (int open : {0, 1}) {
    if (open) {
      Tap(kEnter);
      Updates(30);
      Hold(kEscape, 5);  // held on: nothing more happens
      EXPECT_EQ(app->m_OptionsOpen, 0);
      EXPECT_EQ(host->saves, 1);
      Updates(40);
    }
    EXPECT_EXIT((KeyDown(kEscape), Update()), testing::ExitedWithCode(0), "");
  }
}

TEST_F(Menu, OptionsHeldKeysActOnceADamagedLevelReadsLoudAndTheConsoleScreensFit) {
  app->m_Settings[6] = 7;  // from a damaged save
  app->m_OptionsOpen = 1;
  Updates(31);  // slid in and usable; entry 1's text centred on y 140
  EXPECT_EQ(Row(140.0f), "Sound:[---Loud]");
  Hold(kRight, 6);  // held: one step
  for (const char* shown : {"Sound:[--Normal-]", "Sound:[-Quiet--]", "Sound:[OFF---]", "Sound:[---Loud]"}) {
    KeyDown(kEnter);
    Updates(4);
    EXPECT_EQ(Row(140.0f), shown);
    KeyUp(kEnter);
    Update();
  }
  EXPECT_EQ(app->m_OptionsOpen, 1);  // the entries act without closing the box
  Hold(kEscape, 1);

  bb_Larkspin_isOuya = 1;  // the console's border entry
  app->m_Settings[14] = 32;
  app->m_OptionsOpen = 1;
  Updates(31);
  EXPECT_EQ(bb_Larkspin_overscan, 32.0f);
  Hold(kN, 3);  // the right shoulder button
  EXPECT_EQ(bb_Larkspin_overscan, 48.0f);
  app->m_Screen = 4;
  Update();
  EXPECT_EQ(Cmd(0, 0), LK_CMD_RECT);  // the blue box keeps its margin at the bottom
  EXPECT_EQ(Cmd(0, 2) + Cmd(0, 5), 480.0f - 32.0f);
}

TEST_F(Menu, PauseStopsTheRoundResumeWaitsForThePanelAndQuitRecordsTheScore) {
  app->m_MenuSel = 0, app->m_MenuFocus = 1;  // Time Attack
  bb_Larkspin_OnScreenControls = 1;            // a touch device: the pad is drawn over the round
  Tap(kEnter);
  Updates(5);
  lk_round::Player(app, 1)[lk_round::kScore] = 40.0f;
  Tap(kEscape);
  const float clock = app->m_Players[lk_round::kClock];
  Updates(20);
  EXPECT_EQ(app->m_PauseY, 240);  // slid in to mid-height
  EXPECT_EQ(app->m_Players[lk_round::kClock], clock);  // the round stands still
  Tap(kEnter);  // Resume is selected first
  int updates = 0;
  for (; app->m_Paused == 1 && updates < 50; ++updates) Update();
  EXPECT_EQ(updates, 11);  // from 216 to below -32
  Tap(kEscape);
  Updates(12);
  Tap(kUp);
  Tap(kEnter);
  for (int u = 0; u < 120 && app->m_Screen != 1; ++u) Update();
  EXPECT_EQ(app->m_HiScores[0] + app->m_HiScores[60], 80);  // top and last scores
}
