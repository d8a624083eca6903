// Benchmarks that draw need an X display. Run without one, a benchmark
// re-executes itself under a private Xvfb server so `make bench` works on a
// headless machine exactly as it does on a desktop.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

// Returns when a display is there (or xvfb-run could not start, after saying
// so on stderr); otherwise the process continues as xvfb-run's child.
inline void RerunUnderXvfb(int argc, char** argv, const char* screen = "1280x1024x24") {
  const char* const kUnderXvfb = "LARKSPIN_BENCH_UNDER_XVFB";
  if (getenv("DISPLAY") || getenv(kUnderXvfb)) return;
  setenv(kUnderXvfb, "1", 1);
  std::string screenArg = std::string("-screen 0 ") + screen;
  std::vector<char*> args = {(char*)"xvfb-run", (char*)"-a", (char*)"-s", screenArg.data()};
  for (int i = 0; i < argc; ++i) args.push_back(argv[i]);
  args.push_back(nullptr);
  execvp("xvfb-run", args.data());
  fprintf(stderr, "%s: no DISPLAY and xvfb-run could not start\n", argv[0]);
}

inline bool HaveDisplay() { return getenv("DISPLAY") != nullptr; }
