// One BSD socket handle with blocking calls that may run on a queue's
// worker thread while the main thread closes the socket.
#pragma once

#include <sys/socket.h>

#include <mutex>
#include <string>
#include <vector>

#include "runtime/runtime.h"

class BBDataBuffer;
class BBSocketAddress;

class BBSocket : public Object {
 public:
  int socket;    // -1 when closed
  int proto;     // 1 stream, 2 server, 3 datagram
  int accepted;  // handle from the last Accept

  BBSocket();
  explicit BBSocket(int handle);
  ~BBSocket();

  bool Open(int protocol);
  void Close();
  bool Bind(String host, int port);
  bool Connect(String host, int port);
  // Connect with the name already narrowed to bytes (worker threads must not
  // share string representations with the main thread).
  bool ConnectTo(const std::string& host, int port);
  bool Listen(int backlog);
  bool Accept();
  BBSocket* Accepted();
  int Send(BBDataBuffer* buf, int offset, int count);
  int Receive(BBDataBuffer* buf, int offset, int count);
  int SendTo(BBDataBuffer* buf, int offset, int count, BBSocketAddress* to);
  int ReceiveFrom(BBDataBuffer* buf, int offset, int count, BBSocketAddress* from);
  bool GetLocalAddress(BBSocketAddress* address);
  bool GetRemoteAddress(BBSocketAddress* address);

 private:
  // A handle is only released once no blocking call uses it any more;
  // otherwise a worker could end up reading from whatever socket the
  // operating system hands out next under the same number.
  int Acquire();
  void Release();
  // The count a receive on fd reports: -1 for an error or a local Close.
  int ReceiveResult(int fd, ssize_t n);
  // Reads one end's address with getsockname or getpeername.
  bool QueryAddress(int (*query)(int, sockaddr*, socklen_t*), BBSocketAddress* address);

  std::mutex lock_;
  int users_ = 0;
  std::vector<int> lingering_;
};
