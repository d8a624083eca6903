// Sockets and the HTTP client against scripted peers on the loopback
// interface: connect, send, receive, peer and local close, ordering, the
// request on the wire, replies split across receives, and every way a hostile
// server can fail or misbehave (each ends as a failure, bounded in time and
// memory). Completions must arrive on the main thread only.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "net/net_peer.h"

namespace {

struct Recorder : Object, c_IOnConnectComplete, c_IOnSendComplete, c_IOnReceiveComplete, c_IOnHttpRequestComplete {
  std::vector<int> connects, sends, receives;  // results and counts, in order
  std::vector<std::string> requests;            // status, a space and the response
  std::string received;
  bool offMainThread = false;

  int p_OnConnectComplete(bool ok, c_Socket*) override { return Log(connects, (int)ok); }
  int p_OnSendComplete(c_DataBuffer*, int, int count, c_Socket*) override { return Log(sends, count); }
  int p_OnReceiveComplete(c_DataBuffer* data, int offset, int count, c_Socket*) override {
    if (count > 0) received.append((const char*)data->data + offset, (size_t)count);
    return Log(receives, count);
  }
  int p_OnHttpRequestComplete(c_HttpRequest* r) override {
    return Log(requests, std::to_string(r->p_Status()) + " " + r->p_ResponseText().ToUtf8());
  }
  template <class T> int Log(std::vector<T>& to, T value) {
    return offMainThread |= std::this_thread::get_id() != EnsureNetStarted(), to.push_back(value), 0;
  }
};

struct NetIo : ::testing::Test {
  void SetUp() override { EnsureNetStarted(), rec = new Recorder; }
  void TearDown() override { EXPECT_FALSE(rec->offMainThread); }

  // Waits for the log to grow past `before`; its last entry.
  template <class T> T Next(const std::vector<T>& log, size_t before, T none) {
    return PumpUntil([&] { return log.size() > before; }, 15000) ? log.back() : none;
  }
  int Next(const std::vector<int>& log) { return Next(log, log.size(), -99); }
  c_Socket* Connect(const char* host, int port, bool expect) {
    c_Socket* socket = (new c_Socket)->m_new(String("stream"));
    socket->p_ConnectAsync(String(host), port, rec);
    EXPECT_EQ(Next(rec->connects), expect) << host;
    return socket;
  }
  int Receive(c_Socket* s, c_DataBuffer* into) { return s->p_ReceiveAsync(into, 0, into->length, rec), Next(rec->receives); }
  c_DataBuffer* Text(const char* ascii) {
    c_DataBuffer* buf = (new c_DataBuffer)->m_new((int)strlen(ascii));
    return buf->p_PokeString(0, String(ascii), String("ascii")), buf;
  }
  c_HttpRequest* Open(const char* method, const std::string& url) {
    opened_ = rec->requests.size();
    return (new c_HttpRequest)->m_new2(String(method), String(url.c_str()), rec);
  }
  c_HttpRequest* Fetch(const std::string& url) { c_HttpRequest* req = Open("GET", url); return req->p_Send(), req; }
  std::string Finish() { return Next(rec->requests, opened_, std::string("unfinished")); }
  static std::string Url(int port, const std::string& rest) { return "http://127.0.0.1:" + std::to_string(port) + rest; }

