// Application lifecycle: the delegate between a host and the application,
// display-mode enumeration and the app module's host services.
#include <gtest/gtest.h>

#include <cstdio>
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

// Records each framework call with what the input and drawing state
// looked like at that moment.
class TestApp : public c_App {
 public:
  Log log;

  int p_OnCreate() override { return note("create"); }
  int p_OnSuspend() override { return note("suspend"); }
  int p_OnResume() override { return note("resume"); }
  int p_OnUpdate() override {
    std::string entry = "update hit" + std::to_string(bb_input_KeyHit(65));
    entry += bb_input_KeyDown(65) ? " down" : " up";
    if (int chr = bb_input_GetChar()) entry += " char" + std::to_string(chr);
    return note(entry);
  }
  int p_OnRender() override {
    bool drawing = bb_graphics_renderDevice && bb_graphics_renderDevice == bb_app__delegate->m_graphics;
    return note(drawing ? "render" : "render outside a frame");
  }
  int note(const std::string& what) {
    log.push_back(what + " w" + std::to_string(bb_app_DeviceWidth()));
    return 0;
  }
};

// The module initialisers the program runs before it creates its app.
void initModules() {
  bb_app_Init();
  bb_graphics_Init();
}

class AppTest : public ::testing::Test {
 protected:
  FakeHost host;
  TestApp* app = nullptr;

  void SetUp() override {
    gc_init();
    initModules();
    app = new TestApp;
    app->m_new();
  }

  Log takeLog() {
    Log out;
    out.swap(app->log);
    return out;
  }
};

TEST_F(AppTest, StartGameInstallsTheDevicesBeforeOnCreate) {
  ASSERT_NE(bb_app__delegate, nullptr);
  EXPECT_EQ(host.Delegate(), bb_app__delegate);
  EXPECT_EQ(bb_app__delegate->m_input, nullptr);
  host.width = 800;
  host.StartGame();
  c_GameDelegate* delegate = bb_app__delegate;
  ASSERT_NE(delegate->m_input, nullptr);
  EXPECT_EQ(bb_graphics_device, delegate->m_graphics);
  EXPECT_EQ(bb_audio_device, delegate->m_audio);
  EXPECT_EQ(bb_input_device, delegate->m_input);
  EXPECT_EQ(bb_app_DeviceHeight(), 480);
  EXPECT_EQ(takeLog(), (Log{"create w800"}));
}

TEST_F(AppTest, UpdatesSeeEventsOnceAndRendersDrawInsideAFrame) {
  host.StartGame();
  takeLog();
  host.KeyEvent(1, 65);
  host.KeyEvent(3, 'a');
  host.UpdateGame();
  host.UpdateGame();  // a catch-up update in the same pass sees no new hits
  host.KeyEvent(2, 65);
  host.RenderGame();
  host.UpdateGame();
  EXPECT_EQ(takeLog(), (Log{"update hit1 down char97 w640", "update hit0 down w640", "render w640",
                            "update hit0 up w640"}));
  EXPECT_EQ(bb_graphics_renderDevice, nullptr);

  host.MouseEvent(4, 0, 12, 34);
  EXPECT_TRUE(bb_input_TouchDown(0));
  host.MotionEvent(10, 0, 1, 2, 3);
  EXPECT_FLOAT_EQ(bb_input_AccelY(), 2);
  host.KeyEvent(2, 432);  // releasing the close key ends nothing
  host.DiscardGraphics();
}

TEST_F(AppTest, DeviceSizeChangesOnlyAtTheNextUpdateOrRender) {
  host.StartGame();
  takeLog();
  host.width = 1024;
  EXPECT_EQ(bb_app_DeviceWidth(), 640);
  host.UpdateGame();
  EXPECT_EQ(bb_app_DeviceWidth(), 1024);
  host.width = 900;
  host.height = 700;
  host.RenderGame();
  EXPECT_EQ(bb_app_DeviceHeight(), 700);
  EXPECT_EQ(takeLog(), (Log{"update hit0 up w1024", "render w900"}));
}

TEST_F(AppTest, SuspendAndResumeReachTheAppAndHoldUpdatesBack) {
  host.StartGame();
  takeLog();
  host.SuspendGame();
  host.UpdateGame();
  host.RenderGame();
  host.KeyEvent(1, 65);
  host.ResumeGame();
  host.UpdateGame();
  EXPECT_EQ(takeLog(), (Log{"suspend w640", "render w640", "resume w640", "update hit1 down w640"}));
}

