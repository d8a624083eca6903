// Helpers shared by the host's windowless tests.
#include "test_host.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

std::vector<std::vector<std::string>> SplitPasses(const std::vector<std::string>& log) {
  std::vector<std::vector<std::string>> passes;
  for (const std::string& entry : log) {
    if (entry == "pass") {
      passes.emplace_back();
    } else if (!passes.empty()) {
      passes.back().push_back(entry);
    }
  }
  return passes;
}

int Count(const std::vector<std::string>& pass, const std::string& entry) {
  return int(std::count(pass.begin(), pass.end(), entry));
}

ChildOutcome RunChild(const std::function<void()>& body) {
  ChildOutcome outcome;
  int fds[2];
  if (pipe(fds) != 0) return outcome;
  fflush(stdout);
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    dup2(fds[1], STDOUT_FILENO);
    body();
    fflush(stdout);
    _exit(100);
  }
  close(fds[1]);
  char buf[4096];
  ssize_t n;
  while ((n = read(fds[0], buf, sizeof buf)) > 0) outcome.out.append(buf, size_t(n));
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}
