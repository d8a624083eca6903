// Runs a piece of code in a child process and reports how it ended and what
// it printed: runtime errors end the process, so they are observed from
// outside.
#ifndef LARKSPIN_TESTS_NET_CHILD_PROCESS_H
#define LARKSPIN_TESTS_NET_CHILD_PROCESS_H

#include <functional>
#include <string>

struct ChildResult {
  int exitCode = -1;   // -1 when the child did not exit normally
  std::string out;     // its standard output
};

ChildResult RunInChild(const std::function<void()>& body);

#endif
