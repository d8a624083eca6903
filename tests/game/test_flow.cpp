// The main flow: start-up values, fitting the virtual screen to the device,
// the function keys, the screen machine, sliding panels and suspension.
#include "game_fixture.h"

using Flow = GameTest;

TEST_F(Flow, CreateSetsTheStartValues) {
  app->p_OnCreate();
  EXPECT_EQ(app->m_Screen, 1);
  EXPECT_EQ(app->m_LoadStep, 1);
  EXPECT_EQ(app->m_GameMode, 2);
  EXPECT_EQ(app->m_MenuSel, 1);
  EXPECT_EQ(app->m_MenuScroll, -32.0f);
  EXPECT_EQ(app->m_PauseY, -64);
  EXPECT_EQ(host->UpdateRate(), 60);
  EXPECT_EQ(bb_app__updateRate, 60);
  EXPECT_EQ(app->m_LastDevWidth, 640);
  EXPECT_EQ(app->m_Settings[5], 1);
  EXPECT_EQ(app->m_Settings[14], 1);  // corrected on load: no overscan here
  EXPECT_EQ(app->m_Settings[12], 10);
  for (int i = 0; i <= 32; ++i) EXPECT_EQ(app->m_SfxChannels[i], i);
  EXPECT_EQ(app->m_HttpReply, String("N/A"));
  EXPECT_EQ(app->m_DrawList.Length(), 37500);
  EXPECT_EQ(app->m_Grid.Length(), 5000000);
  EXPECT_EQ(bb_Larkspin_MenuSet[3], String("Three Lives\\nScore what you can."));
  EXPECT_EQ(bb_Larkspin_CreditText.Length(), 57);
  EXPECT_EQ(bb_Larkspin_CreditText[56], String("End"));
  EXPECT_EQ(bb_random_Seed, 1234);
}

TEST_F(Flow, VirtualScreenFollowsTheDeviceShape) {
  struct Case {
    int w, h;
    float scale, vw, vh;
    int mode, landscape;
  } cases[] = {
      {1280, 720, 2.0f, 640.0f, 360.0f, 1, 1},
      {768, 1024, 1024.0f / 720.0f, 540.0f, 720.0f, 2, 0},
      {1000, 480, 1.5625f, 640.0f, 307.2f, 1, 1},
      {640, 600, 1.25f, 512.0f, 480.0f, 2, 1},
      {640, 480, 1.0f, 640.0f, 480.0f, 1, 1},
  };
  for (const Case& c : cases) {
    app->p_FitScreen(c.w, c.h);
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
    EXPECT_NEAR(app->m_ScaleX, c.scale, 1e-4);
    EXPECT_EQ(app->m_ScaleX, app->m_ScaleY);
    EXPECT_NEAR(bb_Larkspin_jscrw, c.vw, 1e-3);
    EXPECT_NEAR(bb_Larkspin_jscrh, c.vh, 1e-3);
    EXPECT_EQ(app->m_ScaleMode, c.mode);
    EXPECT_EQ(app->m_Landscape, c.landscape);
  }
  // The border shrinks the scale, not the virtual screen.
  bb_Larkspin_overscan = 64.0f;
  app->p_FitScreen(1280, 720);
  EXPECT_NEAR(app->m_ScaleX, 1.8f, 1e-5);
  EXPECT_NEAR(bb_Larkspin_jscrh, 360.0f, 1e-3);
  // A window with no size keeps the last fit.
  app->p_FitScreen(0, 0);
  EXPECT_NEAR(app->m_ScaleX, 1.8f, 1e-5);
  EXPECT_NEAR(bb_Larkspin_jscrw, 640.0f, 1e-3);
}

TEST_F(Flow, FunctionKeysFlipDebugAndFps) {
  CreateAndLoad();
  Press(112);
  Update();
  EXPECT_EQ(bb_Larkspin_DebugMode, 1);
  Press(113);
  Update();
  EXPECT_EQ(app->m_ShowFps, 1);
  Press(112);
  Update();
  EXPECT_EQ(bb_Larkspin_DebugMode, 0);
  EXPECT_EQ(app->m_ShowFps, 1);
}

