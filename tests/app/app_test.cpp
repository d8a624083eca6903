// The app module as the game meets it through the host: devices and device
// size, per-update input snapshots (keys, pointer, controllers), drawing
// frames, display modes, the random generator, and how the program ends.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/gamedelegate.h"
#include "audio/audio.h"
#include "graphics/graphics.h"
#include "support/child_process.h"
#include "support/fake_host.h"

namespace {

using Log = std::vector<std::string>;

// Logs each call with what the app could see then; an update lists every key
// hit (with a count above one) or held, and the characters typed.
struct TestApp : c_App {
  Log log;

  int p_OnCreate() override {
    bool ready = bb_input_device && bb_graphics_device && bb_audio_device && bb_app__desktopMode;
    return note(ready ? "create" : "create without devices");
  }
  int p_OnSuspend() override { return note("suspend"); }
  int p_OnResume() override { return note("resume"); }
  int p_OnUpdate() override {
    std::string entry = "update";
    for (int key = 1; key < 512; ++key) {
      int hits = bb_input_KeyHit(key);
      if (hits) entry += " hit" + std::to_string(key) + (hits > 1 ? "x" + std::to_string(hits) : "");
      if (bb_input_KeyDown(key)) entry += " down" + std::to_string(key);
    }
    while (int chr = bb_input_GetChar()) entry += " char" + std::to_string(chr);
    return note(entry);
  }
  int p_OnRender() override {
    bool drawing = bb_graphics_renderDevice == bb_app__delegate->m_graphics;
    return note(drawing ? "render" : "render outside a frame");
  }
  int note(const std::string& what) {
    log.push_back(what + " " + std::to_string(bb_app_DeviceWidth()) + "x" +
                  std::to_string(bb_app_DeviceHeight()));
    return 0;
  }
};

// As the program does: the modules first, then the one app.
TestApp* newApp() {
  gc_init();
  bb_app_Init();
  bb_graphics_Init();
  return static_cast<TestApp*>((new TestApp)->m_new());
}

struct AppTest : ::testing::Test {
  FakeHost host;
  TestApp* app = newApp();
  AppTest() { host.StartGame(); }  // every test starts from a started game

