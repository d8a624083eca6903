// An IPv4 socket address with its dotted text form made on demand.
#include "net/socket_address.h"

#include <arpa/inet.h>

#include <cstring>

#include "net/resolve.h"

BBSocketAddress::BBSocketAddress() : valid(false), port(0) {
  memset(&addr, 0, sizeof(addr));
  addr.sin_family = AF_INET;
}

void BBSocketAddress::Set(String name, int portNumber) {
  ResolveIPv4(NarrowHostName(name), portNumber, &addr);
  valid = false;
}

void BBSocketAddress::Set(BBSocketAddress* other) {
  addr = other->addr;
  valid = false;
}

void BBSocketAddress::Set(sockaddr_in const& record) {
  addr = record;
  valid = false;
}

void BBSocketAddress::Validate() {
  if (valid) return;
  const unsigned char* b = (const unsigned char*)&addr.sin_addr.s_addr;
  host = String((int)b[0]) + String(".") + String((int)b[1]) + String(".") + String((int)b[2]) +
         String(".") + String((int)b[3]);
  port = ntohs(addr.sin_port);
  valid = true;
}
