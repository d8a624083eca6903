// Saving killed at random moments: a child process rewrites the state file
// in a loop through the desktop host's real SaveState and is killed with
// SIGKILL; after every kill the file must load as one of the two states,
// whole.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "host/glfw_game.h"

namespace fs = std::filesystem;

TEST(CrashSafeSave, KilledSavesLeaveOldOrNewStateWhole) {
  gc_init();
  BBGlfwGame host;
  fs::path dir = fs::temp_directory_path() / ("larkspin-save-" + std::to_string(getpid()));
  fs::create_directories(dir);
  fs::path home = fs::current_path();
  fs::current_path(dir);
  // A short and a long state, so that a torn write of one cannot pass for
  // the other.
  const String states[2] = {String(std::string(300, 's').c_str()), String(std::string(40000, 'L').c_str())};
  ASSERT_EQ(host.SaveState(states[0]), 0);
  std::mt19937 random(12345);
  int sawLong = 0;
  for (int round = 0; round < 200; ++round) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t pid = fork();
    if (pid == 0) {
      for (unsigned n = 1;; ++n) {
        if (host.SaveState(states[n & 1]) != 0) _exit(1);
        if (n == 1) close(ready[1]);  // the first rewrite is on disk
      }
    }
    close(ready[1]);
    char byte;
    ssize_t got = read(ready[0], &byte, 1);  // 0 once the write end closes
    close(ready[0]);
    usleep(std::uniform_int_distribution<int>(0, 4000)(random));
    kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_EQ(got, 0);
    // Anything but our own SIGKILL means the child failed to save.
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "round " << round;
    String loaded = host.LoadState();
    ASSERT_TRUE(loaded == states[0] || loaded == states[1])
        << "round " << round << ": torn state of " << loaded.Length() << " units";
    sawLong += loaded == states[1];
  }
  // The kills land at different points of the loop.
  EXPECT_GT(sawLong, 0);
  EXPECT_LT(sawLong, 200);
  fs::current_path(home);
  fs::remove_all(dir);
}
