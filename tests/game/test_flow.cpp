// The main flow: fitting the virtual screen to the device, the end keys,
// the screen machine waiting for the loader, and suspension.
#include "game_fixture.h"

using Flow = GameTest;

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
