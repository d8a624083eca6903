// The host between window and game, on a clock the test controls: routing
// and the collector step, the frame loop's schedule (fixed rate, four-update
// cap, re-basing), and controllers on player ports, sticks and buttons.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <map>

#include "support/child_process.h"
#include "test_host.h"

namespace {

// Garbage the game makes, 4 KB a piece.
struct Probe : Object {
  static inline int destroyed = 0;
  bool* gone = nullptr;
  int payload[1000] = {};
  ~Probe() override { ++destroyed, gone && (*gone = true); }
};
struct Thrown : ThrowableObject {};

BBJoystickReading Raw(const char* name, int axes, int buttons, int hats, bool gamepad = false) {
  BBJoystickReading r;
  r.present = true, r.name = name, r.gamepad = gamepad;
  r.axisCount = axes, r.buttonCount = buttons, r.hatCount = hats;
  return r;
}

const double kPeriod = 1.0 / 60;
using PerPass = std::vector<int>;  // a count for each pass

struct Host : ::testing::Test {
  void SetUp() override {
    delegate->log = host.log = &log;
    host.SetDelegate(delegate);
    delegate->onUpdate = [this] {
      updateTimes.push_back(host.clock);
      if (onUpdate) onUpdate(int(updateTimes.size()));
    };
    delegate->onRender = [this] { host.clock += renderCost(++renders); };
  }
  // Runs `passes` passes; returns how often each logged each entry.
  std::map<std::string, PerPass> Run(int passes) {
    host.passLimit = passes, host.Run();
    std::map<std::string, PerPass> counts;
    int pass = -1;
    for (const std::string& e : log)
      if (e == "pass") ++pass;
      else if (pass >= 0) counts.emplace(e, PerPass(passes)).first->second[pass]++;
    return counts;
  }
  bool Poll(int unit) { return host.PollJoystick(unit, joyx, joyy, joyz, buttons); }
  std::vector<int> Pressed() {
    std::vector<int> out;
    for (int b = 0; b < 32; ++b) buttons[b] ? out.push_back(b) : void();
    return out;
  }

