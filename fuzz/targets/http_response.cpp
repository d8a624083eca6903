// The HTTP client's response path, fed piece by piece through a socket that
// stands in for the network: every receive the request asks for is answered
// from the input, so header reassembly, the status line and the body caps
// see the same calls a server's packets would cause.
//
// Input: a sequence of pieces, each led by one control byte c:
//   c < 0x80        the next c + 1 bytes (fewer at the end of the input)
//   0x80 <= c < 0xFF  (c - 0x7F) KiB, or the room asked for if less, all of
//                   the byte that follows (reaches the size caps quickly)
//   c == 0xFF       the server closes the connection
// The end of the input closes the connection too.
#include <cstring>

#include "fuzz_support.h"
#include "net/net.h"

namespace {

// Records the receive the request asks for instead of queueing it.
class ScriptedSocket : public c_Socket {
 public:
  int offset = -1;
  int count = 0;

  int p_ReceiveAsync(c_DataBuffer*, int at, int n, c_IOnReceiveComplete*) override {
    if (!p_IsConnected()) return 0;
    offset = at;
    count = n;
    return 0;
  }
};

class Completion : public Object, public c_IOnHttpRequestComplete {
 public:
  int calls = 0;
  int p_OnHttpRequestComplete(c_HttpRequest*) override {
    ++calls;
    return 0;
  }
};

// Kept for the whole run: a socket registers itself as an event source
// once and for all.
ScriptedSocket* g_socket;
Completion* g_done;

void MarkRoots() {
  gc_enqueue(g_socket);
  gc_enqueue(g_done);
}

void Start() {
  if (g_socket) return;
  fuzz_StartRuntime();
  bb_net_Init();
  gc_register_roots(MarkRoots);
  gc_assign(g_socket, new ScriptedSocket);
  g_socket->m_new2(new BBSocket(), 1, c_Socket::kOpen | c_Socket::kConnected);
  gc_assign(g_done, new Completion);
}

// Delivers one receive of n bytes (0: the connection closed).
void Deliver(c_HttpRequest* request, const uint8_t* bytes, int n) {
  int at = g_socket->offset;
  g_socket->offset = -1;
  if (n > 0) memcpy(request->m_rbuf->data + at, bytes, size_t(n));
  request->p_OnReceiveComplete(request->m_rbuf, at, n, g_socket);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Start();
  g_socket->m_state = c_Socket::kOpen | c_Socket::kConnected;
  g_done->calls = 0;
  c_HttpRequest* request = (new c_HttpRequest)->m_new2(String("GET"), String("http://fuzz/"), g_done);
  gc_assign(request->m_socket, static_cast<c_Socket*>(g_socket));
  // As after a successful connect: one receive for the whole buffer.
  g_socket->p_ReceiveAsync(request->m_rbuf, 0, c_HttpRequest::kReceiveBufferSize, request);

  static uint8_t fill[c_HttpRequest::kReceiveBufferSize];
  size_t at = 0;
  while (g_done->calls == 0) {
    fuzz_Check(g_socket->offset >= 0, "request neither finished nor asked for more");
    int room = g_socket->count;
    fuzz_Check(room > 0 && g_socket->offset + room <= request->m_rbuf->length,
               "receive asked for outside the buffer");
    if (at >= size || data[at] == 0xFF) {
      Deliver(request, nullptr, 0);
      at = size;
      continue;
    }
    uint8_t c = data[at++];
    if (c < 0x80) {
      int n = int(c) + 1;
      if (size_t(n) > size - at) n = int(size - at);
      if (n > room) n = room;
      if (n == 0) continue;
      Deliver(request, data + at, n);
      at += size_t(n);
    } else {
      int n = (c - 0x7F) * 1024;
      if (n > room) n = room;
      memset(fill, at < size ? data[at++] : 'x', size_t(n));
      Deliver(request, fill, n);
    }
  }

  fuzz_Check(g_done->calls == 1, "completion reported more than once");
  fuzz_Check(request->m_bytesReceived <= c_HttpRequest::kMaxBodyBytes, "body beyond its cap");
  fuzz_Check(request->p_ResponseText().Length() <= c_HttpRequest::kMaxBodyBytes,
             "response text beyond the body cap");
  gc_step(nullptr);
  return 0;
}
