// The main flow: the virtual screen fitted to the device, the picture level
// and the loader, the end keys, suspension, and pointer input in virtual
// units with the latches that make one press act once.
#include "game_fixture.h"

using Flow = GameTest;

TEST_F(Flow, ScreenAndPicturesFollowTheDevice) {
  struct Case {
    int w, h;
    float scale, vw, vh;
    int level;
    const char* file;
  } cases[] = {
      {1280, 720, 2.0f, 640, 360, 4, "gfx-hd2.png"}, {768, 1024, 1024 / 720.0f, 540, 720, 2, "gfx-hd.png"},
      {1000, 480, 1.5625f, 640, 307.2f, 2, "gfx-hd.png"}, {640, 600, 1.25f, 512, 480, 2, "gfx-hd.png"},
      {630, 630, 1.3125f, 480, 480, 1, "gfx.png"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.w);
    Resize(c.w, c.h);
    app->p_ResLevel();
    app->p_FitScreen(c.w, c.h);
    EXPECT_NEAR(app->m_ScaleY, c.scale, 1e-4);
    EXPECT_NEAR(bb_Larkspin_jscrw, c.vw, 1e-3);
    EXPECT_NEAR(bb_Larkspin_jscrh, c.vh, 1e-3);
    EXPECT_EQ(app->p_ImgFile(String("gfx")), String(c.file));
    EXPECT_EQ(app->m_ImgScale * float(c.level), 1.0f);
  }
  bb_Larkspin_overscan = 64.0f;  // the border shrinks the scale, not the virtual screen
  app->p_FitScreen(1280, 720);
  app->p_FitScreen(0, 0);  // a window with no size keeps the last fit
  EXPECT_NEAR(app->m_ScaleX, 1.8f, 1e-5);
  EXPECT_NEAR(bb_Larkspin_jscrh, 360.0f, 1e-3);
}

TEST_F(Flow, LoadingTakes22UpdatesBeforeTheMenuAndRestartsOnANewSize) {
  app->p_OnCreate();
  app->p_FitScreen(640, 480);
  Updates(22);
  EXPECT_EQ(app->m_BgTargetB, 0.0f);  // only the loading screen so far
  Update();
  EXPECT_EQ(app->m_BgTargetB, 160.0f);  // the menu's background
  const int sizes[][4] = {{1, 24, 24, 25}, {80, 128, 128, 64}, {90, 7, 10, 128}, {98, 512, 256, 1}};
  for (auto& s : sizes)
    for (int e = 0; e < 3; ++e) EXPECT_EQ(app->m_ImgSize[3 * s[0] + e], s[e + 1]) << s[0];
  EXPECT_EQ(app->m_Images[1], nullptr);  // no renderer: nothing loaded, the game goes on
  EXPECT_EQ(app->p_DeviceChanged(640, 480), 0);
  EXPECT_EQ(app->p_DeviceChanged(800, 600), 1);
  EXPECT_EQ(app->m_LoadStep, 1);
}

TEST_F(Flow, EndKeysLeaveWithStatusZero) {
  CreateAndLoad();
  for (int key : {115, 432}) EXPECT_EXIT((Press(key), Update()), testing::ExitedWithCode(0), "");
}

TEST_F(Flow, SuspendingARoundBringsItBackPaused) {
  CreateAndLoad();
  app->m_Screen = 10;
  app->m_Pad[3] = 1;
  app->p_OnSuspend();
  EXPECT_EQ(host->UpdateRate(), 5);
  EXPECT_EQ(host->saves, 1);
  EXPECT_EQ(app->m_Pad[3], 0);
  app->p_OnResume();
  EXPECT_EQ(host->UpdateRate(), 60);
  EXPECT_EQ(app->m_Paused, 1);
  EXPECT_EQ(app->m_PauseY, 240);
}

class Pointer : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    CreateAndLoad();
    app->m_Screen = 3;  // no screen step: the input state alone
  }
};

TEST_F(Pointer, PositionsArriveInVirtualUnits) {
  bb_Larkspin_overscan = 64.0f;
  Resize(1280, 720);
  app->m_LastDevWidth = 1280;  // as the render would have noted it
  app->m_LastDevHeight = 720;
  app->p_FitScreen(1280, 720);
  input->p_MouseEvent(6, -1, 300.0f, 201.0f);
  input->p_TouchEvent(7, 3, 154.0f, 81.0f);
  Update();
  EXPECT_EQ(app->m_MouseX, 131);  // (300 - 64) / 1.8
  EXPECT_EQ(app->m_MouseY, 91);   // (201 - 36) / 1.8
  EXPECT_EQ(app->m_TouchX[3], 50);
  EXPECT_EQ(app->m_TouchY[3], 25);
  EXPECT_EQ(app->m_TouchX[2], LK_NO_TOUCH);
  input->p_TouchEvent(8, 3, 0, 0);
  Update();
  EXPECT_EQ(app->m_Touching, 0);
  EXPECT_EQ(app->m_TouchX[3], LK_NO_TOUCH);
}

TEST_F(Pointer, OnePressActsOnce) {
  input->p_MouseEvent(4, 0, 10.0f, 10.0f);
  Update();
  EXPECT_EQ(app->m_TouchDown[0], 1);  // the left button is touch 0 as well
  app->m_InputTaken = 1;              // as a menu does when it acts
  Update();
  EXPECT_EQ(app->m_InputTaken, 1);  // held: still taken
  input->p_MouseEvent(5, 0, 10.0f, 10.0f);
  Update();
  EXPECT_EQ(app->m_InputTaken, 0);
  // A click released before the update (a touchpad tap) is down for it only.
  input->p_MouseEvent(4, 0, 20.0f, 10.0f);
  input->p_MouseEvent(5, 0, 20.0f, 10.0f);
  Update();
  EXPECT_EQ(app->m_TouchX[0], 20);
  Update();
  EXPECT_EQ(app->m_Touching, 0);

  for (int key : {38, 256}) {  // keys and controller buttons hold the key latch
    app->m_KeyLatch = 1;
    KeyDown(key);
    Update();
    EXPECT_EQ(app->m_KeyLatch, 1);
    KeyUp(key);
    Update();
    EXPECT_EQ(app->m_KeyLatch, 0);
  }
}

TEST_F(Pointer, OnScreenPadSizeIsClampedAtTheFirstRoundUpdate) {
  bb_Larkspin_OnScreenControls = 1;
  app->m_Screen = 6;  // a round screen number without the round's own step
  app->m_Settings[12] = 30;
  app->m_Settings[10] = 5000;
  Update();
  EXPECT_EQ(app->m_Settings[12], 25);
  EXPECT_EQ(app->m_Settings[10], 640 - 32);
  EXPECT_EQ(app->m_PadY, 480 - 64);
}