  TestHost host;
  RecordingDelegate* delegate = new RecordingDelegate;
  Lines log;
  std::vector<double> updateTimes;
  std::function<void(int)> onUpdate;
  std::function<double(int)> renderCost = [](int) { return 0.001; };
  int renders = 0;
  Array<float> joyx{2}, joyy{2}, joyz{2};
  Array<bool> buttons{32};
};

TEST_F(Host, GuardsFollowTheLifecycle) {
  auto sendEverything = [&] {
    host.UpdateGame(), host.RenderGame(), host.KeyEvent(1, 65), host.MouseEvent(4, 0, 10, 20);
    host.TouchEvent(7, 1, 0, 0), host.DiscardGraphics();
  };
  sendEverything(), host.SuspendGame(), host.ResumeGame();  // nothing before the start
  host.StartGame(), host.StartGame(), host.ResumeGame();     // not suspended: nothing to resume
  host.SuspendGame(), host.SuspendGame(), sendEverything();  // suspended: all but the update
  host.ResumeGame(), host.ResumeGame(), host.UpdateGame();
  EXPECT_EQ(log, (Lines{"start", "suspend", "render", "key 1 65", "mouse 4 0 10 20", "touch 7 1", "discard",
                        "resume", "update"}));
}

// The delegate, held only by the host, survives every cycle; a key released
// inside an update (a window re-open) must not sweep the update's locals.
TEST_F(Host, CollectorStepsAfterCallsOnlyAndKeepsTheDelegate) {
  bool delegateGone = false, heldGone = false;
  delegate->destroyed = &delegateGone;
  delegate->onUpdate = [] { for (int i = 0; i < 100; ++i) new Probe; };
  host.StartGame();
  for (int i = 0; i < 400; ++i) host.UpdateGame();  // about 160 MB of garbage
  EXPECT_TRUE(!delegateGone && Probe::destroyed > 20000) << Probe::destroyed;
  delegate->onUpdate = [&] {
    Probe* held = new Probe;
    held->gone = &heldGone;
    for (int i = 0; i < 3000; ++i) new Probe;  // 12 MB: a cycle is due
    host.KeyEvent(2, 65);
    for (int i = 0; i < 3000; ++i) new Probe;  // destroys whatever was swept
    EXPECT_FALSE(heldGone);
    held->gone = nullptr;
  };
  host.UpdateGame();
  delegate->destroyed = nullptr;
  delegate->onUpdate = [] { throw new Thrown; };  // caught as its base
  ExpectRuntimeError([&] { host.UpdateGame(); }, "Uncaught Quill Exception");
}

TEST_F(Host, SlowFramesCatchUpAtMostFourUpdatesThenDropTheBacklog) {
  host.SetUpdateRate(60);
  // Three updates fall due during render 5, nine during render 10.
  renderCost = [](int n) { return n == 5 ? 3.5 * kPeriod : n == 10 ? 9.5 * kPeriod : 0.001; };
  auto counts = Run(13);
  EXPECT_EQ(counts["update"], (PerPass{1, 1, 1, 1, 3, 1, 1, 1, 1, 4, 1, 1, 1}));
  // Between, one update a period apart; after a slow frame the schedule
  // restarts from the current time: no sleep, no further catching up.
  EXPECT_EQ(counts["sleep"], (PerPass{0, 1, 1, 1, 0, 1, 1, 1, 1, 0, 0, 1, 1}));
  EXPECT_NEAR(updateTimes[2] - updateTimes[1], kPeriod, 1e-9);
  EXPECT_NEAR(updateTimes[15] - updateTimes[14], 0.001, 1e-9);
  EXPECT_NEAR(updateTimes[16] - updateTimes[15], kPeriod, 1e-9);
}

TEST_F(Host, RateChangeInsideAnUpdateSkipsTheRestOfThePass) {
  host.SetUpdateRate(60);
  renderCost = [](int n) { return n == 3 ? 3.5 * kPeriod : 0.001; };
  onUpdate = [this](int n) {
    if (n == 4) host.SetUpdateRate(30);  // second update of pass 3
    if (n == 7) host.SetUpdateRate(0);
  };
  auto counts = Run(9);
  EXPECT_EQ(host.windows, Lines{"640 480 8 8 8 0 0 0 0"});  // the window opened before the start
  EXPECT_EQ(log[0], "start");
  // At rate 0 (set in pass 6): one update per pass, no sleeping.
  EXPECT_EQ(counts["update"], (PerPass{1, 1, 2, 1, 1, 1, 1, 1, 1}));
  EXPECT_EQ(counts["sleep"], (PerPass{0, 1, 0, 0, 1, 1, 0, 0, 0}));
  EXPECT_NEAR(updateTimes[5] - updateTimes[4], 1.0 / 30, 1e-9);
}

// Suspended passes still render but block instead of polling and do not
// update; seconds went by, yet the resumed game does not catch up.
TEST_F(Host, FocusLossSuspendsOnceAndFocusReturnResumesOnceWithAFreshSchedule) {
  host.SetUpdateRate(60);
  host.waitCost = 1.0;  // every blocking wait takes a second
  int events = 0;
  host.onEvents = [&] { ++events == 3 || events == 7 ? host.active = !host.active : false; };
  auto counts = Run(9);
  EXPECT_EQ(counts["suspend"], (PerPass{0, 0, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(counts["resume"], (PerPass{0, 0, 0, 0, 0, 0, 1, 0, 0}));
  EXPECT_EQ(counts["render"], PerPass(9, 1));
  EXPECT_EQ(counts["wait"], (PerPass{0, 0, 0, 1, 1, 1, 1, 0, 0}));
  EXPECT_EQ(counts["update"], (PerPass{1, 1, 0, 0, 0, 0, 1, 1, 1}));
}

TEST_F(Host, ControllersTakePortsInDeviceOrderAndNothingElseDoes) {
  host.devices[0] = Raw("SynPS/2 Synaptics TouchPad", 12, 5, 0);
  host.devices[1] = Raw("Wacom Intuos Pen", 8, 3, 0);
  host.devices[2] = Raw("Generic USB Joystick", 4, 12, 1);
  host.devices[3] = Raw("Sony Wireless Controller Motion Sensors", 6, 2, 0);
  host.devices[5] = Raw("Xbox Controller", 6, 11, 1, true);
  host.devices[2].buttons[3] = host.devices[5].padButtons[GLFW_GAMEPAD_BUTTON_START] = 1;
  auto pressed = [&](int unit) { return Poll(unit) ? Pressed() : std::vector<int>{-1}; };
  EXPECT_EQ(pressed(0), std::vector<int>{3});
  EXPECT_EQ(pressed(1), std::vector<int>{7});
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
TEST_F(Host, LayoutsLandOnSticksAndButtons) {
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
