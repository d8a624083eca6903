// A scripted TCP server on 127.0.0.1 for the network tests: it accepts one
// connection on a thread of its own and plays a script against it, so the
// client under test talks to a real peer over loopback.
#ifndef LARKSPIN_TESTS_NET_LOOPBACK_SERVER_H
#define LARKSPIN_TESTS_NET_LOOPBACK_SERVER_H

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
  // Everything ReadHead/ReadExact took from the client so far.
  std::string Received();
  // True once the test is over; endless scripts poll this.
  bool Stopping() const { return stop_; }
  // Ends pauses and endless scripts early.
  void Stop() { stop_ = true; }
  // Waits for the script to finish (bounded by its own time limits).
  void Join();

  // Script helpers. All are bounded in time and size.
  bool ReadHead(int fd);                  // up to and including CR LF CR LF
  bool ReadExact(int fd, size_t n);       // n more bytes
  bool ReadUntilClosed(int fd, int timeoutMs);
  static bool SendAll(int fd, const std::string& bytes);
  void Pause(int ms);                     // sleeps, cut short by Stopping()

  // A port on which nothing listens (bound once, then released).
  static int UnusedPort();

 private:
  bool ReadSome(int fd, int timeoutMs);
  void Serve(Script script);

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<bool> accepted_{false};
  std::mutex mutex_;
  std::string received_;
  std::thread thread_;
};

// Drives the main-thread side until done() holds or the time runs out;
// returns whether done() held.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs);

#endif