  Recorder* rec = nullptr;
  size_t opened_ = 0;
};

// Reads the request (head and announced body), then sends the pieces with a
// pause between them, so each arrives in a receive of its own.
Peer::Script Replying(std::vector<std::string> pieces) {
  return [pieces](int fd, Peer& p) {
    if (!p.ReadHead(fd)) return;
    size_t at = p.got.find("Content-Length: ");
    size_t size = at == std::string::npos ? 0 : p.got.find("\r\n\r\n") + 4 + std::stoul(p.got.substr(at + 16));
    p.Read(fd, [size](const std::string& s) { return s.size() < size; });
    for (const std::string& piece : pieces)
      if (!Peer::Send(fd, piece)) return;
      else if (pieces.size() > 1) p.Pause(100);
  };
}

// Sends head, then filler until the client gives up.
Peer::Script Endless(const std::string& head, const std::string& filler) {
  return [head, filler](int fd, Peer& p) {
    if (p.ReadHead(fd) && Peer::Send(fd, head)) while (!p.stop && Peer::Send(fd, filler)) continue;
  };
}

TEST_F(NetIo, ExchangesDataInOrderUntilThePeerCloses) {
  Peer peer([](int fd, Peer& p) {
    if (p.Read(fd, [](const std::string& s) { return s.size() < 26; })) Peer::Send(fd, "pong:" + p.got);
  });
  c_Socket* socket = Connect("127.0.0.1", peer.port, true);
  EXPECT_EQ(socket->m_state, 7);
  c_DataBuffer *out = Text("abcdefghijklmnopqrstuvwxyz"), *in = (new c_DataBuffer)->m_new(64);
  for (int i = 0; i < 26; i += 2) socket->p_SendAsync(out, i, 2, rec);
  ASSERT_TRUE(PumpUntil([&] { return rec->sends.size() == 13; }, 10000));
  EXPECT_EQ(rec->sends, std::vector<int>(13, 2));
  // A receive returns what is there; ask again until the whole answer is in.
  while (rec->received.size() < 31) ASSERT_GT(Receive(socket, in), 0);
  EXPECT_EQ(rec->received, "pong:abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ((peer.Join(), Receive(socket, in)), 0);  // the peer closed
  EXPECT_EQ((socket->p_Close(), socket->m_state), 0);
}

TEST_F(NetIo, FailuresLocalCloseListenerAndDatagrams) {
  EXPECT_EQ(Connect("127.0.0.1", Peer::UnusedPort(), false)->m_state, 1);
  // Names that do not resolve must not fall back to this machine.
  Peer local([](int, Peer& p) { p.Pause(10000); });
  for (const char* host : {"larkspin-nowhere.invalid", ""}) EXPECT_FALSE(Connect(host, local.port, false)->p_IsConnected());
  c_DataBuffer* buf = (new c_DataBuffer)->m_new(4);
  c_Socket* idle = (new c_Socket)->m_new(String("stream"));
  idle->p_SendAsync(buf, 0, 4, rec), idle->p_ReceiveAsync(buf, 0, 4, rec), idle->p_Close();
  idle->p_ConnectAsync(String("127.0.0.1"), 1, rec), PumpUntil([] { return false; }, 50);
  EXPECT_TRUE(rec->sends.empty() && rec->receives.empty() && rec->connects.size() == 3 && !local.accepted);
  EXPECT_EQ(idle->m_wqueue->m_put.load() + idle->m_rqueue->m_put.load(), 0);
  // Closing here ends a receive blocked on a silent peer, with -1.
  c_Socket* socket = Connect("127.0.0.1", local.port, true);
  socket->p_ReceiveAsync(buf, 0, 4, rec), PumpUntil([] { return false; }, 50);  // the game keeps running meanwhile
  socket->p_Close();
  EXPECT_EQ((Next(rec->receives), rec->receives), std::vector<int>{-1});
  // A listener's connection and datagrams stay inside their buffers.
  BBSocket *listener = new BBSocket(), *a = new BBSocket(), *b = new BBSocket();
  BBSocketAddress *addr = new BBSocketAddress(), *from = new BBSocketAddress();
  ASSERT_TRUE(listener->Open(2) && listener->Bind(String("127.0.0.1"), 0) && listener->Listen(1) &&
              listener->GetLocalAddress(addr));
  addr->Validate();
  c_Socket* client = Connect("localhost", addr->port, true);
  ASSERT_TRUE(listener->Accept());
  c_DataBuffer* hi = Text("hi......");
  (new c_Socket)->m_new2(listener->Accepted(), 1, 7)->p_SendAsync(hi, 0, 2, rec);
  EXPECT_EQ(Receive(client, (new c_DataBuffer)->m_new(8)), 2);
  EXPECT_EQ(rec->received, "hi");
  ASSERT_TRUE(a->Open(3) && b->Open(3) && b->Bind(String("127.0.0.1"), 0) && b->GetLocalAddress(addr));
  EXPECT_EQ(a->SendTo(hi, 0, 2, addr) * 10 + a->SendTo(hi, 9, 1, addr), 19);  // 2, then -1 outside the buffer
  EXPECT_EQ(b->ReceiveFrom(hi, 6, 100, from), 2);
  EXPECT_EQ(hi->p_PeekString(6, 2, String("ascii")).ToUtf8(), "hi");
  from->Set(String("nothing-here.invalid"), 2), from->Validate();
  EXPECT_EQ(from->host.ToUtf8() + ":" + std::to_string(from->port), "0.0.0.0:2");
}

TEST_F(NetIo, RequestsAreByteExactOnTheWire) {
  const Char text[] = {'h', 0xE9, 'l', 'l', 'o'};
  std::string head = " HTTP/1.0\r\nHost: 127.0.0.1\r\n", fits = "/" + std::string(4096 - 35, 'p');
  // Any scheme goes over plain TCP; an empty body is announced, not sent; a
  // header block over 4096 bytes is refused unsent.
  struct { const char *method, *scheme; std::string path; String body; const char* mime; std::string request, outcome; } rows[] = {
      {"GET", "http", "/x?y#frag", String(), nullptr, "GET /x?y#frag" + head + "\r\n", "200 hello"},
      {"POST", "http", "/", String(text, 5), "text/plain",
       "POST /" + head + "Content-Type: text/plain\r\nContent-Length: 6\r\n\r\nh\xC3\xA9llo", "200 hello"},
      {"PUT", "https", "/e", String(), "", "PUT /e" + head + "Content-Length: 0\r\n\r\n", "200 hello"},
      {"GET", "http", fits, String(), nullptr, "GET " + fits + head + "\r\n", "200 hello"},
      {"GET", "http", fits + "p", String(), nullptr, "", "-1 "},
  };
  for (auto& r : rows) {
    Peer peer(Replying({"HTTP/1.1 200 OK\r\nServer: test\r\n\r\nhello"}));
    c_HttpRequest* req = Open(r.method, r.scheme + Url(peer.port, r.path).substr(4));
    r.mime ? req->p_Send2(r.body, String(r.mime), String("utf8")) : req->p_Send();
    EXPECT_EQ(Finish(), r.outcome);
    EXPECT_EQ((peer.Join(), peer.got), r.request);
    EXPECT_FALSE(req->m_socket->p_IsOpen());
    EXPECT_EQ(req->m_lines->p_Join(String("|")).ToUtf8(), r.outcome[0] == '2' ? "HTTP/1.1 200 OK|Server: test" : "");
  }
}

TEST_F(NetIo, StatusHeadersAndBodyFromFriendlyAndHostileServers) {
  std::string filler = "X-Filler: " + std::string(100, 'a') + "\r\n";
  struct { Peer::Script script; std::string outcome; } rows[] = {
      {Replying({"HTTP/1.0 20", "4 No Content\r\nX-A: 1\r", "\n\r", "\nbody-1", "body-2"}), "204 body-1body-2"},
      {Replying({"http/1.1 404 not found\r\n\r\nmissing"}), "404 missing"},  // any case
      {Replying({"  HTTP/1.0 302 Found  \n\nmoved"}), "302 moved"},          // bare line feeds
      {Replying({"HTTP/1.0 200 OK\r\n\r\ncaf\xC3\xA9 \xE2\x82\xAC"}), "200 caf\xC3\xA9 \xE2\x82\xAC"},
      {Replying({"HTTP/1.1 200\r\n\r\nhello"}), "-1 "}, {Replying({"ICY 200 OK\r\n\r\nstream"}), "-1 "},  // no reason; not HTTP
      {Replying({"\r\n\r\nbody"}), "-1 "}, {Replying({}), "-1 "},  // no status line; closed at once
      {Replying({"HTTP/1.0 200 OK\r\nX-Half: y\r\n"}), "-1 "},  // closed inside the header
      {Endless("HTTP/1.0 200 OK\r\n", filler), "-1 "},
      {Endless("HTTP/1.0 200 OK\r\n\r\n", std::string(65536, 'b')), "-1 "},
      {Endless("HTTP/1.0 200 OK\r\nX-Long: ", std::string(4096, 'a')), "-1 "},  // one endless line
  };
  for (auto& r : rows) {
    Peer peer(r.script);
    c_HttpRequest* req = Fetch(Url(peer.port, "/"));
    EXPECT_EQ(Finish(), r.outcome);
    // Counted bytes are the body's, and never past the limit.
    int body = (int)(r.outcome.size() - r.outcome.find(' ') - 1), got = req->m_bytesReceived;
    EXPECT_TRUE(body ? got == body : got <= c_HttpRequest::kMaxBodyBytes) << got;
  }
  for (std::string url : {Url(Peer::UnusedPort(), "/"), std::string("http://larkspin-nowhere.invalid/x")}) {
    c_HttpRequest* req = Fetch(url);
    EXPECT_EQ(Finish() + (req->m_body ? "body" : ""), "-1 ") << url;
  }
}

// A silent server must not block updates; once it answers, everything the
// request needs must stay reachable from the layer's roots while the
// collector runs whole cycles.
TEST_F(NetIo, SilentServerThenCollectorCycles) {
  std::atomic<bool> speak{false};
  Peer peer([&speak](int fd, Peer& p) {
    while (!speak && !p.stop) usleep(1000);
    Replying({"HTTP/1.0 200 OK\r\n", "\r\n", "chunk0", "chunk1", "chunk2"})(fd, p);
  });
  Fetch(Url(peer.port, "/gc"));
  EXPECT_FALSE(PumpUntil([this] { return rec->requests.size() > opened_; }, 300));
  speak = true;
  // A cycle ends every few passes.
  PumpUntil([this] { return (void)Array<int>(1 << 19), gc_step(nullptr), rec->requests.size() > opened_; }, 15000);
  EXPECT_EQ(Finish(), "200 chunk0chunk1chunk2");
  gc_validate_list(gc_unmarked_list);
}

}  // namespace
