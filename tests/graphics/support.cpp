// Test helpers: child processes, fixture files, collector set-up.
#include "graphics/support.h"

#include <stb/stb_image_write.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "runtime/gc.h"

ChildResult RunInChild(const std::function<void()>& fn) {
  fflush(stdout);
  int fds[2];
  ChildResult result;
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

std::string TestDir(const std::string& name) {
  const char* bin = getenv("LARKSPIN_BINARY_DIR");
  std::string dir = std::string(bin ? bin : ".") + "/test-output";
  mkdir(dir.c_str(), 0755);
  dir += "/graphics";
  mkdir(dir.c_str(), 0755);
  dir += "/" + name;
  mkdir(dir.c_str(), 0755);
  return dir;
}

void WritePng(const std::string& path, int w, int h, int channels,
              const std::vector<unsigned char>& pixels) {
  stbi_write_png(path.c_str(), w, h, channels, pixels.data(), w * channels);
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write((const char*)bytes.data(), bytes.size());
}

std::vector<unsigned char> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

void InitCollector() { gc_init(); }
