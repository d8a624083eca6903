// The data and networking layer: data buffers, asynchronous sockets and the
// HTTP client.
#pragma once

#include "net/async_event.h"
#include "net/async_ops.h"
#include "net/async_queue.h"
#include "net/bb_socket.h"
#include "net/data_buffer.h"
#include "net/http_request.h"
#include "net/socket.h"
#include "net/socket_address.h"
#include "net/string_stack.h"
#include "net/thread.h"
#include "net/url.h"

// Sets the layer's module globals and registers their root marker; called
// once by the module initialiser before any socket is made.
int bb_net_Init();
