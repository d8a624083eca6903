// Forked children with captured output, for paths that end the process.
#include "support/child_process.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

void drain(int out_fd, int err_fd, ChildResult& r) {
  struct pollfd fds[2] = {{out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
  std::string* sinks[2] = {&r.out, &r.err};
  int open = 2;
  while (open > 0) {
    if (poll(fds, 2, -1) < 0) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      char buf[4096];
      ssize_t n = read(fds[i].fd, buf, sizeof buf);
      if (n <= 0) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      } else {
        sinks[i]->append(buf, (size_t)n);
      }
    }
  }
}

}  // namespace

ChildResult RunInChild(const std::function<void()>& body, const std::string& input) {
  int in[2], out[2], err[2];
  if (pipe(in) || pipe(out) || pipe(err)) return {};
  fflush(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
    body();
    fflush(nullptr);
    _exit(100);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  if (!input.empty() && write(in[1], input.data(), input.size()) < 0) perror("write");
  close(in[1]);
  ChildResult r;
  drain(out[0], err[0], r);
  int status = 0;
  waitpid(pid, &status, 0);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

void ExpectRuntimeError(const std::function<void()>& body, const std::string& message,
                        const std::string& before) {
  ChildResult r = RunInChild(body);
  EXPECT_EQ(r.status, 255) << message;
  const std::string line = before + "Quill Runtime Error : " + message + "\n";
  EXPECT_EQ(r.out.substr(0, line.size()), line) << r.err;
}
