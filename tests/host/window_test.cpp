// The real window under a private X server, driven by xdotool: keys,
// characters, mouse buttons, the close button, full screen, and the
// player's controller mappings read line by line.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "host/gamepad_mappings.h"
#include "test_host.h"

// GLFW's X11 accessors, declared here because its native header drags in
// extension headers the tests do not need.
extern "C" Display* glfwGetX11Display(void);
extern "C" ::Window glfwGetX11Window(GLFWwindow* window);

namespace {

struct WindowTest : ::testing::Test {
  // GLFW stays up until the process ends: unloading the GL driver would have
  // LeakSanitizer report its blocks as leaks of an unknown module.
  static void SetUpTestSuite() {
    glfwInitHint(GLFW_JOYSTICK_HAT_BUTTONS, GLFW_FALSE);
    ASSERT_TRUE(glfwInit());
    gc_init();
  }
  void SetUp() override {
    delegate->log = &log, host->SetDelegate(delegate), host->StartGame();
    host->SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    ASSERT_TRUE(WaitUntil([&] { return glfwGetWindowAttrib(host->GlfwWindow(), GLFW_FOCUSED); }));
    log.clear();
  }
  void TearDown() override { delete host; }
  // Pumps window events until `done` holds (or five seconds pass).
  bool WaitUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 500; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10)))
      if (glfwPollEvents(), done()) return true;
    return false;
  }
  // Runs xdotool, then pumps events until `last` has been logged.
  Lines Xdo(const std::string& args, const std::string& last) {
    log.clear();
    EXPECT_EQ(system(("xdotool " + args).c_str()), 0) << args;
    EXPECT_TRUE(WaitUntil([&] { return std::count(log.begin(), log.end(), last) > 0; })) << args;
    return log;
  }
  std::pair<int, int> Position() {
    int x = 0, y = 0;
    return glfwGetWindowPos(host->GlfwWindow(), &x, &y), std::make_pair(x, y);
  }
  std::string WindowId() { return std::to_string(glfwGetX11Window(host->GlfwWindow())); }

  BBGlfwGame* host = new BBGlfwGame;
  RecordingDelegate* delegate = new RecordingDelegate;
  Lines log;
};

// Letters are named by the keyboard layout, not by their place on a US
// keyboard: on a French layout the key labelled A is where a US one has Q.
TEST_F(WindowTest, KeysArriveAsFrameworkCodesWithTheirCharacters) {
  const struct {
    const char *layout, *keys;
    Lines want;
  } rows[] = {
      {"us", "key Left", {"key 1 37", "key 3 65573", "key 2 37"}},
      {"us", "key F11", {"key 1 122", "key 2 122"}},
      {"us", "key KP_Add", {"key 1 107", "key 3 43", "key 2 107"}},
      {"us", "key Alt_L space", {"key 1 32", "key 3 32", "key 2 32"}},  // Alt is no key
      {"fr", "key a", {"key 1 65", "key 3 97", "key 2 65"}},
      {"fr", "key q", {"key 1 81", "key 3 113", "key 2 81"}},
  };
  for (const auto& row : rows) {
    ASSERT_EQ(system((std::string("setxkbmap ") + row.layout).c_str()), 0);
    EXPECT_EQ(Xdo(row.keys, row.want.back()), row.want) << row.layout << " " << row.keys;
  }
  EXPECT_EQ(system("setxkbmap us"), 0);
}

TEST_F(WindowTest, HeldKeyRepeatsItsCharacterButStaysOneKey) {
  Lines held = Xdo("keydown Right sleep 1 keyup Right", "key 2 39");
  // Every press (first or repeated) is a key down followed by its character.
  ASSERT_GE(held.size(), 3u);
  for (size_t i = 0; i + 1 < held.size(); i += 2) EXPECT_EQ(held[i] + " " + held[i + 1], "key 1 39 key 3 65575");
}

// X buttons 1, 2, 3 are left, middle, right; 8 and 9 the mouse's fourth
// and fifth, which the framework does not have.
TEST_F(WindowTest, MouseButtonsZeroToTwoOnly) {
  Xdo("mousemove --window " + WindowId() + " 100 50", "mouse 6 -1 100 50");
  EXPECT_EQ(Xdo("click 3", "mouse 5 1 100 50"), (Lines{"mouse 4 1 100 50", "mouse 5 1 100 50"}));
  EXPECT_EQ(Xdo("click 2", "mouse 5 2 100 50"), (Lines{"mouse 4 2 100 50", "mouse 5 2 100 50"}));
  EXPECT_EQ(Xdo("click 8 click 9 click 1", "mouse 5 0 100 50"), (Lines{"mouse 4 0 100 50", "mouse 5 0 100 50"}));
}

