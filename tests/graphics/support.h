// Shared helpers of the graphics tests: running code that must end the
// process in a child, writing PNG fixtures, and a real window to draw into.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct ChildResult {
  int exitStatus = -1;  // exit code, or -1 when killed by a signal
  std::string output;   // everything the child wrote to standard output
};

// Runs fn in a forked child with standard input closed (so a runtime error
// does not wait for a debugger) and collects its exit status and output.
ChildResult RunInChild(const std::function<void()>& fn);

// A fresh directory under the build tree for this test's files.
std::string TestDir(const std::string& name);

// Writes an 8-bit PNG of w x h pixels with `channels` bytes per pixel.
void WritePng(const std::string& path, int w, int h, int channels,
              const std::vector<unsigned char>& pixels);

// Writes raw bytes (for damaged files).
void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> ReadBytes(const std::string& path);

// Collector rings must exist before the first object is made.
void InitCollector();
