// Saving interrupted at random moments: a driver process rewrites the state
// file in a loop and is killed with SIGKILL; after every kill the file must
// load as one of the two states whole, with checksums the game accepts.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "game/my_app.h"

namespace fs = std::filesystem;

namespace {

// The runtime, the real desktop host (its SaveState and LoadState) and the
// game's globals, started once; a fresh game object with default settings.
c_MyApp* NewGameForStates() {
  static bool started = false;
  if (!started) {
    started = true;
    gc_init();
    new BBGlfwGame();
    bbInit();
  }
  bb_Larkspin_Init();
  return new c_MyApp();
}

// Two valid state strings written by the game itself: a short one and a
// long one (records in every table), so that a torn write of either can
// never pass for the other.
std::pair<String, String> TwoStates() {
  c_MyApp* app = NewGameForStates();
  for (int i = 0; i < 25; ++i) app->m_Settings[i] = 0;
  app->m_Settings[5] = 1;
  app->m_Settings[10] = app->m_Settings[11] = 64;
  app->m_Settings[12] = 10;
  app->m_Settings[14] = 1;
  String small = app->p_StateString();

  app->m_Settings[6] = 2;
  app->m_Settings[10] = 200;
  for (int i = 0; i < 256; i += 3) app->m_Badges[i] = true;
  for (int i = 0; i < 120; ++i) app->m_HiScores[i] = 100000 + i * 7919;
  return {small, app->p_StateString()};
}

void WriteText(const char* path, const String& text) {
  std::string bytes = text.ToUtf8();
  FILE* file = fopen(path, "wb");
  ASSERT_NE(file, nullptr);
  fwrite(bytes.data(), 1, bytes.size(), file);
  fclose(file);
}

// Starts the driver in the current folder and waits for its "ready" line;
// returns its process id.
pid_t StartDriver() {
  int out[2];
  if (pipe(out) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    close(out[0]);
    close(out[1]);
    execl(LARKSPIN_SAVE_DRIVER, LARKSPIN_SAVE_DRIVER, "first.txt", "second.txt", (char*)nullptr);
    _exit(127);
  }
  close(out[1]);
  char line[6] = {};
  size_t got = 0;
  while (got < sizeof line) {
    ssize_t n = read(out[0], line + got, sizeof line - got);
    if (n <= 0) break;
    got += size_t(n);
  }
  close(out[0]);
  return got == sizeof line && std::string(line, 6) == "ready\n" ? pid : -pid;
}

class CrashSafeSave : public ::testing::Test {
 protected:
  void SetUp() override {
    states = TwoStates();
    app = NewGameForStates();
    dir = fs::temp_directory_path() / ("larkspin-save-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    home = fs::current_path();
    fs::current_path(dir);
    WriteText("first.txt", states.first);
    WriteText("second.txt", states.second);
  }
  void TearDown() override {
    fs::current_path(home);
    fs::remove_all(dir);
  }

  std::pair<String, String> states;
  c_MyApp* app = nullptr;
  fs::path dir, home;
};

TEST_F(CrashSafeSave, KilledSavesLeaveOldOrNewStateWhole) {
  ASSERT_NE(states.first, states.second);
  std::mt19937 random(12345);
  int sawSecond = 0;
  for (int round = 0; round < 200; ++round) {
    pid_t pid = StartDriver();
    ASSERT_GT(pid, 0) << "the save driver did not start";
    usleep(std::uniform_int_distribution<int>(0, 4000)(random));
    kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    // Anything but our own SIGKILL means the driver failed to save.
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "round " << round;

    String loaded = BBGame::_game->LoadState();
    bool whole = loaded == states.first || loaded == states.second;
    ASSERT_TRUE(whole) << "round " << round << ": torn state of " << loaded.Length() << " units";
    sawSecond += loaded == states.second;
    // The game reads it with valid checksums: nothing falls back to defaults.
    app->p_ParseState(loaded);
    EXPECT_EQ(app->p_StateString(), loaded) << "round " << round;
  }
  // The kills land at different points of the loop, not always before the
  // first rewrite.
  EXPECT_GT(sawSecond, 0);
}

}  // namespace
