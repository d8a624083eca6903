// Controllers: which devices become player ports, and how raw devices and
// known gamepads land on the framework's sticks and buttons.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include "test_host.h"

namespace {

BBJoystickReading Raw(const char* name, int axes, int buttons, int hats, bool gamepad = false) {
  BBJoystickReading r;
  r.present = true, r.name = name, r.gamepad = gamepad;
  r.axisCount = axes, r.buttonCount = buttons, r.hatCount = hats;
  return r;
}

class Joysticks : public ::testing::Test {
 protected:
  bool Poll(int unit) { return host.PollJoystick(unit, joyx, joyy, joyz, buttons); }
  std::vector<int> Pressed() {
    std::vector<int> out;
    for (int b = 0; b < 32; ++b)
      if (buttons[b]) out.push_back(b);
    return out;
  }
  TestHost host;
  Array<float> joyx{2}, joyy{2}, joyz{2};
  Array<bool> buttons{32};
};

TEST_F(Joysticks, ControllersTakePortsInDeviceOrderAndNothingElseDoes) {
  host.devices[0] = Raw("SynPS/2 Synaptics TouchPad", 12, 5, 0);
  host.devices[1] = Raw("Wacom Intuos Pen", 8, 3, 0);
  host.devices[2] = Raw("Generic USB Joystick", 4, 12, 1);
  host.devices[3] = Raw("Sony Wireless Controller Motion Sensors", 6, 2, 0);
  host.devices[5] = Raw("Xbox Controller", 6, 11, 1, true);
  host.devices[2].buttons[3] = host.devices[5].padButtons[GLFW_GAMEPAD_BUTTON_START] = 1;
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
  host.devices[9] = Raw("Late Pad", 6, 11, 1, true);
  EXPECT_FALSE(Poll(2));
  auto pollAll = [&] { return std::vector<bool>{Poll(0), Poll(1), Poll(2), Poll(3)}; };
  EXPECT_EQ(pollAll(), (std::vector<bool>{true, true, true, false}));
  host.devices[2] = BBJoystickReading();  // unplugged
  EXPECT_EQ(pollAll(), (std::vector<bool>{true, true, false, false}));
}

// A known gamepad lands by meaning (its raw buttons do not count); raw
// devices read their y axes down as positive, and the framework up.
TEST_F(Joysticks, LayoutsLandOnSticksAndButtons) {
  using G = std::vector<int>;
  const struct {
    BBJoystickReading device;
    std::vector<float> axes;
    G held;
    unsigned char hat;
    G pressed;
    std::vector<float> sticks;  // x0, y0, trigger0, x1, y1, trigger1
  } rows[] = {
      {Raw("Wireless Controller", 6, 11, 1, true), {0.5f, -0.75f, -0.25f, 0.125f, -1, 1},
       G{GLFW_GAMEPAD_BUTTON_A, GLFW_GAMEPAD_BUTTON_Y, GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER, GLFW_GAMEPAD_BUTTON_BACK,
         GLFW_GAMEPAD_BUTTON_GUIDE, GLFW_GAMEPAD_BUTTON_DPAD_UP, GLFW_GAMEPAD_BUTTON_DPAD_LEFT,
         GLFW_GAMEPAD_BUTTON_RIGHT_THUMB},
       0, {0, 3, 5, 6, 8, 9, 13, 14}, {0.5f, 0.75f, 0, -0.25f, 0.125f, 1}},
      // Ten buttons, five axes sharing one trigger axis, and a hat.
      {Raw("Old Pad", 5, 10, 1), {0.1f, 0.2f, 0.6f, -0.4f, 0.9f}, {1, 8}, BB_HAT_UP | BB_HAT_RIGHT,
       {1, 9, 10, 12}, {0.1f, -0.2f, 0.6f, 0.9f, -0.4f, -0.6f}},
      // The generic layout: the hat as buttons eight to eleven.
      {Raw("Generic USB Joystick", 4, 12, 1), {0, 0, 0.3f, 0.7f}, {0, 2, 7, 11}, BB_HAT_LEFT | BB_HAT_DOWN,
       {1, 2, 8, 11, 13}, {0, -0.0f, 0, 0.3f, 0.7f, 1}},
      // Three buttons, no hat: sources before the first button read released.
      {Raw("Two Button Stick", 2, 3, 0), {0, 0}, {0, 1, 2}, 0, {0, 1, 2, 9, 10, 11}, {0, -0.0f, 0, 0, 0, 0}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.device.name);
    BBJoystickReading r = row.device;
    std::copy(row.axes.begin(), row.axes.end(), r.gamepad ? r.padAxes : r.axes);
    for (int b : row.held) (r.gamepad ? r.padButtons : r.buttons)[b] = 1;
    r.buttons[0] |= r.gamepad, r.hat = row.hat;
    host.devices[0] = r;
    for (int b = 0; b < 32; ++b) buttons[b] = true;  // stale state is cleared
    ASSERT_TRUE(Poll(0));
    EXPECT_EQ(Pressed(), row.pressed);
    EXPECT_EQ((std::vector<float>{joyx[0], joyy[0], joyz[0], joyx[1], joyy[1], joyz[1]}), row.sticks);
  }
}

}  // namespace
