// Host name to IPv4 address record.
#include "net/resolve.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <cstring>

std::string NarrowHostName(const String& host) {
  int n = host.Length();
  if (n < 1 || n > 1023) return std::string();
  std::string bytes((size_t)n, '\0');
  const Char* units = host.Data();
  for (int i = 0; i < n; ++i) bytes[(size_t)i] = (char)(units[i] & 0xFF);
  // A name with an embedded zero ends there, as a C string would.
  return std::string(bytes.c_str());
}

bool ResolveIPv4(const std::string& host, int port, sockaddr_in* addr) {
  memset(addr, 0, sizeof(*addr));
  addr->sin_family = AF_INET;
  addr->sin_port = htons((unsigned short)port);
  addr->sin_addr.s_addr = htonl(INADDR_ANY);
  if (host.empty()) return false;
  addrinfo hints;
  memset(&hints, 0, sizeof(hints));
  hints.ai_family = AF_INET;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
  addr->sin_addr = ((sockaddr_in*)found->ai_addr)->sin_addr;
  freeaddrinfo(found);
  return true;
}