TEST_F(Flow, DebugLineShowsRatesAndCommandCount) {
  CreateAndLoad();
  bb_Larkspin_DebugMode = 1;
  app->m_RenderFpsAvg = 58;
  Update();
  // The line's glyphs come last, at y = H - 16 (tops) and x from 16; the
  // count it shows is the number of commands recorded before it.
  String line;
  int first = -1;
  for (int i = 0; i < Commands(); ++i) {
    if (Cmd(i, 0) != 90.0f || Cmd(i, 2) != bb_Larkspin_jscrh - 16.0f + 5.0f) continue;
    if (first < 0) first = i;
    line += String(Char(int(Cmd(i, 6)) + 32), 1);
  }
  ASSERT_GE(first, 0);
  EXPECT_FLOAT_EQ(Cmd(first, 1), 23.0f);
  // "58:1.0,1.0 - n" without the spaces, which are never drawn
  EXPECT_EQ(line, String("58:1.0,1.0-") + String(first));
}

TEST_F(Flow, EndKeysLeaveWithStatusZero) {
  CreateAndLoad();
  EXPECT_EXIT(
      {
        Press(115);
        Update();
      },
      testing::ExitedWithCode(0), "");
  EXPECT_EXIT(
      {
        Press(432);
        Update();
      },
      testing::ExitedWithCode(0), "");
}

TEST_F(Flow, UpdateRateIsMeasuredAndSmoothed) {
  int last = 1000, fps = 0, avg = 50;
  c_MyApp::m_MeasureRate(1016, last, fps, avg);
  EXPECT_EQ(fps, 62);
  EXPECT_EQ(avg, 51);  // (62 + 450) / 10
  EXPECT_EQ(last, 1016);
  c_MyApp::m_MeasureRate(1016, last, fps, avg);  // no time passed: unchanged
  EXPECT_EQ(fps, 62);
  EXPECT_EQ(avg, 51);
}

TEST_F(Flow, ScreenStepWaitsForTheLoader) {
  app->p_OnCreate();
  app->p_FitScreen(640, 480);
  Updates(21);
  EXPECT_EQ(app->m_BgTargetB, 0.0f);  // only the loading screen so far
  Update();                           // loader done, still no menu this update
  EXPECT_EQ(app->m_LoadStep, 0);
  EXPECT_EQ(app->m_BgTargetB, 0.0f);
  Update();
  EXPECT_EQ(app->m_BgTargetB, 160.0f);  // the menu's background

  // A new device size restarts loading; the screen keeps its state.
  EXPECT_EQ(app->p_DeviceChanged(640, 480), 0);
  EXPECT_EQ(app->p_DeviceChanged(800, 600), 1);
  EXPECT_EQ(app->m_LoadStep, 1);
  EXPECT_EQ(app->m_LastDevWidth, 800);
}

TEST_F(Flow, FinishedRoundIsRecordedOnTheWayToTheMenu) {
  CreateAndLoad();
  app->m_GameMode = 1;
  app->m_LastScore = 77;
  app->m_Screen = 2;
  const int saves = host->saves;
  Update();
  EXPECT_EQ(app->m_Screen, 1);
  EXPECT_EQ(app->m_HiScores[0], 77);
  EXPECT_EQ(app->m_HiScores[60], 77);
  EXPECT_EQ(host->saves, saves + 1);
}

TEST_F(Flow, PanelsSlideInAndOut) {
  CreateAndLoad();
  app->m_SidePanel = 1;
  Update();
  EXPECT_FLOAT_EQ(app->m_SidePanelX, 500.0f / 8.0f);
  Updates(60);
  EXPECT_EQ(app->m_SidePanelX, 500.0f);  // snapped onto W - 140
  app->m_SidePanel = 0;
  Update();
  EXPECT_FLOAT_EQ(app->m_SidePanelX, 437.5f);
  Updates(60);
  EXPECT_EQ(app->m_SidePanelX, 0.0f);
}

TEST_F(Flow, SuspendingARoundBringsItBackPaused) {
  CreateAndLoad();
  app->m_Screen = 10;
  app->m_Pad[3] = 1;
  const int saves = host->saves;
  app->p_OnSuspend();
  EXPECT_EQ(host->UpdateRate(), 5);
  EXPECT_EQ(bb_app__updateRate, 5);
  EXPECT_EQ(host->saves, saves + 1);
  EXPECT_EQ(app->m_Pad[3], 0);
  app->p_OnResume();
  EXPECT_EQ(host->UpdateRate(), 60);
  EXPECT_EQ(app->m_Paused, 1);
  EXPECT_EQ(app->m_PauseSel, 1);
  EXPECT_EQ(app->m_PauseY, 240);

  app->m_Screen = 1;
  app->p_OnSuspend();
  EXPECT_EQ(app->m_Paused, 0);
  EXPECT_EQ(app->m_PauseY, 0);
}
