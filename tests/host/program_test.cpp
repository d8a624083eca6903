// The program itself: it opens its window, runs, and ends with status 0
// when the window's close button is pressed; a bad line in the player's
// controller mappings is named at start-up.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "x11_close.h"

namespace fs = std::filesystem;

namespace {

// The id of the program's window once it is mapped; 0 when it never shows.
unsigned long FindWindow() {
  FILE* p = popen("timeout 20 xdotool search --sync --onlyvisible --name '^Larkspin$'", "r");
  if (!p) return 0;
  unsigned long id = 0;
  if (fscanf(p, "%lu", &id) != 1) id = 0;
  pclose(p);
  return id;
}

// Exit status, or -1 if the program has not ended within `seconds`.
int WaitForExit(pid_t pid, int seconds) {
  for (int i = 0; i < seconds * 20; ++i) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return -1;
}

TEST(Program, CloseButtonEndsItWithStatusZero) {
  const char* bin = getenv("LARKSPIN_BINARY_DIR");
  ASSERT_NE(bin, nullptr);
  std::string exe = std::string(bin) + "/larkspin";
  char pattern[] = "/tmp/larkspin-run-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  // A controller mapping of the player's own with a bad second line.
  fs::create_directories(std::string(pattern) + "/larkspin");
  FILE* db = fopen((std::string(pattern) + "/larkspin/gamecontrollerdb.txt").c_str(), "w");
  ASSERT_NE(db, nullptr);
  fputs("03000000de280000ff11000001000000,Pad,a:b0,\nnot a mapping\n", db);
  fclose(db);

  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(pattern) != 0) _exit(120);
    setenv("XDG_CONFIG_HOME", pattern, 1);
    if (!freopen("errors.txt", "w", stderr)) _exit(122);
    execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
    _exit(121);
  }
  ASSERT_GT(pid, 0);

  unsigned long window = FindWindow();
  EXPECT_NE(window, 0ul);
  EXPECT_EQ(WaitForExit(pid, 0), -1) << "the program ended on its own";
  Display* display = XOpenDisplay(nullptr);
  ASSERT_NE(display, nullptr);
  if (window) SendCloseRequest(display, window);
  int status = WaitForExit(pid, 20);
  XCloseDisplay(display);
  if (status == -1) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
  EXPECT_EQ(status, 0);
  std::ifstream errors(std::string(pattern) + "/errors.txt");
  std::string text((std::istreambuf_iterator<char>(errors)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("/larkspin/gamecontrollerdb.txt:2: controller mapping skipped"),
            std::string::npos) << text;
  fs::remove_all(pattern);
}

TEST(Program, WithoutADisplayItReportsTheFailedStartAndEnds) {
  const char* bin = getenv("LARKSPIN_BINARY_DIR");
  ASSERT_NE(bin, nullptr);
  std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY " + std::string(bin) +
                        "/larkspin 2>/dev/null; echo \"status=$?\"";
  FILE* p = popen(command.c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::string out;
  char buf[256];
  while (fgets(buf, sizeof buf, p)) out += buf;
  pclose(p);
  EXPECT_EQ(out, "glfwInit failed\nstatus=255\n");
}

}  // namespace