  // Key events (+key pressed, -key released), then one update; returns its entry.
  // Presses skip the delegate, whose close and back would end this process.
  std::string update(std::initializer_list<int> keys = {}) {
    for (int key : keys) bb_input_device->p_KeyEvent(key > 0 ? 1 : 2, std::abs(key));
    host.UpdateGame();
    return app->log.back();
  }
};

TEST_F(AppTest, CallsReachTheAppInOrderWithThatMomentsState) {
  update();
  host.width = 900;
  EXPECT_EQ(bb_app_DeviceWidth(), 640);  // sizes change only at an update or render
  host.RenderGame();
  host.height = 700;
  update();
  host.SuspendGame();
  host.RenderGame();
  host.ResumeGame();
  update({+65});
  EXPECT_EQ(app->log, (Log{"create 640x480", "update 640x480", "render 900x480", "update 900x700",
                           "suspend 900x700", "render 900x700", "resume 900x700", "update hit65 down65 900x700"}));
  host.MotionEvent(10, 0, 1, 2, 3);
  EXPECT_TRUE(bb_graphics_renderDevice == nullptr && bb_input_AccelX() == 1 && bb_input_AccelY() == 2);
}

// Display modes keep the first of each size in host order. What the framework
// keeps must stay reachable for the collector: a block it wrongly retires is
// handed out again to new objects of that size.
TEST_F(AppTest, DisplayModesAndFrameworkStateSurviveCollectionCycles) {
  host.modes = {{640, 480}, {800, 600}, {640, 480}, {1024, 768}, {800, 600}, {600, 800}, {40000, 2}};
  host.desktopWidth = 1280;
  bb_app_EnumDisplayModes();
  for (int cycle = 0; cycle < 3; ++cycle) {
    Array<int> garbage(3 << 20);  // more than one cycle's allocation budget
    host.RenderGame();            // every delegate call ends with a collector step
  }
  for (int i = 0; i < 2000; ++i) {
    gc_object* fresh = i % 50 ? static_cast<gc_object*>((new c_DisplayMode)->m_new(0, 0))
                       : i % 100 ? static_cast<gc_object*>((new c_InputDevice)->m_new()) : new TestApp;
    ASSERT_TRUE(fresh != bb_app__displayModes[1] && fresh != bb_app__desktopMode && fresh != bb_input_device &&
                fresh != bb_app__app);
  }
  std::vector<std::pair<int, int>> got;
  for (c_DisplayMode* mode : bb_app__displayModes) got.emplace_back(mode->m_width, mode->m_height);
  EXPECT_EQ(got, (std::vector<std::pair<int, int>>{{640, 480}, {800, 600}, {1024, 768}, {600, 800}, {40000, 2}}));
  EXPECT_EQ(bb_app__desktopMode->m_width, 1280);
  host.joysticks.resize(1);
  host.joysticks[0].buttons[3] = true;
  EXPECT_EQ(update({+65}), "update hit65 down65 hit259 down259 640x480");

  // No modes and no desktop: the window's size stands in for the desktop.
  host.modes.clear();
  host.hasDesktop = false;
  bb_app_EnumDisplayModes();
  EXPECT_TRUE(bb_app__displayModes.Length() == 0 && bb_app__desktopMode->m_width == 640 &&
              bb_app__desktopMode->m_height == 480);
}

TEST_F(AppTest, KeysAndCharactersLastOneUpdateAndFullQueuesDropTheRest) {
  // A tap, two presses, an auto-repeated hold and a lone release.
  EXPECT_EQ(update({+65, -65, +66, -66, +66, +67, +67, +67, -68}),
            "update hit65 hit66x2 down66 hit67 down67 640x480");
  EXPECT_EQ(update({-66, -67}), "update 640x480");

  std::string chars = "update";
  for (int i = 0; i < 40; ++i) host.KeyEvent(3, 65536 + i);
  for (int i = 0; i < 32; ++i) chars += " char" + std::to_string(65536 + i);
  EXPECT_EQ(update(), chars + " 640x480");
  // 33 hits fit; a press beyond them must not leave a count the update cannot clear.
  for (int key = 65; key < 65 + 34; ++key) bb_input_device->p_KeyEvent(1, key);
  std::string first = update({-65, +65, +3});
  EXPECT_EQ(first.rfind("update down3 hit65 down65 hit66 down66", 0), 0u) << first;
  EXPECT_NE(first.find(" hit97 down97 down98 640x480"), std::string::npos) << first;
  EXPECT_EQ(update().find("hit"), std::string::npos);
}

TEST_F(AppTest, LeftButtonAndFirstFingerMirrorEachOther) {
  host.MouseEvent(4, 1, 5, 6);  // the right button is a key of its own
  host.MouseEvent(4, 0, 10, 20);
  host.MouseEvent(6, -1, 30, 40);
  host.MouseEvent(5, 0, 99, 99);  // a release keeps the position
  EXPECT_EQ(update(), "update hit1 hit2 down2 hit384 640x480");
  EXPECT_TRUE(bb_input_TouchX(0) == 30 && bb_input_TouchY(0) == 40);
  host.TouchEvent(7, 0, 50, 60);
  host.TouchEvent(7, 3, 70, 80);  // other fingers leave the mouse be
  host.TouchEvent(9, 3, 71, 81);
  EXPECT_EQ(update(), "update hit1 down1 down2 hit384 down384 hit387 down387 640x480");
  EXPECT_TRUE(bb_input_MouseX() == 50 && bb_input_MouseY() == 60 && bb_input_TouchX(3) == 71);
  host.TouchEvent(8, 0, 0, 0);
  EXPECT_FALSE(bb_input_MouseDown(0));
}

TEST_F(AppTest, OutOfRangeCodesAreIgnoredButTheEdgesAreLive) {
  for (int key : {0, 512, -7, 511}) bb_input_device->p_KeyEvent(1, key);
  for (int finger : {32, -1, 31}) host.TouchEvent(7, finger, 5, 6);
  host.MouseEvent(4, 2147483647, 1, 2);
  EXPECT_EQ(update(), "update hit415 down415 hit511 down511 640x480");
  EXPECT_TRUE(bb_input_MouseDown(510) && bb_input_TouchDown(127) && bb_input_TouchX(31) == 5);
  EXPECT_FALSE(bb_input_MouseHit(2147483647) || bb_input_TouchDown(-2147483647) || bb_input_TouchX(32) ||
               bb_input_TouchY(-1) || bb_input_JoyX(2, 0) || bb_input_JoyY(0, 4));
  bb_input_SetInputDevice(nullptr);  // as before the game starts: nothing is pressed
  EXPECT_FALSE(bb_input_KeyDown(511) || bb_input_GetChar() || bb_input_JoyX(0, 0));
}

// Axes are x, y, z of stick 0, then of stick 1; buttons are keys 256 on, 32 a unit.
TEST_F(AppTest, ControllerReadingsBecomeKeysAndAxesUntilTheFirstMissingUnit) {
  host.joysticks.resize(4);  // as many as players
  host.joysticks[0].buttons[0] = host.joysticks[0].buttons[31] = host.joysticks[1].buttons[2] = true;
  host.joysticks[0].axes[4] = 0.25f;
  host.joysticks[1].axes[0] = 0.75f;
  EXPECT_EQ(update(), "update hit256 down256 hit287 down287 hit290 down290 640x480");
  EXPECT_TRUE(bb_input_JoyY(1, 0) == 0.25f && bb_input_JoyX(0, 1) == 0.75f && bb_input_JoyDown(31, 0) &&
              bb_input_JoyDown(2, 1));
  EXPECT_EQ(update(), "update down256 down287 down290 640x480");  // held: no new hits
  host.joysticks[0].buttons[0] = false;
  host.joysticks.resize(1);  // a unit that disappears keeps its last state
  EXPECT_EQ(update(), "update down287 down290 640x480");
  EXPECT_EQ(bb_input_JoyX(0, 1), 0.75f);
  EXPECT_EQ(host.polledUnits, (std::vector<int>{0, 1, 2, 3, 0, 1, 2, 3, 0, 1}));
}

// Saved replays and seeds rely on the exact sequence: draws are numerators
// over 2^24 after the seed, then the seed they leave behind.
TEST(RandomTest, EachSeedGivesItsFixedSequence) {
  const int rows[][5] = {{1234, 11984094, 3473103, 12575225, -1075709661},
                         {INT_MAX, 12342669, 11540428, 10650604, -1568412588}};
  for (const auto& row : rows) {
    bb_random_Seed = row[0];
    for (int i = 1; i < 4; ++i) EXPECT_EQ(bb_random_Rnd() * 16777216.0f, float(row[i])) << row[0];
    EXPECT_EQ(bb_random_Seed, row[4]);
  }
  bb_random_Init();
  EXPECT_FLOAT_EQ(bb_random_Rnd2(-4, 6), 11984094 * 10 / 16777216.0f - 4);  // one step from 1234
  EXPECT_TRUE(bb_math_Abs(-7) == 7 && bb_math_Abs(INT_MIN) == INT_MIN && bb_math_Max(-3, -9) == -3);
}

TEST(AppExitTest, SecondAppIsAnErrorAndCloseOrBackEndsNormally) {
  ExpectRuntimeError([] { FakeHost host; newApp(); (new TestApp)->m_new(); }, "App has already been created");
  // Close and back end the program, also when held; other keys and releases do not.
  const int rows[][4] = {{1, 432, 0, 0}, {1, 416, 0, 0}, {1, 432, 1, 0}, {1, 65, 0, 101}, {2, 432, 1, 100}};
  for (const auto& row : rows) {  // event, key, held before, exit status (100 + the key's state)
    EXPECT_EQ(RunInChild([&row] {
                FakeHost host;
                newApp();
                host.StartGame();
                if (row[2]) bb_input_device->p_KeyEvent(1, row[1]);
                host.KeyEvent(row[0], row[1]);
                exit(100 + bb_input_KeyDown(row[1]));
              }).status, row[3]) << row[0] << " " << row[1];
  }
}

}  // namespace
