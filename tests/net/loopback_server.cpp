// A scripted TCP server on 127.0.0.1 for the network tests.
#include "net/loopback_server.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "net/net.h"

namespace {

int ListenLoopback(int* port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof(addr);
  if (fd < 0 || bind(fd, (sockaddr*)&addr, sizeof(addr)) < 0 || listen(fd, 4) < 0 ||
      getsockname(fd, (sockaddr*)&addr, &len) < 0) {
    if (fd >= 0) close(fd);
    return -1;
  }
  *port = ntohs(addr.sin_port);
  return fd;
}

bool Readable(int fd, int ms) {
  pollfd p = {fd, POLLIN, 0};
  return poll(&p, 1, ms) > 0;
}

std::chrono::steady_clock::time_point After(int ms) {
  return std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
}

}  // namespace

LoopbackServer::LoopbackServer(Script script) {
  listener_ = ListenLoopback(&port_);
  thread_ = std::thread([this, script] {
    // A client that never turns up must not hang the test run.
    for (int waited = 0; listener_ >= 0 && waited < 10000 && !stop_; waited += 50) {
      if (!Readable(listener_, 50)) continue;
      int fd = accept(listener_, nullptr, nullptr);
      if (fd < 0) return;
      // A client that stops reading must not leave a send blocked forever.
      timeval limit = {2, 0};
      setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof(limit));
      accepted_ = true;
      script(fd, *this);
      close(fd);
      return;
    }
  });
}

LoopbackServer::~LoopbackServer() {
  stop_ = true;
  Join();
  if (listener_ >= 0) close(listener_);
}

std::string LoopbackServer::Received() {
  std::lock_guard<std::mutex> lock(mutex_);
  return received_;
}

bool LoopbackServer::ReadWhile(int fd, const std::function<bool(const std::string&)>& more,
                               int timeoutMs) {
  for (auto until = After(timeoutMs); more(Received());) {
    if (stop_ || std::chrono::steady_clock::now() >= until) return false;
    if (!Readable(fd, 20)) continue;
    char buf[4096];
    ssize_t n = recv(fd, buf, sizeof(buf), 0);
    if (n <= 0) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    received_.append(buf, (size_t)n);
  }
  return true;
}

bool LoopbackServer::ReadHead(int fd) {
  return ReadWhile(fd, [](const std::string& s) { return s.find("\r\n\r\n") == std::string::npos; }, 5000);
}

bool LoopbackServer::ReadExact(int fd, size_t n) {
  size_t target = Received().size() + n;
  return ReadWhile(fd, [target](const std::string& s) { return s.size() < target; }, 5000);
}

bool LoopbackServer::ReadUntilClosed(int fd, int timeoutMs) {
  ReadWhile(fd, [](const std::string&) { return true; }, timeoutMs);
  return !stop_;
}

bool LoopbackServer::SendAll(int fd, const std::string& bytes) {
  for (size_t sent = 0; sent < bytes.size();) {
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
  int port = 0, fd = ListenLoopback(&port);
  if (fd >= 0) close(fd);
  return port;
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  for (auto until = After(timeoutMs); !done(); usleep(1000)) {
    if (std::chrono::steady_clock::now() >= until) return false;
    bb_asyncevent_UpdateAsyncEvents();
  }
  return true;
}
