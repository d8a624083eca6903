// Shared by the network tests: the layer's start-up once per process, and a
// scripted peer on 127.0.0.1 that accepts one connection on a thread of its
// own, so the client under test talks to a real socket. Every wait is bounded.
#pragma once

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "net/net.h"

// Also notes the thread running the tests: the layer's "main thread".
inline std::thread::id EnsureNetStarted() {
  static const std::thread::id main = (gc_init(), bb_net_Init(), std::this_thread::get_id());
  return main;
}

// Updates the asynchronous events until done() holds; false after about ms.
inline bool PumpUntil(const std::function<bool()>& done, int ms) {
  for (int waited = 0; !done(); ++waited, usleep(1000))
    if (waited < ms) bb_asyncevent_UpdateAsyncEvents(); else return false;
  return true;
}

struct Peer {
  typedef std::function<void(int fd, Peer& peer)> Script;

  explicit Peer(Script script) : listener_(Listen(&port)) {
    thread_ = std::thread([this, script] {
      pollfd p = {listener_, POLLIN, 0};
      for (int waited = 0; waited < 10000 && !stop; waited += 50) {
        if (poll(&p, 1, 50) <= 0) continue;
        int fd = accept(listener_, nullptr, nullptr);
        timeval limit = {2, 0};  // a client that stops reading cannot block a send
        setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        return accepted = true, script(fd, *this), void(close(fd));
      }
    });
  }
  ~Peer() { stop = true, Join(), close(listener_); }
  void Join() { thread_.joinable() ? thread_.join() : void(); }

  // Appends to `got` while more(got) holds; false on close, stop or timeout.
  bool Read(int fd, const std::function<bool(const std::string&)>& more, int ms = 5000) {
    for (int waited = 0; more(got); waited += 20) {
      pollfd p = {fd, POLLIN, 0};
      if (stop || waited >= ms) return false;
      if (poll(&p, 1, 20) <= 0) continue;
      char buf[4096];
      ssize_t n = recv(fd, buf, sizeof buf, 0);
      if (n > 0) got.append(buf, (size_t)n); else return false;
    }
    return true;
  }
  bool ReadHead(int fd) { return Read(fd, [](const std::string& s) { return s.find("\r\n\r\n") == std::string::npos; }); }
  static bool Send(int fd, const std::string& bytes) {
    ssize_t n = 0;
    for (size_t sent = 0; sent < bytes.size(); sent += (size_t)n)
      if ((n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL)) <= 0) return false;
    return true;
  }
  void Pause(int ms) { Read(-1, [](const std::string&) { return true; }, ms); }
  static int UnusedPort() { int port = 0; return close(Listen(&port)), port; }

  std::string got;  // what the client sent; the test reads it after Join()
  std::atomic<bool> stop{false}, accepted{false};

  static int Listen(int* port) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
    socklen_t len = sizeof addr;
    bind(fd, (sockaddr*)&addr, len), listen(fd, 4), getsockname(fd, (sockaddr*)&addr, &len);
    *port = ntohs(addr.sin_port);
    return fd;
  }

  int port = 0, listener_;
  std::thread thread_;
};
