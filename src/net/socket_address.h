// An IPv4 socket address with its dotted text form made on demand.
#pragma once

#include <netinet/in.h>

#include "runtime/runtime.h"

class BBSocketAddress : public Object {
 public:
  sockaddr_in addr;
  bool valid;   // host and port below reflect addr
  String host;
  int port;

  BBSocketAddress();

  void Set(String host, int port);
  void Set(BBSocketAddress* other);
  void Set(sockaddr_in const& record);
  void Validate();
};

