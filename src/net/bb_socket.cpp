// One BSD socket handle with blocking calls safe against a concurrent close.
#include "net/bb_socket.h"

#include <arpa/inet.h>
#include <errno.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include "net/data_buffer.h"
#include "net/resolve.h"
#include "net/socket_address.h"

BBSocket::BBSocket() : socket(-1), proto(0), accepted(-1) {}

BBSocket::BBSocket(int handle) : socket(handle), proto(0), accepted(-1) {}

BBSocket::~BBSocket() {
  Close();
  for (int fd : lingering_) close(fd);
}

int BBSocket::Acquire() {
  std::lock_guard<std::mutex> guard(lock_);
  if (socket < 0) return -1;
  ++users_;
  return socket;
}

void BBSocket::Release() {
  std::lock_guard<std::mutex> guard(lock_);
  if (--users_ > 0) return;
  for (int fd : lingering_) close(fd);
  lingering_.clear();
}

bool BBSocket::Open(int protocol) {
  std::lock_guard<std::mutex> guard(lock_);
  if (socket >= 0 || protocol < 1) return false;
  int fd = -1;
  if (protocol == 1 || protocol == 2) {
    fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    if (fd >= 0) {
      int on = 1;
      setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
    }
  } else if (protocol == 3) {
    fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
  }
  if (fd < 0) return false;
  socket = fd;
  proto = protocol;
  return true;
}

void BBSocket::Close() {
  std::lock_guard<std::mutex> guard(lock_);
  if (socket < 0) return;
  if (users_ > 0) {
    // Wake the blocked call; the last user closes the handle.
    shutdown(socket, SHUT_RDWR);
    lingering_.push_back(socket);
  } else {
    close(socket);
  }
  socket = -1;
}

bool BBSocket::Bind(String host, int port) {
  sockaddr_in addr;
  ResolveIPv4(NarrowHostName(host), port, &addr);
  int fd = Acquire();
  if (fd < 0) return false;
  bool ok = bind(fd, (sockaddr*)&addr, sizeof(addr)) >= 0;
  Release();
  return ok;
}

bool BBSocket::Connect(String host, int port) { return ConnectTo(NarrowHostName(host), port); }

bool BBSocket::ConnectTo(const std::string& host, int port) {
  sockaddr_in addr;
  ResolveIPv4(host, port, &addr);
  // Linux quietly takes 0.0.0.0 to mean this machine, so an empty or
  // unknown name would reach a local server instead of failing.
  if (addr.sin_addr.s_addr == htonl(INADDR_ANY)) return false;
  int fd = Acquire();
  if (fd < 0) return false;
  int r;
  do {
    r = connect(fd, (sockaddr*)&addr, sizeof(addr));
  } while (r < 0 && errno == EINTR);
  Release();
  return r >= 0;
}

bool BBSocket::Listen(int backlog) {
  int fd = Acquire();
  if (fd < 0) return false;
  bool ok = listen(fd, backlog) >= 0;
  Release();
  return ok;
}

bool BBSocket::Accept() {
  int fd = Acquire();
  if (fd < 0) return false;
  int handle = accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
  Release();
  std::lock_guard<std::mutex> guard(lock_);
  accepted = handle;
  return handle >= 0;
}

BBSocket* BBSocket::Accepted() {
  int handle;
  {
    std::lock_guard<std::mutex> guard(lock_);
    handle = accepted;
  }
  if (handle < 0) return nullptr;
  return new BBSocket(handle);
}

// The part of buf that a transfer of count bytes at offset may touch; -1
// when offset lies outside the block.
static int TransferSize(BBDataBuffer* buf, int offset, int count) {
  if (!buf || !buf->data || offset < 0 || offset > buf->length) return -1;
  if (count < 0) count = 0;
  int room = buf->length - offset;
  return count < room ? count : room;
}

// A receive that Close woke sees the end of the stream, like a peer's
// orderly close; it was cut off here, so it fails instead. After Close the
// handle number differs (the old one lingers until its last user is gone).
int BBSocket::ReceiveResult(int fd, ssize_t n) {
  std::lock_guard<std::mutex> guard(lock_);
  if (n < 0 || (n == 0 && socket != fd)) return -1;
  return (int)n;
}

int BBSocket::Send(BBDataBuffer* buf, int offset, int count) {
  count = TransferSize(buf, offset, count);
  if (count < 0) return -1;
  int fd = Acquire();
  if (fd < 0) return -1;
  ssize_t n;
  // MSG_NOSIGNAL: a peer that has gone away must give an error, not SIGPIPE.
  do {
    n = send(fd, buf->data + offset, (size_t)count, MSG_NOSIGNAL);
  } while (n < 0 && errno == EINTR);
  Release();
  return n < 0 ? -1 : (int)n;
}

int BBSocket::Receive(BBDataBuffer* buf, int offset, int count) {
  count = TransferSize(buf, offset, count);
  if (count < 0) return -1;
  int fd = Acquire();
  if (fd < 0) return -1;
  ssize_t n;
  do {
    n = recv(fd, buf->data + offset, (size_t)count, 0);
  } while (n < 0 && errno == EINTR);
  int result = ReceiveResult(fd, n);
  Release();
  return result;
}

int BBSocket::SendTo(BBDataBuffer* buf, int offset, int count, BBSocketAddress* to) {
  count = TransferSize(buf, offset, count);
  if (count < 0 || !to) return -1;
  int fd = Acquire();
  if (fd < 0) return -1;
  ssize_t n = sendto(fd, buf->data + offset, (size_t)count, MSG_NOSIGNAL, (sockaddr*)&to->addr,
                     sizeof(to->addr));
  Release();
  return n < 0 ? -1 : (int)n;
}

int BBSocket::ReceiveFrom(BBDataBuffer* buf, int offset, int count, BBSocketAddress* from) {
  count = TransferSize(buf, offset, count);
  if (count < 0) return -1;
  int fd = Acquire();
  if (fd < 0) return -1;
  sockaddr_in sender;
  socklen_t len = sizeof(sender);
  ssize_t n = recvfrom(fd, buf->data + offset, (size_t)count, 0, (sockaddr*)&sender, &len);
  int result = ReceiveResult(fd, n);
  Release();
  if (result >= 0 && from) from->Set(sender);
  return result;
}

bool BBSocket::QueryAddress(int (*query)(int, sockaddr*, socklen_t*),
                            BBSocketAddress* address) {
  int fd = Acquire();
  if (fd < 0) return false;
  sockaddr_in addr;
  socklen_t len = sizeof(addr);
  bool ok = query(fd, (sockaddr*)&addr, &len) >= 0;
  Release();
  if (ok) address->Set(addr);
  return ok;
}

bool BBSocket::GetLocalAddress(BBSocketAddress* address) {
  return QueryAddress(getsockname, address);
}

bool BBSocket::GetRemoteAddress(BBSocketAddress* address) {
  return QueryAddress(getpeername, address);
}