TEST_F(AppTest, DisplayModesKeepTheFirstOfEachSizeInHostOrder) {
  host.modes = {{640, 480}, {800, 600}, {640, 480}, {1024, 768}, {800, 600}, {600, 800}, {40000, 2}};
  host.desktopWidth = 1280;
  host.StartGame();
  const int expected[5][2] = {{640, 480}, {800, 600}, {1024, 768}, {600, 800}, {40000, 2}};
  ASSERT_EQ(bb_app__displayModes.Length(), 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(bb_app__displayModes[i]->m_width, expected[i][0]);
    EXPECT_EQ(bb_app__displayModes[i]->m_height, expected[i][1]);
  }
  EXPECT_EQ(bb_app__desktopMode->m_width, 1280);

  // No modes and no desktop: the window's size stands in for the desktop.
  host.modes.clear();
  host.hasDesktop = false;
  bb_app_EnumDisplayModes();
  EXPECT_EQ(bb_app__desktopMode->m_width, 640);
  EXPECT_EQ(bb_app__desktopMode->m_height, 480);
}

// Everything the framework keeps must stay reachable for the collector:
// a block it wrongly retires is handed out again to new objects.
TEST_F(AppTest, FrameworkStateSurvivesCollectionCycles) {
  host.modes = {{800, 600}, {1024, 768}};
  host.joysticks.resize(1);
  host.joysticks[0].buttons[3] = true;
  host.StartGame();
  takeLog();
  host.KeyEvent(1, 65);
  for (int cycle = 0; cycle < 3; ++cycle) {
    Array<int> garbage(3 << 20);  // more than one cycle's allocation budget
    garbage[0] = cycle;
    host.RenderGame();  // every delegate call ends with a collector step
  }
  std::vector<gc_object*> fresh;
  for (int i = 0; i < 2000; ++i) fresh.push_back((new c_DisplayMode)->m_new(0, 0));
  for (int i = 0; i < 20; ++i) fresh.push_back((new c_InputDevice)->m_new());
  for (int i = 0; i < 20; ++i) fresh.push_back(new TestApp);
  for (gc_object* object : fresh) {
    ASSERT_NE(object, bb_app__displayModes[1]);
    ASSERT_NE(object, bb_app__desktopMode);
    ASSERT_NE(object, bb_input_device);
    ASSERT_NE(object, bb_app__app);
  }
  host.UpdateGame();
  EXPECT_TRUE(bb_input_JoyDown(3, 0));
  EXPECT_EQ(takeLog(), (Log{"render w640", "render w640", "render w640", "update hit1 down w640"}));
}

TEST_F(AppTest, HostServicesPassThrough) {
  bb_app_SetUpdateRate(60);
  EXPECT_EQ(host.UpdateRate(), 60);
  host.millis = 123456;
  EXPECT_EQ(bb_app_Millisecs(), 123456);
  bb_app_SaveState(String("settings=1"));
  EXPECT_TRUE(bb_app_LoadState() == String("settings=1"));
}

// Each child builds its own host and app, as the program does.
ChildResult RunApp(const std::function<void(FakeHost&)>& body) {
  return RunInChild([&] {
    gc_init();
    FakeHost host;
    initModules();
    (new TestApp)->m_new();
    body(host);
    exit(3);
  });
}

TEST(AppExitTest, SecondAppIsARuntimeErrorAndCloseOrBackEndsNormally) {
  ChildResult second = RunApp([](FakeHost&) { (new TestApp)->m_new(); });
  EXPECT_EQ(second.status, 255);
  EXPECT_EQ(second.out.rfind("Quill Runtime Error : App has already been created\n", 0), 0u) << second.out;
  struct Press {
    int key;
    bool alreadyDown;
  };
  for (Press press : {Press{432, false}, Press{416, false}, Press{432, true}}) {
    ChildResult r = RunApp([press](FakeHost& host) {
      host.StartGame();
      if (press.alreadyDown) bb_input_device->p_KeyEvent(1, press.key);
      host.KeyEvent(1, press.key);
    });
    EXPECT_EQ(r.status, 0) << press.key;
  }
}

}  // namespace
