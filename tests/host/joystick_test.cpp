// Controllers: which devices become player ports, and how raw devices and
// known gamepads land on the framework's sticks and buttons.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include "test_host.h"

namespace {

class Joysticks : public ::testing::Test {
 protected:
  void SetUp() override {
    joyx = Array<float>(2);
    joyy = Array<float>(2);
    joyz = Array<float>(2);
    buttons = Array<bool>(32);
  }

  bool Poll(int unit) { return host.PollJoystick(unit, joyx, joyy, joyz, buttons); }

  // Ports 0..3 as the framework polls them in one update.
  std::vector<bool> PollAll() {
    std::vector<bool> present;
    for (int unit = 0; unit < 4; ++unit) present.push_back(Poll(unit));
    return present;
  }

  static BBJoystickReading Raw(const char* name, int axes, int buttons, int hats) {
    BBJoystickReading r;
    r.present = true;
    r.name = name;
    r.axisCount = axes;
    r.buttonCount = buttons;
    r.hatCount = hats;
    return r;
  }

  static BBJoystickReading Pad(const char* name) {
    BBJoystickReading r = Raw(name, 6, 11, 1);
    r.gamepad = true;
    r.padAxes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] = -1;
    r.padAxes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = -1;
    return r;
  }

  std::vector<int> Pressed() {
    std::vector<int> out;
    for (int b = 0; b < 32; ++b) {
      if (buttons[b]) out.push_back(b);
    }
    return out;
  }

  TestHost host;
  Array<float> joyx, joyy, joyz;
  Array<bool> buttons;
};

TEST_F(Joysticks, PresentControllersTakeUnitsInDeviceOrder) {
  host.devices[2] = Raw("Generic USB Joystick", 4, 12, 1);
  host.devices[5] = Raw("Other Pad", 4, 12, 1);
  host.devices[2].buttons[3] = 1;  // framework button 3 on unit 0
  host.devices[5].buttons[4] = 1;  // framework button 4 on unit 1
  EXPECT_TRUE(Poll(0));
  EXPECT_EQ(Pressed(), std::vector<int>{3});
  EXPECT_TRUE(Poll(1));
  EXPECT_EQ(Pressed(), std::vector<int>{4});

  // Unit 2 has no device: false, and the caller's arrays stay as they were.
  joyx[0] = 0.25f;
  buttons[31] = true;
  EXPECT_FALSE(Poll(2));
  EXPECT_EQ(joyx[0], 0.25f);
  EXPECT_TRUE(buttons[31]);
  EXPECT_FALSE(Poll(7));
}

TEST_F(Joysticks, TouchpadsAndOtherNonControllersNeverTakeAPort) {
  host.devices[0] = Raw("SynPS/2 Synaptics TouchPad", 12, 5, 0);
  host.devices[1] = Raw("Wacom Intuos Pen", 8, 3, 0);
  host.devices[2] = Raw("Logitech USB Optical Mouse", 2, 3, 0);
  host.devices[3] = Raw("Sony Wireless Controller Motion Sensors", 6, 2, 0);
  host.devices[4] = Raw("Volume knob", 1, 1, 0);
  host.devices[6] = Pad("Xbox Controller");
  host.devices[6].padButtons[GLFW_GAMEPAD_BUTTON_START] = GLFW_PRESS;
  EXPECT_EQ(PollAll(), (std::vector<bool>{true, false, false, false}));
  Poll(0);
  EXPECT_EQ(Pressed(), std::vector<int>{7});
}

TEST_F(Joysticks, ControllersPluggedInLaterArePickedUpAtTheNextRescan) {
  host.devices[1] = Pad("First");
  EXPECT_EQ(PollAll(), (std::vector<bool>{true, false, false, false}));
  host.devices[0] = Pad("Second");  // lower device number: takes unit 0
  // Until unit 0 is polled again the old assignment holds.
  EXPECT_FALSE(Poll(1));
  EXPECT_EQ(PollAll(), (std::vector<bool>{true, true, false, false}));
  host.devices[1] = BBJoystickReading();  // unplugged
  EXPECT_EQ(PollAll(), (std::vector<bool>{true, false, false, false}));
}

