// A scripted TCP server on 127.0.0.1 for the network tests.
#include "net/loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

#include "net/net.h"

namespace {

int ListenLoopback(int* port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return -1;
  sockaddr_in addr;
  memset(&addr, 0, sizeof(addr));
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  socklen_t len = sizeof(addr);
  if (bind(fd, (sockaddr*)&addr, sizeof(addr)) < 0 || listen(fd, 4) < 0 ||
      getsockname(fd, (sockaddr*)&addr, &len) < 0) {
    close(fd);
    return -1;
  }
  *port = ntohs(addr.sin_port);
  return fd;
}

}  // namespace

LoopbackServer::LoopbackServer(Script script) {
  listener_ = ListenLoopback(&port_);
  thread_ = std::thread([this, script] { Serve(script); });
}

LoopbackServer::~LoopbackServer() {
  stop_ = true;
  Join();
  if (listener_ >= 0) close(listener_);
}

void LoopbackServer::Join() {
  if (thread_.joinable()) thread_.join();
}

std::string LoopbackServer::Received() {
  std::lock_guard<std::mutex> lock(mutex_);
  return received_;
}

void LoopbackServer::Serve(Script script) {
  if (listener_ < 0) return;
  // A client that never turns up must not hang the test run.
  for (int waited = 0; waited < 10000 && !stop_; waited += 50) {
    pollfd p = {listener_, POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    int fd = accept(listener_, nullptr, nullptr);
    if (fd < 0) return;
    accepted_ = true;
    script(fd, *this);
    close(fd);
    return;
  }
}

bool LoopbackServer::ReadSome(int fd, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs && !stop_; waited += 20) {
    pollfd p = {fd, POLLIN, 0};
    int r = poll(&p, 1, 20);
    if (r < 0) return false;
    if (r == 0) continue;
    char buf[4096];
    ssize_t n = recv(fd, buf, sizeof(buf), 0);
    if (n <= 0) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    received_.append(buf, (size_t)n);
    return true;
  }
  return false;
}

bool LoopbackServer::ReadHead(int fd) {
  while (Received().find("\r\n\r\n") == std::string::npos) {
    if (Received().size() > 65536 || !ReadSome(fd, 5000)) return false;
  }
  return true;
}

bool LoopbackServer::ReadExact(int fd, size_t n) {
  size_t target = Received().size() + n;
  while (Received().size() < target) {
    if (!ReadSome(fd, 5000)) return false;
  }
  return true;
}

bool LoopbackServer::ReadUntilClosed(int fd, int timeoutMs) {
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < until && !stop_) {
    pollfd p = {fd, POLLIN, 0};
    if (poll(&p, 1, 20) <= 0) continue;
    char buf[4096];
    ssize_t n = recv(fd, buf, sizeof(buf), 0);
    if (n <= 0) return true;
    std::lock_guard<std::mutex> lock(mutex_);
    received_.append(buf, (size_t)n);
  }
  return false;
}

bool LoopbackServer::SendAll(int fd, const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += (size_t)n;
  }
  return true;
}

void LoopbackServer::Pause(int ms) {
  for (int waited = 0; waited < ms && !stop_; waited += 5) usleep(5000);
}

int LoopbackServer::UnusedPort() {
  int port = 0;
  int fd = ListenLoopback(&port);
  if (fd >= 0) close(fd);
  return port;
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= until) return false;
    bb_asyncevent_UpdateAsyncEvents();
    usleep(1000);
  }
  return true;
}
