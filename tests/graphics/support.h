// Shared helpers of the graphics tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct ChildResult {
  int exitStatus = -1;  // exit code, -1 when killed by a signal
  std::string output;   // what the child wrote to standard output
};

// Runs fn in a forked child with standard input closed (so a runtime error
// does not wait for a debugger); collects its exit status and output.
ChildResult RunInChild(const std::function<void()>& fn);

// Expects fn to end the process with the runtime error `message`.
void ExpectRuntimeError(const std::function<void()>& fn, const std::string& message);

// A directory under the build tree for this test's files.
std::string TestDir(const std::string& name);

void WritePng(const std::string& path, int w, int h, int channels,
              const std::vector<unsigned char>& pixels);
