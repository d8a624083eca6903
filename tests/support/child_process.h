// Runs a piece of code in a forked child with its own standard streams, for
// checking paths that end the process.
#pragma once

#include <functional>
#include <string>

struct ChildResult {
  int status = -1;  // exit status, or -1 when the child did not exit normally
  std::string out;
  std::string err;
};

// stdin gets input and is then closed. A body that returns exits with 100.
ChildResult RunInChild(const std::function<void()>& body, const std::string& input = "");

// Expects body to end the program with the runtime error `message` (exit
// status 255), after printing `before` on standard output.
void ExpectRuntimeError(const std::function<void()>& body, const std::string& message,
                        const std::string& before = "");