TEST_F(WindowTest, CloseButtonBecomesKey432AndTheWindowStaysOpen) {
  // WM_DELETE_WINDOW, sent the way a window manager sends it.
  Display* display = glfwGetX11Display();
  XEvent event = {};
  XClientMessageEvent& m = event.xclient;
  m.type = ClientMessage, m.window = glfwGetX11Window(host->GlfwWindow()), m.format = 32;
  m.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  m.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
  XSendEvent(display, m.window, False, NoEventMask, &event), XFlush(display);
  ASSERT_TRUE(WaitUntil([&] { return log.size() == 2; }));
  EXPECT_EQ(log, (Lines{"key 1 432", "key 2 432"}));
  EXPECT_FALSE(glfwWindowShouldClose(host->GlfwWindow()));
}

// The window opens centred and titled; going full screen releases held keys
// first, and coming back centres it again.
TEST_F(WindowTest, FullScreenReopenReleasesHeldKeysFirst) {
  EXPECT_EQ(Position(), std::make_pair((1280 - 640) / 2, (1024 - 480) / 2));
  EXPECT_EQ(system(("xdotool search --name '^Larkspin$' | grep -qx " + WindowId()).c_str()), 0);
  BBDisplayMode* desktop = host->GetDesktopMode();
  EXPECT_EQ(std::make_pair(desktop->width, desktop->height), std::make_pair(1280, 1024));
  // Held keys must not auto-repeat into the new window while the test runs.
  XAutoRepeatOff(glfwGetX11Display());
  int seqBefore = glfwGraphicsSeq;
  std::vector<int> seqAtRelease;
  delegate->onKey = [&](int event, int) { event == 2 ? seqAtRelease.push_back(glfwGraphicsSeq) : void(); };
  Xdo("keydown a keydown Shift_L", "key 1 16");
  log.clear();
  host->SetGlfwWindow(1280, 1024, 8, 8, 8, 0, 0, 0, true);
  std::sort(log.begin(), log.end());
  EXPECT_EQ(log, (Lines{"key 2 16", "key 2 65"}));
  // Released while the old window was still the one in use.
  EXPECT_EQ(seqAtRelease, (std::vector<int>{seqBefore, seqBefore}));
  EXPECT_NE(glfwGetWindowMonitor(host->GlfwWindow()), nullptr);
  ASSERT_TRUE(WaitUntil([&] { return glfwGetWindowAttrib(host->GlfwWindow(), GLFW_FOCUSED); }));
  // Letting go afterwards produces nothing: the new window never saw them.
  EXPECT_EQ(Xdo("keyup a keyup Shift_L key b", "key 2 66"), (Lines{"key 1 66", "key 3 98", "key 2 66"}));
  XAutoRepeatOn(glfwGetX11Display());
  host->SetDeviceWindow(800, 600, 0);
  EXPECT_EQ(glfwGetWindowMonitor(host->GlfwWindow()), nullptr);
  EXPECT_EQ(Position(), std::make_pair((1280 - 800) / 2, (1024 - 600) / 2));
}

// Each bad line is named by its source and number, the lines around it
// still count, and a flood is cut off at the allowance.
TEST_F(WindowTest, ControllerMappingsSkipBadLinesAndKeepTheRest) {
  const std::string pad = "03000000de280000ff11000001000000,Pad";
  std::string text = "# mine\n" + pad + ",a:b0,leftx:a0~,lefty:-a1,dpup:h0.1,platform:Linux,\r\n" +
                     pad + ",a:b0\n" + "0300de28,Short,a:b0,\n" + pad + ",a:b256,\n" + pad +
                     ",dpup:h0.3\n" + pad + ",a:q0\n" + pad + ",x\n" + pad + "\n" + pad + "," +
                     std::string(1100, 'n') + ",a:b0\n" + pad + ",a:b0,platform:Windows";
  auto apply = [](std::string in, int* taken) {
    FILE* file = fmemopen(&in[0], in.size(), "r");
    testing::internal::CaptureStderr();
    *taken = BBApplyGamepadMappings(file, "mine", stderr);
    return fclose(file), testing::internal::GetCapturedStderr();
  };
  int taken = 0;
  std::string report = apply(text, &taken);
  EXPECT_EQ(taken, 3);
  for (int line = 4; line <= 10; ++line) EXPECT_NE(report.find("mine:" + std::to_string(line) + ": "), std::string::npos) << report;
  EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 7) << report;
  report = apply(pad + ",a:b0\n" + std::string(BB_MAPPING_SOURCE_MAX, '\n') + pad + ",a:b1\n", &taken);
  EXPECT_EQ(taken, 1);
  EXPECT_NE(report.find("mine: controller mappings past the first"), std::string::npos) << report;
}

}  // namespace
