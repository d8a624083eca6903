// Pointer and touch state in virtual units, the flags that make one press
// act once, the virtual pad, and the on-screen pad and tilt indicator when
// their switches are on.
#include "game_fixture.h"

class Pointer : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    CreateAndLoad();
    // No screen step: these tests watch the input state alone, without the
    // menu acting on the same presses.
    app->m_Screen = kQuietScreen;
  }
  static const int kQuietScreen = 3;
  void Fit(int w, int h) {
    Resize(w, h);
    app->m_LastDevWidth = w;  // as the render would have noted it
    app->m_LastDevHeight = h;
    app->p_FitScreen(w, h);
  }
};

TEST_F(Pointer, PositionsArriveInVirtualUnits) {
  Fit(1280, 720);
  input->p_MouseEvent(6, -1, 300.0f, 201.0f);
  input->p_TouchEvent(7, 3, 100.0f, 51.0f);
  Update();
  EXPECT_EQ(app->m_MouseX, 150);
  EXPECT_EQ(app->m_MouseY, 100);
  EXPECT_EQ(app->m_TouchDown[3], 1);
  EXPECT_EQ(app->m_TouchX[3], 50);
  EXPECT_EQ(app->m_TouchY[3], 25);
  EXPECT_EQ(app->m_Touching, 1);
  EXPECT_EQ(app->m_TouchDown[2], 0);
  EXPECT_EQ(app->m_TouchX[2], -3717);
  EXPECT_EQ(app->m_TouchY[2], -3717);

  // The border moves the origin; rows are offset in proportion.
  bb_Larkspin_overscan = 64.0f;
  Fit(1280, 720);
  Update();
  EXPECT_EQ(app->m_MouseX, 131);  // (300 - 64) / 1.8
  EXPECT_EQ(app->m_MouseY, 91);   // (201 - 36) / 1.8

  input->p_TouchEvent(8, 3, 100.0f, 51.0f);
  Update();
  EXPECT_EQ(app->m_Touching, 0);
  EXPECT_EQ(app->m_TouchX[3], -3717);
}

TEST_F(Pointer, OnePressActsOnce) {
  input->p_MouseEvent(4, 0, 10.0f, 10.0f);
  Update();
  EXPECT_EQ(app->m_Touching, 1);
  EXPECT_EQ(app->m_TouchDown[0], 1);  // the left button is touch 0 as well
  app->m_InputTaken = 1;              // as a menu does when it acts
  Update();
  EXPECT_EQ(app->m_InputTaken, 1);  // held: still taken
  input->p_MouseEvent(5, 0, 10.0f, 10.0f);
  Update();
  EXPECT_EQ(app->m_InputTaken, 0);
}

TEST_F(Pointer, KeyLatchHoldsUntilEveryControlIsUp) {
  app->m_KeyLatch = 1;
  KeyDown(38);
  Update();
  EXPECT_EQ(app->m_KeyLatch, 1);
  KeyUp(38);
  Update();
  EXPECT_EQ(app->m_KeyLatch, 0);

  // Back on the menu closes the side panel and latches, before the menu
  // itself could take it as the request to quit.
  app->m_Screen = 1;
  app->m_SidePanel = 1;
  KeyDown(27);
  Update();
  EXPECT_EQ(app->m_SidePanel, 0);
  EXPECT_EQ(app->m_KeyLatch, 1);
  EXPECT_EQ(app->m_InputTaken, 1);
  KeyUp(27);
  app->m_Screen = kQuietScreen;

  // Joystick buttons count too: controller 0's A keeps the latch.
  KeyDown(256);
  Update();
  EXPECT_EQ(app->m_KeyLatch, 1);
  KeyUp(256);
  Update();
  EXPECT_EQ(app->m_KeyLatch, 0);
}

TEST_F(Pointer, BackKeyFillsPadEntry19ForOneUpdate) {
  Press(416);
  Update();
  EXPECT_EQ(app->m_Pad[19], 1);
  EXPECT_EQ(app->p_PlayKey(99, 0, -1), 1);  // seen as back by everyone
  EXPECT_EQ(app->p_PlayKey(98, 0, 2), 1);
  Update();
  EXPECT_EQ(app->m_Pad[19], 0);

  bb_Larkspin_isOuya = 1;
  Press(270);
  Update();
  EXPECT_EQ(app->m_Pad[19], 1);
  EXPECT_EQ(app->m_InputStyle, 1);
  Update();
  EXPECT_EQ(app->m_Pad[19], 0);
  KeyDown(27);
  EXPECT_EQ(app->p_PlayKey(98, 0, 1), 1);   // Escape is back for the controllers
  EXPECT_EQ(app->p_PlayKey(99, 0, -1), 0);  // the keyboard's back is pad 19 only
  bb_Larkspin_isOuya = 5;                    // no known platform: never back
  EXPECT_EQ(app->p_PlayKey(98, 0, 1), 0);
}