TEST_F(Joysticks, GamepadButtonsSticksAndTriggersLandByMeaning) {
  BBJoystickReading pad = Pad("Wireless Controller");
  const int pressed[] = {GLFW_GAMEPAD_BUTTON_A,         GLFW_GAMEPAD_BUTTON_Y,
                         GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER, GLFW_GAMEPAD_BUTTON_BACK,
                         GLFW_GAMEPAD_BUTTON_GUIDE,     GLFW_GAMEPAD_BUTTON_DPAD_UP,
                         GLFW_GAMEPAD_BUTTON_DPAD_LEFT, GLFW_GAMEPAD_BUTTON_RIGHT_THUMB};
  for (int b : pressed) pad.padButtons[b] = GLFW_PRESS;
  pad.padAxes[GLFW_GAMEPAD_AXIS_LEFT_X] = 0.5f;
  pad.padAxes[GLFW_GAMEPAD_AXIS_LEFT_Y] = -0.75f;  // pushed up
  pad.padAxes[GLFW_GAMEPAD_AXIS_RIGHT_X] = -0.25f;
  pad.padAxes[GLFW_GAMEPAD_AXIS_RIGHT_Y] = 0.125f;
  pad.padAxes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] = -1.0f;  // released
  pad.padAxes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = 1.0f;  // pulled
  pad.buttons[0] = 1;  // raw buttons are ignored for a known layout
  host.devices[0] = pad;
  for (int b = 0; b < 32; ++b) buttons[b] = true;  // stale state is cleared
  ASSERT_TRUE(Poll(0));
  // A 0, Y 3, right shoulder 5, back 6, pad left 8, pad up 9, right
  // stick 13, menu 14.
  EXPECT_EQ(Pressed(), (std::vector<int>{0, 3, 5, 6, 8, 9, 13, 14}));
  EXPECT_FLOAT_EQ(joyx[0], 0.5f);
  EXPECT_FLOAT_EQ(joyy[0], 0.75f);  // the framework's left stick reads up as positive
  EXPECT_FLOAT_EQ(joyx[1], -0.25f);
  EXPECT_FLOAT_EQ(joyy[1], 0.125f);
  EXPECT_FLOAT_EQ(joyz[0], 0.0f);
  EXPECT_FLOAT_EQ(joyz[1], 1.0f);
}

// Ten buttons, a hat and five axes: the shared-trigger layout.
TEST_F(Joysticks, FourteenButtonFiveAxisDeviceUsesTheSharedTriggerLayout) {
  BBJoystickReading r = Raw("Old Pad", 5, 10, 1);
  r.axes[0] = 0.1f;
  r.axes[1] = 0.2f;  // raw y: down positive
  r.axes[2] = 0.6f;
  r.axes[3] = -0.4f;
  r.axes[4] = 0.9f;
  r.buttons[8] = 1;  // left stick click: framework 12
  r.buttons[1] = 1;
  r.hat = BB_HAT_UP | BB_HAT_RIGHT;
  host.devices[0] = r;
  ASSERT_TRUE(Poll(0));
  EXPECT_EQ(Pressed(), (std::vector<int>{1, 9, 10, 12}));
  EXPECT_FLOAT_EQ(joyx[0], 0.1f);
  EXPECT_FLOAT_EQ(joyy[0], -0.2f);
  EXPECT_FLOAT_EQ(joyz[0], 0.6f);
  EXPECT_FLOAT_EQ(joyx[1], 0.9f);
  EXPECT_FLOAT_EQ(joyy[1], -0.4f);
  EXPECT_FLOAT_EQ(joyz[1], -0.6f);  // trigger 1 is the negated third axis
}

TEST_F(Joysticks, OtherDevicesUseTheGenericLayoutWithTheHatAsButtonsEightToEleven) {
  BBJoystickReading r = Raw("Generic USB Joystick", 4, 12, 1);
  r.axes[2] = 0.3f;   // right stick x
  r.axes[3] = 0.7f;   // right stick y
  r.buttons[0] = 1;   // framework 2
  r.buttons[2] = 1;   // framework 1
  r.buttons[7] = 1;   // right trigger
  r.buttons[11] = 1;  // framework 13
  r.hat = BB_HAT_LEFT | BB_HAT_DOWN;
  host.devices[0] = r;
  ASSERT_TRUE(Poll(0));
  EXPECT_EQ(Pressed(), (std::vector<int>{1, 2, 8, 11, 13}));
  EXPECT_FLOAT_EQ(joyx[1], 0.3f);
  EXPECT_FLOAT_EQ(joyy[1], 0.7f);
  EXPECT_FLOAT_EQ(joyz[0], 0.0f);
  EXPECT_FLOAT_EQ(joyz[1], 1.0f);
}

TEST_F(Joysticks, SmallDevicesReadMissingButtonsAndAxesAsReleased) {
  BBJoystickReading r = Raw("Two Button Stick", 2, 3, 0);
  r.buttons[0] = r.buttons[1] = r.buttons[2] = 1;
  r.axes[0] = -1.0f;
  host.devices[0] = r;
  ASSERT_TRUE(Poll(0));
  // Sources 1, 2 and 0 exist; "n - 4" would point before the first button.
  EXPECT_EQ(Pressed(), (std::vector<int>{0, 1, 2, 9, 10, 11}));
  EXPECT_FLOAT_EQ(joyx[0], -1.0f);
  EXPECT_FLOAT_EQ(joyx[1], 0.0f);
  EXPECT_FLOAT_EQ(joyy[1], 0.0f);

  // Arrays shorter than a joystick state are filled as far as they go.
  Array<float> one(1);
  Array<bool> few(4);
  EXPECT_TRUE(host.PollJoystick(0, one, one, Array<float>(), few));
  EXPECT_FLOAT_EQ(one[0], 0.0f);  // joyy[0] written last
  EXPECT_TRUE(few[0]);
}

}  // namespace
