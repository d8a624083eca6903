// Pointer and touch state in virtual units, the flags that make one press
// act once, and the on-screen pad's size kept within bounds.
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

  // A click released again before the update (a touchpad tap) is down for
  // that update only.
  input->p_MouseEvent(4, 0, 20.0f, 10.0f);
  input->p_MouseEvent(5, 0, 20.0f, 10.0f);
  Update();
  EXPECT_EQ(app->m_Touching, 1);
  EXPECT_EQ(app->m_TouchX[0], 20);
  Update();
  EXPECT_EQ(app->m_Touching, 0);
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