class OnScreenPad : public Pointer {
 protected:
  void SetUp() override {
    Pointer::SetUp();
    bb_Larkspin_OnScreenControls = 1;
    app->m_Screen = 6;  // a round screen number without the round's own step
  }
  void TouchAt(int finger, float x, float y) { input->p_TouchEvent(7, finger, x, y); }
  void Lift(int finger) { input->p_TouchEvent(8, finger, 0, 0); }
};

TEST_F(OnScreenPad, SizeIsClampedAtTheFirstRoundUpdate) {
  app->m_Settings[12] = 30;
  app->m_Settings[10] = 5000;
  Update();
  EXPECT_EQ(app->m_Settings[12], 25);
  EXPECT_EQ(app->m_Settings[10], 640 - 32);
  EXPECT_FLOAT_EQ(app->m_PadScale, 2.5f);
  EXPECT_EQ(app->m_PadY, 480 - 64);

  bb_Larkspin_OnScreenControls = 0;  // switched off: nothing is drawn or set
  app->m_Settings[12] = 30;
  Update();
  EXPECT_EQ(app->m_Settings[12], 30);
}

TEST_F(OnScreenPad, ArrowPressLastsOneUpdateAfterTheOneThatSawIt) {
  app->m_Settings[12] = 10;  // size 1: the left arrow sits at (32, 416)
  TouchAt(0, 32.0f, 416.0f);
  Update();
  EXPECT_EQ(app->m_Pad[3], 1);
  EXPECT_EQ(app->m_Pad[5], 0);
  EXPECT_EQ(app->p_PlayKey(3, 1, -1), 1);
  Lift(0);
  Update();  // the round saw it during this update; then it decays
  EXPECT_EQ(app->m_Pad[3], 0);

  // The fire buttons are mirrored from the right edge.
  TouchAt(1, 640.0f - (64.0f - 24.0f), 416.0f - 24.0f);
  Update();
  EXPECT_EQ(app->m_Pad[10], 1);
  Lift(1);

  // While paused the arrows do nothing and a finger on the pad moves it.
  app->m_Paused = 1;
  TouchAt(0, 34.0f, 420.0f);
  Update();
  EXPECT_EQ(app->m_Pad[3], 0);
  EXPECT_EQ(app->m_Settings[10], 34);
  EXPECT_EQ(app->m_Settings[11], 60);
}

TEST_F(OnScreenPad, TwoFingersResizeWhilePaused) {
  app->m_Settings[12] = 10;
  app->m_Paused = 1;
  TouchAt(0, 64.0f, 416.0f);
  TouchAt(1, 64.0f + 32.0f, 416.0f);
  Update();  // gesture starts: spread 2
  EXPECT_EQ(app->m_Settings[12], 10);
  input->p_TouchEvent(9, 1, 64.0f + 96.0f, 416.0f);
  Update();  // spread 6: grew by 4
  EXPECT_EQ(app->m_Settings[12], 14);
  Lift(1);
  Update();
  TouchAt(1, 64.0f + 160.0f, 416.0f);
  Update();  // a new gesture starts from its own spread
  EXPECT_EQ(app->m_Settings[12], 14);
}

TEST_F(Pointer, TiltIndicatorEasesTowardTheReading) {
  bb_Larkspin_AccelerometerControls = 1;
  input->p_MotionEvent(10, 0, 0.5f, -0.25f, 0.0f);
  Update();
  EXPECT_FLOAT_EQ(app->m_TiltX, 0.5f);
  EXPECT_FLOAT_EQ(app->m_TiltShowX, -0.125f);
  EXPECT_FLOAT_EQ(app->m_TiltShowY, 0.0625f);
  bool found = false;
  for (int i = 0; i < Commands(); ++i)
    if (Cmd(i, 0) == LK_CMD_OVAL && Cmd(i, 4) == 4.0f) {
      EXPECT_FLOAT_EQ(Cmd(i, 1), 24.0f - 2.5f);
      EXPECT_FLOAT_EQ(Cmd(i, 2), 480.0f - 24.0f + 1.25f);
      found = true;
    }
  EXPECT_TRUE(found);
  Updates(40);
  EXPECT_EQ(app->m_TiltShowX, -0.5f);  // snapped

  // The level button takes the current reading as level.
  input->p_TouchEvent(7, 0, 24.0f, 456.0f);
  Update();
  EXPECT_EQ(app->m_TiltZeroX, 0.5f);
  Update();
  EXPECT_EQ(app->m_TiltX, 0.0f);
}
