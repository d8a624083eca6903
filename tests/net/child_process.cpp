// Runs a piece of code in a child process with standard input closed, so the
// runtime's stop protocol ends the process instead of waiting for a debugger.
#include "net/child_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

ChildResult RunInChild(const std::function<void()>& body) {
  ChildResult result;
  int pipefd[2];
  if (pipe(pipefd) != 0) return result;
  fflush(stdout);
  pid_t pid = fork();
  if (pid == 0) {
    close(pipefd[0]);
    dup2(pipefd[1], 1);
    int devnull = open("/dev/null", O_RDWR);
    dup2(devnull, 0);
    dup2(devnull, 2);
    body();
    fflush(stdout);
    _exit(0);
  }
  close(pipefd[1]);
  char buf[4096];
  ssize_t n;
  while ((n = read(pipefd[0], buf, sizeof(buf))) > 0) result.out.append(buf, (size_t)n);
  close(pipefd[0]);
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
    result.exitCode = WEXITSTATUS(status);
  }
  return result;
}
