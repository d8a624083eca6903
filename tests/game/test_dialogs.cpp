// The options box and the pause menu: a damaged sound level, latched
// entries, pausing and resuming a round, quitting it without a record, and
// the spirograph's limits.
#include <cmath>

#include "game/round_records.h"
#include "game_fixture.h"

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

// A one-player round left from the pause menu keeps the score it earned.
TEST_F(Pause, QuitEndsTheRoundAndRecordsTheScore) {
  StartRound();
  ASSERT_LE(app->m_GameMode, 3);
  lk_round::Player(app, 1)[lk_round::kScore] = 40.0f;
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
  const int b = 10 * (app->m_GameMode - 1);
  EXPECT_EQ(app->m_HiScores[b], 40);
  EXPECT_EQ(app->m_HiScores[b + 60], 40);
}

TEST_F(Pause, SpirographStaysWithinItsLimits) {
  StartRound();
  Tap(kEscape);
  const float R = 480.0f * 0.45f;  // smaller than (640 - 96) x 0.45
  // The ribbon starts at the pen: every line of it lies on the toy.
  float reach = 0.0f;
  for (int i = 0; i < Commands(); ++i)
    if (Cmd(i, 0) == -3715.0f)
      for (int end : {1, 4}) reach = std::fmax(reach, std::hypot(Cmd(i, end) - 416.0f, Cmd(i, end + 1) - 240.0f));
  EXPECT_LE(reach, R + 1.0f);

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
}
