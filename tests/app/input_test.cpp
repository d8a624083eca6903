// Input state: per-update key, character, pointer and controller snapshots.
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/input.h"
#include "support/fake_host.h"

namespace {

class InputTest : public ::testing::Test {
 protected:
  FakeHost host;
  c_InputDevice* device = nullptr;

  void SetUp() override {
    gc_init();
    bb_app_Init();
    device = (new c_InputDevice)->m_new();
    bb_input_SetInputDevice(device);
  }

  void keyDown(int key) { device->p_KeyEvent(1, key); }
  void keyUp(int key) { device->p_KeyEvent(2, key); }
  void typeChar(int chr) { device->p_KeyEvent(3, chr); }
};

TEST_F(InputTest, KeyHitsSumEventsBetweenUpdatesAndClearAfterOne) {
  keyDown(65);
  keyUp(65);
  keyDown(66);
  keyUp(66);
  keyDown(66);
  keyDown(67);
  keyDown(67);  // auto-repeat of a held key
  keyDown(67);
  device->p_BeginUpdate();
  EXPECT_EQ(bb_input_KeyHit(65), 1);
  EXPECT_FALSE(bb_input_KeyDown(65));
  EXPECT_EQ(bb_input_KeyHit(66), 2);
  EXPECT_TRUE(bb_input_KeyDown(66));
  EXPECT_EQ(bb_input_KeyHit(67), 1);
  EXPECT_TRUE(bb_input_KeyDown(67));
  device->p_EndUpdate();

  // The next update sees the held keys but no new hits.
  device->p_BeginUpdate();
  EXPECT_EQ(bb_input_KeyHit(66), 0);
  EXPECT_EQ(bb_input_KeyHit(67), 0);
  EXPECT_TRUE(bb_input_KeyDown(67));
  keyUp(67);
  EXPECT_FALSE(bb_input_KeyDown(67));
  EXPECT_EQ(bb_input_KeyHit(67), 0);  // releasing never counts
  device->p_EndUpdate();
}

TEST_F(InputTest, FullHitQueueDropsHitsButStillTracksDownState) {
  for (int key = 65; key < 65 + 34; ++key) keyDown(key);
  EXPECT_EQ(device->m_keyHitPut, 33);
  for (int key = 65; key < 65 + 33; ++key) EXPECT_EQ(bb_input_KeyHit(key), 1) << key;
  EXPECT_EQ(bb_input_KeyHit(65 + 33), 0);
  EXPECT_TRUE(bb_input_KeyDown(65 + 33));

  // Pressing a key again once the queue is full must not raise a count that
  // the end of the update would then fail to clear.
  keyUp(65);
  keyDown(65);
  EXPECT_EQ(bb_input_KeyHit(65), 1);
  device->p_EndUpdate();
  for (int key = 1; key < 512; ++key) ASSERT_EQ(bb_input_KeyHit(key), 0) << key;
  EXPECT_EQ(device->m_keyHitPut, 0);

  keyUp(66);
  keyDown(66);
  EXPECT_EQ(bb_input_KeyHit(66), 1);
}

TEST_F(InputTest, LeftButtonAndFirstTouchMirrorEachOther) {
  device->p_MouseEvent(4, 0, 10, 20);
  EXPECT_TRUE(bb_input_KeyDown(1));
  EXPECT_TRUE(bb_input_MouseDown(0));
  EXPECT_TRUE(bb_input_TouchDown(0));
  EXPECT_EQ(bb_input_KeyHit(384), 1);
  EXPECT_EQ(bb_input_MouseHit(0), 1);
  EXPECT_FLOAT_EQ(bb_input_MouseX(), 10);
  EXPECT_FLOAT_EQ(bb_input_TouchY(0), 20);

  device->p_MouseEvent(6, -1, 30, 40);
  EXPECT_FLOAT_EQ(bb_input_TouchX(0), 30);
  device->p_MouseEvent(5, 0, 99, 99);  // release keeps the position
  EXPECT_FALSE(bb_input_KeyDown(1));
  EXPECT_FALSE(bb_input_TouchDown(0));
  EXPECT_FLOAT_EQ(bb_input_MouseX(), 30);
  EXPECT_FLOAT_EQ(bb_input_MouseY(), 40);

  // Right and middle buttons are their own keys and touch nothing else.
  device->p_MouseEvent(4, 1, 5, 6);
  EXPECT_TRUE(bb_input_KeyDown(2));
  EXPECT_TRUE(bb_input_MouseDown(1));
  EXPECT_FALSE(bb_input_TouchDown(0));
  device->p_EndUpdate();

  // A first-finger touch drives the mouse too; other fingers do not.
  device->p_TouchEvent(7, 0, 50, 60);
  EXPECT_TRUE(bb_input_MouseDown(0));
  EXPECT_EQ(bb_input_MouseHit(0), 1);
  EXPECT_FLOAT_EQ(bb_input_MouseX(), 50);
  device->p_TouchEvent(7, 3, 70, 80);
  EXPECT_TRUE(bb_input_TouchDown(3));
  EXPECT_FLOAT_EQ(bb_input_MouseX(), 50);
  device->p_TouchEvent(9, 3, 71, 81);
  EXPECT_FLOAT_EQ(bb_input_TouchY(3), 81);
  device->p_TouchEvent(8, 0, 0, 0);
  EXPECT_FALSE(bb_input_KeyDown(1));
  EXPECT_FLOAT_EQ(bb_input_TouchX(0), 50);
}

TEST_F(InputTest, CharactersComeOutInOrderAndOverflowIsDropped) {
  EXPECT_EQ(bb_input_GetChar(), 0);
  for (int i = 0; i < 40; ++i) typeChar('a' + i);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(bb_input_GetChar(), 'a' + i);
  EXPECT_EQ(bb_input_GetChar(), 0);
  device->p_EndUpdate();

  // Unread characters do not outlive the update.
  typeChar(65573);
  typeChar('x');
  EXPECT_EQ(bb_input_GetChar(), 65573);
  device->p_EndUpdate();
  EXPECT_EQ(bb_input_GetChar(), 0);
  typeChar('y');
  EXPECT_EQ(bb_input_GetChar(), 'y');
}

TEST_F(InputTest, OutOfRangeCodesAreIgnoredAndQueriesAnswerNothing) {
  keyDown(0);
  keyDown(512);
  keyDown(-7);
  keyUp(100000);
  device->p_TouchEvent(7, 32, 1, 2);
  device->p_TouchEvent(9, -1, 1, 2);
  device->p_MouseEvent(4, 600, 1, 2);
  device->p_MouseEvent(4, 2147483647, 1, 2);
  device->p_PutKeyHit(9999);
  EXPECT_EQ(device->m_keyHitPut, 0);
  EXPECT_FALSE(bb_input_KeyDown(0) || bb_input_KeyDown(512) || bb_input_KeyHit(-1) ||
               bb_input_KeyHit(512) || bb_input_MouseDown(-1) || bb_input_MouseDown(511) ||
               bb_input_MouseHit(2147483647) || bb_input_TouchDown(128) ||
               bb_input_TouchDown(-2147483647) || bb_input_JoyDown(0, -1));
  EXPECT_EQ(bb_input_TouchX(32) + bb_input_TouchY(-1) + bb_input_JoyX(2, 0) + bb_input_JoyY(0, 4), 0);

  // The edges of the ranges are still live.
  keyDown(511);
  EXPECT_TRUE(bb_input_KeyDown(511));
  EXPECT_TRUE(bb_input_MouseDown(510));
  EXPECT_TRUE(bb_input_TouchDown(127));
  device->p_TouchEvent(7, 31, 5, 6);
  EXPECT_TRUE(bb_input_KeyDown(415));
  EXPECT_FLOAT_EQ(bb_input_TouchX(31), 5);

  // Before the game starts there is no device: nothing is pressed.
  bb_input_SetInputDevice(nullptr);
  EXPECT_FALSE(bb_input_KeyDown(511));
  EXPECT_EQ(bb_input_GetChar(), 0);
  EXPECT_FLOAT_EQ(bb_input_JoyX(0, 0), 0);
}

TEST_F(InputTest, JoysticksArePolledUntilTheFirstMissingUnit) {
  host.joysticks.resize(1);
  host.joysticks[0].axes[0] = 0.5f;
  host.joysticks[0].axes[1] = -1.0f;
  host.joysticks[0].axes[4] = 0.25f;
  host.joysticks[0].buttons[0] = true;
  host.joysticks[0].buttons[31] = true;
  device->p_BeginUpdate();
  EXPECT_EQ(host.polledUnits, (std::vector<int>{0, 1}));
  EXPECT_TRUE(bb_input_JoyDown(0, 0));
  EXPECT_TRUE(bb_input_KeyDown(256));
  EXPECT_EQ(bb_input_JoyHit(31, 0), 1);
  EXPECT_FALSE(bb_input_JoyDown(1, 0));
  EXPECT_FLOAT_EQ(bb_input_JoyX(0, 0), 0.5f);
  EXPECT_FLOAT_EQ(bb_input_JoyY(0, 0), -1.0f);
  EXPECT_FLOAT_EQ(bb_input_JoyY(1, 0), 0.25f);
  device->p_EndUpdate();

  // Held: still down, no new hit. Released: up.
  device->p_BeginUpdate();
  EXPECT_TRUE(bb_input_JoyDown(0, 0));
  EXPECT_EQ(bb_input_JoyHit(0, 0), 0);
  device->p_EndUpdate();
  host.joysticks[0].buttons[0] = false;
  device->p_BeginUpdate();
  EXPECT_FALSE(bb_input_JoyDown(0, 0));
  device->p_EndUpdate();

  // A second controller's buttons live 32 codes further on; a unit that
  // disappears keeps its last state.
  host.joysticks.resize(2);
  host.joysticks[1].buttons[2] = true;
  host.joysticks[1].axes[0] = 0.75f;
  device->p_BeginUpdate();
  EXPECT_TRUE(bb_input_KeyDown(256 + 32 + 2));
  EXPECT_EQ(bb_input_JoyHit(2, 1), 1);
  device->p_EndUpdate();
  host.joysticks.resize(1);
  host.polledUnits.clear();
  device->p_BeginUpdate();
  EXPECT_EQ(host.polledUnits, (std::vector<int>{0, 1}));
  EXPECT_FLOAT_EQ(bb_input_JoyX(0, 1), 0.75f);
  EXPECT_TRUE(bb_input_JoyDown(2, 1));
}

TEST_F(InputTest, MotionAndKeyboardSwitchReachTheirTargets) {
  device->p_MotionEvent(10, 0, 0.1f, -0.2f, 0.9f);
  EXPECT_FLOAT_EQ(bb_input_AccelX(), 0.1f);
  device->p_MotionEvent(4, 0, 5, 5, 5);  // not a motion event
  EXPECT_FLOAT_EQ(bb_input_AccelX(), 0.1f);

  EXPECT_EQ(bb_input_EnableKeyboard(), 1);
  EXPECT_TRUE(host.KeyboardEnabled());
  EXPECT_EQ(bb_input_DisableKeyboard(), 1);
  EXPECT_FALSE(host.KeyboardEnabled());
}

}  // namespace
