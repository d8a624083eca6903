// The options box and the pause menu: entries, their latches and order,
// pausing and resuming a round, quitting it without a record, and the
// spirograph's limits.
#include <cmath>

#include "game/round_records.h"
#include "menu_stage.h"

namespace {
const int kUp = 38, kDown = 40, kLeft = 37, kRight = 39, kEnter = 13, kEscape = 27;
}

class OptionsBox : public MenuStage {
 protected:
  void Open() {
    app->m_OptionsOpen = 1;
    Updates(31);  // slid in and usable
  }
  // Entry n (from 1) of a box that is fully in: its text centres are drawn
  // 40 units apart from y 130, at size 2.
  std::string Entry(int n) const { return Row(130.0f + 40.0f * float(n - 1) + 10.0f); }
};

TEST_F(OptionsBox, SoundLevelCyclesAndADamagedLevelReadsLoud) {
  app->m_Settings[6] = 7;  // from a damaged save
  Open();
  EXPECT_EQ(Entry(1), "Sound:[---Loud]");
  EXPECT_EQ(app->m_Settings[6], 0);

  Tap(kDown);
  ASSERT_EQ(app->m_OptSel, 1);
  const char* shown[4] = {"Sound:[--Normal-]", "Sound:[-Quiet--]", "Sound:[OFF---]", "Sound:[---Loud]"};
  for (int i = 0; i < 4; ++i) {
    KeyDown(kEnter);
    Updates(4);  // held: acts once
    EXPECT_EQ(app->m_Settings[6], (i + 1) % 4);
    EXPECT_EQ(Entry(1), shown[i]);
    KeyUp(kEnter);
    Update();
  }
  EXPECT_EQ(app->m_OptionsOpen, 1);
}

TEST_F(OptionsBox, EntriesMoveUpWithoutAMusicStream) {
  Open();
  EXPECT_EQ(Entry(2), "Music:[---Loud]");
  EXPECT_EQ(Entry(3), "Fullscreen");
  EXPECT_EQ(Entry(5), "RightThumbstickYFlipped");

  bb_Larkspin_HasMusicStream = 0;
  Update();
  EXPECT_EQ(Entry(2), "Fullscreen");
  EXPECT_EQ(Entry(4), "RightThumbstickYFlipped");
  EXPECT_EQ(Entry(5), "");

  Tap(kDown);
  Tap(kDown);
  ASSERT_EQ(app->m_OptSel, 2);
  KeyDown(kEnter);
  Updates(5);  // a held key flips the screen once, not every update
  EXPECT_EQ(app->m_Fullscreen, 1);
  EXPECT_EQ(Entry(2), "Windowed");
  KeyUp(kEnter);
  Update();

  // The last entry stops the selection; the first step up reaches the gear.
  for (int i = 0; i < 6; ++i) Tap(kDown);
  EXPECT_EQ(app->m_OptSel, 4);
  Tap(kEnter);
  EXPECT_EQ(app->m_Settings[16], 1);
  EXPECT_EQ(Entry(4), "RightThumbstickYNormal");
  for (int i = 0; i < 5; ++i) Tap(kUp);
  EXPECT_EQ(app->m_OptSel, 0);
  const int saves = host->saves;
  Tap(kEnter);  // on the gear: closes and saves
  EXPECT_EQ(app->m_OptionsOpen, 0);
  EXPECT_EQ(host->saves, saves + 1);
}

TEST_F(OptionsBox, TouchingAnEntryActsOncePerTouch) {
  Open();
  PointerDown(300.0f, 130.0f + 40.0f + 8.0f);  // the music bar
  Updates(3);
  EXPECT_EQ(app->m_OptSel, 2);
  EXPECT_EQ(app->m_Settings[7], 1);
  PointerUp();
  Update();
  PointerDown(300.0f, 130.0f + 40.0f + 8.0f);
  Update();
  EXPECT_EQ(app->m_Settings[7], 2);
  PointerUp();
}

