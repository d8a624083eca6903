// Controllers: which devices become player ports, and how raw devices and
// known gamepads land on the framework's sticks and buttons.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include "test_host.h"

namespace {

BBJoystickReading Raw(const char* name, int axes, int buttons, int hats) {
  BBJoystickReading r;
  r.present = true;
  r.name = name;
  r.axisCount = axes;
  r.buttonCount = buttons;
  r.hatCount = hats;
  return r;
}

BBJoystickReading Pad(const char* name) {
  BBJoystickReading r = Raw(name, 6, 11, 1);
  r.gamepad = true;
  r.padAxes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] = r.padAxes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = -1;
  return r;
}

class Joysticks : public ::testing::Test {
 protected:
  bool Poll(int unit) { return host.PollJoystick(unit, joyx, joyy, joyz, buttons); }
  // The ports as the framework polls them in one update.
  std::vector<bool> PollAll() {
    std::vector<bool> present;
    for (int unit = 0; unit < 4; ++unit) present.push_back(Poll(unit));
    return present;
  }
  std::vector<int> Pressed() {
    std::vector<int> out;
    for (int b = 0; b < 32; ++b) {
      if (buttons[b]) out.push_back(b);
    }
    return out;
  }
  // Sticks as x0, y0, trigger0, x1, y1, trigger1.
  std::vector<float> Sticks() { return {joyx[0], joyy[0], joyz[0], joyx[1], joyy[1], joyz[1]}; }

  TestHost host;
  Array<float> joyx{2}, joyy{2}, joyz{2};
  Array<bool> buttons{32};
};

TEST_F(Joysticks, ControllersTakePortsInDeviceOrderAndNothingElseDoes) {
  host.devices[0] = Raw("SynPS/2 Synaptics TouchPad", 12, 5, 0);
  host.devices[1] = Raw("Wacom Intuos Pen", 8, 3, 0);
  host.devices[2] = Raw("Generic USB Joystick", 4, 12, 1);
  host.devices[3] = Raw("Sony Wireless Controller Motion Sensors", 6, 2, 0);
  host.devices[5] = Pad("Xbox Controller");
  host.devices[2].buttons[3] = 1;
  host.devices[5].padButtons[GLFW_GAMEPAD_BUTTON_START] = GLFW_PRESS;
  EXPECT_TRUE(Poll(0));
  EXPECT_EQ(Pressed(), std::vector<int>{3});
  EXPECT_TRUE(Poll(1));
  EXPECT_EQ(Pressed(), std::vector<int>{7});
  // An empty port answers false and leaves the caller's arrays alone.
  joyx[0] = 0.25f;
  EXPECT_FALSE(Poll(2));
  EXPECT_EQ(joyx[0], 0.25f);
  EXPECT_EQ(Pressed(), std::vector<int>{7});

  // Plugged in while running: picked up when unit 0 is polled next.
  host.devices[9] = Pad("Late Pad");
  EXPECT_FALSE(Poll(2));
  EXPECT_EQ(PollAll(), (std::vector<bool>{true, true, true, false}));
  host.devices[2] = BBJoystickReading();  // unplugged
  EXPECT_EQ(PollAll(), (std::vector<bool>{true, true, false, false}));
}

TEST_F(Joysticks, GamepadButtonsSticksAndTriggersLandByMeaning) {
  BBJoystickReading pad = Pad("Wireless Controller");
  for (int b : {GLFW_GAMEPAD_BUTTON_A, GLFW_GAMEPAD_BUTTON_Y, GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER,
                GLFW_GAMEPAD_BUTTON_BACK, GLFW_GAMEPAD_BUTTON_GUIDE, GLFW_GAMEPAD_BUTTON_DPAD_UP,
                GLFW_GAMEPAD_BUTTON_DPAD_LEFT, GLFW_GAMEPAD_BUTTON_RIGHT_THUMB}) {
    pad.padButtons[b] = GLFW_PRESS;
  }
  const float axes[6] = {0.5f, -0.75f, -0.25f, 0.125f, -1.0f, 1.0f};  // left y pushed up
  std::copy(axes, axes + 6, pad.padAxes);
  pad.buttons[0] = 1;  // raw buttons do not count for a known layout
  host.devices[0] = pad;
  for (int b = 0; b < 32; ++b) buttons[b] = true;  // stale state is cleared
  ASSERT_TRUE(Poll(0));
  EXPECT_EQ(Pressed(), (std::vector<int>{0, 3, 5, 6, 8, 9, 13, 14}));
  // Left y reads up as positive, as the raw layouts do; triggers 0 to 1.
  EXPECT_EQ(Sticks(), (std::vector<float>{0.5f, 0.75f, 0.0f, -0.25f, 0.125f, 1.0f}));
}

TEST_F(Joysticks, FourteenButtonsAndFiveAxesShareOneTriggerAxis) {
  BBJoystickReading r = Raw("Old Pad", 5, 10, 1);  // ten buttons and a hat
  const float axes[5] = {0.1f, 0.2f, 0.6f, -0.4f, 0.9f};  // raw y axes read down as positive
  std::copy(axes, axes + 5, r.axes);
  r.buttons[1] = r.buttons[8] = 1;
  r.hat = BB_HAT_UP | BB_HAT_RIGHT;
  host.devices[0] = r;
  ASSERT_TRUE(Poll(0));
  EXPECT_EQ(Pressed(), (std::vector<int>{1, 9, 10, 12}));
  EXPECT_EQ(Sticks(), (std::vector<float>{0.1f, -0.2f, 0.6f, 0.9f, -0.4f, -0.6f}));
}

TEST_F(Joysticks, OtherDevicesUseTheGenericLayoutWithTheHatAsButtonsEightToEleven) {
  BBJoystickReading r = Raw("Generic USB Joystick", 4, 12, 1);
  r.axes[2] = 0.3f;
  r.axes[3] = 0.7f;
  r.buttons[0] = r.buttons[2] = r.buttons[7] = r.buttons[11] = 1;
  r.hat = BB_HAT_LEFT | BB_HAT_DOWN;
  host.devices[0] = r;
  ASSERT_TRUE(Poll(0));
  EXPECT_EQ(Pressed(), (std::vector<int>{1, 2, 8, 11, 13}));
  EXPECT_EQ(Sticks(), (std::vector<float>{0.0f, -0.0f, 0.0f, 0.3f, 0.7f, 1.0f}));

  // Three buttons, no hat: sources before the first button read released.
  r = Raw("Two Button Stick", 2, 3, 0);
  r.buttons[0] = r.buttons[1] = r.buttons[2] = 1;
  host.devices[0] = r;
  ASSERT_TRUE(Poll(0));
  EXPECT_EQ(Pressed(), (std::vector<int>{0, 1, 2, 9, 10, 11}));
}

}  // namespace
