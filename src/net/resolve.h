// Host name to IPv4 address record, shared by sockets, addresses and the
// connect operation (which resolves on its worker thread).
#pragma once

#include <netinet/in.h>

#include <string>

#include "runtime/runtime.h"

// The host name as bytes (each code unit cut to its low 8 bits); empty when
// the name is empty or 1024 units or longer, which means "any address".
std::string NarrowHostName(const String& host);

// Fills addr with AF_INET, htons(port) and the first address of host, or
// 0.0.0.0 when host is empty or cannot be found. Returns whether a name was
// given and found. Thread-safe (the classic lookup call keeps its answer in
// static storage, which several queue workers would trample).
bool ResolveIPv4(const std::string& host, int port, sockaddr_in* addr);

