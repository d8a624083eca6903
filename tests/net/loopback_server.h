// A scripted TCP server on 127.0.0.1 for the network tests: it accepts one
// connection on a thread of its own and plays a script against it, so the
// client under test talks to a real peer over loopback.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

class LoopbackServer {
 public:
  typedef std::function<void(int fd, LoopbackServer& server)> Script;

  explicit LoopbackServer(Script script);
  ~LoopbackServer();

  int Port() const { return port_; }
  bool Accepted() const { return accepted_; }
  std::string Received();  // everything read from the client so far
  bool Stopping() const { return stop_; }
  void Stop() { stop_ = true; }  // ends pauses and endless scripts early
  void Join() {
    if (thread_.joinable()) thread_.join();
  }

  // Script helpers, all bounded in time; reads say whether they got what
  // they waited for.
  bool ReadHead(int fd);             // up to and including CR LF CR LF
  bool ReadExact(int fd, size_t n);  // n more bytes
  bool ReadUntilClosed(int fd, int timeoutMs);
  static bool SendAll(int fd, const std::string& bytes);
  void Pause(int ms);

  static int UnusedPort();  // a port on which nothing listens

 private:
  // Reads while more(received) holds; false on close, error or timeout.
  bool ReadWhile(int fd, const std::function<bool(const std::string&)>& more, int timeoutMs);

  int listener_ = -1, port_ = 0;
  std::atomic<bool> stop_{false}, accepted_{false};
  std::mutex mutex_;
  std::string received_;
  std::thread thread_;
};

// Updates the asynchronous events until done() holds or the time runs out.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs);
