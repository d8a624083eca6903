// Test helpers: child processes and fixture files.
#include "graphics/support.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

ChildResult RunInChild(const std::function<void()>& fn) {
  fflush(stdout);
  ChildResult result;
  int fds[2];
  if (pipe(fds) != 0) return result;
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    dup2(fds[1], 1);
    if (!freopen("/dev/null", "r", stdin)) _exit(99);
    fn();
    fflush(stdout);
    _exit(0);
  }
  close(fds[1]);
  char buf[4096];
  ssize_t n;
  while ((n = read(fds[0], buf, sizeof buf)) > 0) result.output.append(buf, n);
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

void ExpectRuntimeError(const std::function<void()>& fn, const std::string& message) {
  ChildResult r = RunInChild(fn);
  EXPECT_EQ(r.exitStatus, 255) << message;
  EXPECT_NE(r.output.find("Quill Runtime Error : " + message + "\n"), std::string::npos)
      << r.output;
}

std::string TestDir(const std::string& name) {
  const char* bin = getenv("LARKSPIN_BINARY_DIR");
  std::string dir = std::string(bin ? bin : ".") + "/test-output";
  for (const std::string& part : {std::string("/graphics"), "/" + name}) {
    mkdir(dir.c_str(), 0755);
    dir += part;
  }
  mkdir(dir.c_str(), 0755);
  return dir;
}

void WritePng(const std::string& path, int w, int h, int channels,
              const std::vector<unsigned char>& pixels) {
  stbi_write_png(path.c_str(), w, h, channels, pixels.data(), w * channels);
}