class Pause : public MenuStage {
 protected:
  // A Time Attack round, counted in and running.
  void StartRound() {
    app->m_MenuSel = 0;
    app->m_MenuFocus = 1;
    Tap(kEnter);
    ASSERT_EQ(app->m_Screen, 10);
    Updates(5);
  }
  float Clock() const { return app->m_Players[lk_round::kClock]; }
};

TEST_F(Pause, BackPausesAndResumeWaitsForThePanel) {
  StartRound();
  Tap(kEscape);
  ASSERT_EQ(app->m_Paused, 1);
  const float clock = Clock();
  Updates(20);
  EXPECT_EQ(app->m_PauseY, 240);  // slid in to mid-height
  EXPECT_EQ(Clock(), clock);      // the round stands still

  Tap(kEnter);  // Resume is selected first
  EXPECT_EQ(app->m_PauseSel, -1);
  int updates = 0;
  while (app->m_Paused == 1 && updates < 50) {
    Update();
    ++updates;
  }
  EXPECT_EQ(updates, 11);  // from 216 (one step went with the release) to below -32
  EXPECT_LT(app->m_PauseY, -32);
  Updates(3);
  EXPECT_LT(Clock(), clock);  // running again

  Tap(kEscape);  // back during the pause also resumes
  ASSERT_EQ(app->m_Paused, 1);
  Tap(kEscape);
  EXPECT_EQ(app->m_PauseSel, -1);
}

TEST_F(Pause, QuitEndsTheRoundAndRecordsNothing) {
  StartRound();
  lk_round::Player(app, 1)[lk_round::kScore] = 40.0f;  // worth a place if it counted
  Update();
  ASSERT_EQ(app->m_LastScore, 40);
  Tap(kEscape);
  Updates(12);
  Tap(kUp);
  EXPECT_EQ(app->m_PauseKey, -1);
  Tap(kEnter);
  EXPECT_EQ(app->m_Paused, 0);
  EXPECT_EQ(app->m_RoundOver, 1);
  EXPECT_EQ(app->m_Winner, -1);
  for (int u = 0; u < 120 && app->m_Screen != 1; ++u) Update();
  ASSERT_EQ(app->m_Screen, 1);
  for (int i = 0; i < 70; ++i) EXPECT_EQ(app->m_HiScores[i], 0) << i;
}

TEST_F(Pause, SpirographStaysWithinItsLimits) {
  StartRound();
  Tap(kEscape);
  const float R = 480.0f * 0.45f;  // smaller than (640 - 96) x 0.45

  struct Hold {
    int key;
    float speed, radius;
  } holds[] = {{kDown, 25.0f, R}, {kRight, 128.0f, R}, {kUp, 128.0f, 0.0f}, {kLeft, 0.0f, 0.0f}};
  for (const Hold& h : holds) {
    KeyDown(h.key);
    Updates(600);
    KeyUp(h.key);
    Update();
    EXPECT_EQ(app->m_ToySpeed, h.speed);
    EXPECT_EQ(app->m_ToyRadius, h.radius);
  }

  // At speed 0 the pen keeps its place on the arm: it only follows the arm.
  app->m_ToyRadius = 40.0f;
  const float cx = 320.0f + 96.0f, cy = 240.0f;
  for (int u = 0; u < 5; ++u) {
    Update();
    const float arm = app->m_ToyArm * 0.0174532924f;
    const float ax = cx + (R - 40.0f) * std::sin(arm), ay = cy - (R - 40.0f) * std::cos(arm);
    const float* pen = app->m_PauseData.Data() + 202;
    EXPECT_NEAR(std::hypot(pen[0] - ax, pen[1] - ay), 40.0f, 1e-3);
    EXPECT_NEAR(pen[0] - ax, 40.0f * std::sin(app->m_ToyPen * 0.0174532924f), 1e-3);
    EXPECT_EQ(app->m_PauseData[200], pen[0]);  // the newest ribbon point
  }
}
