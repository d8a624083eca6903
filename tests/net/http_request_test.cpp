// The HTTP client against scripted servers on the loopback interface: the
// request on the wire, status lines, header reassembly across receives,
// bodies, and every way a hostile server can fail or misbehave (each ends
// as a failure, bounded in time and memory).
#include <gtest/gtest.h>

#include <vector>

#include "net/net_peer.h"

namespace {

class Completion : public Object, public c_IOnHttpRequestComplete {
 public:
  int calls = 0, status = 0;
  std::string response;  // as UTF-8
  bool offMainThread = false;

  int p_OnHttpRequestComplete(c_HttpRequest* request) override {
    offMainThread |= std::this_thread::get_id() != EnsureNetStarted();
    ++calls, status = request->p_Status(), response = request->p_ResponseText().ToUtf8();
    return 0;
  }
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
    if (!p.ReadHead(fd) || !Peer::Send(fd, head)) return;
    while (!p.stop && Peer::Send(fd, filler)) {
    }
  };
}

class HttpRequestTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureNetStarted(), done = new Completion; }
  void TearDown() override { EXPECT_FALSE(done->offMainThread); }

  static std::string Url(int port, const std::string& rest) { return "http://127.0.0.1:" + std::to_string(port) + rest; }
  c_HttpRequest* Open(const char* method, const std::string& url) {
    done->calls = 0;
    return (new c_HttpRequest)->m_new2(String(method), String(url.c_str()), done);
  }
  bool Finish() { return PumpUntil([this] { return done->calls > 0; }, 15000); }
  c_HttpRequest* Fetch(const std::string& url) {
    c_HttpRequest* req = Open("GET", url);
    req->p_Send();
    EXPECT_TRUE(Finish() && done->calls == 1) << url;
    return req;
  }

  Completion* done = nullptr;
};

TEST_F(HttpRequestTest, RequestsAreByteExactOnTheWire) {
  Peer get(Replying({"HTTP/1.1 200 OK\r\nServer: test\r\n\r\nhello"}));
  c_HttpRequest* req = Fetch(Url(get.Port(), "/x?y#frag"));
  get.Join();
  EXPECT_EQ(get.got, "GET /x?y#frag HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
  EXPECT_EQ(std::to_string(done->status) + done->response, "200hello");
  EXPECT_EQ(req->m_lines->p_Get(1).ToUtf8(), "Server: test");
  EXPECT_FALSE(req->m_socket->p_IsOpen());

  // Any scheme goes over plain TCP; an empty body is announced, not sent.
  const Char text[] = {'h', 0xE9, 'l', 'l', 'o'};
  struct {
    const char *method, *scheme, *mime, *reply, *request;
    String body;
  } rows[] = {{"POST", "http", "text/plain", "HTTP/1.0 201 Created\r\n\r\nok",
               "POST / HTTP/1.0\r\nHost: 127.0.0.1\r\nContent-Type: text/plain\r\nContent-Length: 6\r\n\r\nh\xC3\xA9llo",
               String(text, 5)},
              {"PUT", "https", "", "HTTP/1.0 201 Created\r\n\r\nok",
               "PUT / HTTP/1.0\r\nHost: 127.0.0.1\r\nContent-Length: 0\r\n\r\n", String()}};
  for (auto& r : rows) {
    Peer peer(Replying({r.reply}));
    req = Open(r.method, std::string(r.scheme) + "://127.0.0.1:" + std::to_string(peer.Port()) + "/");
    req->p_Send2(r.body, String(r.mime), String("utf8"));
    ASSERT_TRUE(Finish());
    peer.Join();
    EXPECT_EQ(peer.got, r.request);
    EXPECT_EQ(std::to_string(done->status) + done->response, "201ok");
  }
}

TEST_F(HttpRequestTest, StatusHeadersAndBodyFromFriendlyAndHostileServers) {
  std::string filler = "X-Filler: " + std::string(100, 'a') + "\r\n";
  struct {
    Peer::Script script;
    int status;
    std::string body;
  } rows[] = {
      {Replying({"HTTP/1.0 20", "4 No Content\r\nX-A: 1\r", "\n\r", "\nbody-1", "body-2"}), 204, "body-1body-2"},
      {Replying({"http/1.1 404 not found\r\n\r\nmissing"}), 404, "missing"},  // any case
      {Replying({"  HTTP/1.0 302 Found  \n\nmoved"}), 302, "moved"},          // bare line feeds
      {Replying({"HTTP/1.0 200 OK\r\n\r\ncaf\xC3\xA9 \xE2\x82\xAC"}), 200, "caf\xC3\xA9 \xE2\x82\xAC"},
      {Replying({"HTTP/1.1 200\r\n\r\nhello"}), -1, ""},  // no reason phrase
      {Replying({"ICY 200 OK\r\n\r\nstream"}), -1, ""},
      {Replying({"\r\n\r\nbody"}), -1, ""},                     // no status line
      {Replying({"HTTP/1.0 200 OK\r\nX-Half: y\r\n"}), -1, ""},  // closed inside the header
      {Replying({}), -1, ""},                                   // closed at once
      {Endless("HTTP/1.0 200 OK\r\n", filler), -1, ""},
      {Endless("HTTP/1.0 200 OK\r\n\r\n", std::string(65536, 'b')), -1, ""},
      {Endless("HTTP/1.0 200 OK\r\nX-Long: ", std::string(4096, 'a')), -1, ""},  // one endless line
  };
  for (auto& r : rows) {
    Peer peer(r.script);
    c_HttpRequest* req = Fetch(Url(peer.Port(), "/"));
    EXPECT_EQ(done->status, r.status) << &r - rows;
    EXPECT_EQ(done->response, r.body) << &r - rows;
    if (r.status > 0) {
      EXPECT_EQ(req->m_bytesReceived, (int)r.body.size());
    }
    EXPECT_LE(req->m_bytesReceived, (int)c_HttpRequest::kMaxBodyBytes);
  }
  for (std::string url : {Url(Peer::UnusedPort(), "/"), std::string("http://larkspin-nowhere.invalid/x")}) {
    EXPECT_EQ(Fetch(url)->m_body, nullptr) << url;
    EXPECT_EQ(done->status, -1) << url;
  }
}

TEST_F(HttpRequestTest, SilentServerNeverBlocksUpdates) {
  Peer peer([](int fd, Peer& p) {
    if (p.ReadHead(fd)) p.Pause(10000);
  });
  Open("GET", Url(peer.Port(), "/wait"))->p_Send();
  EXPECT_FALSE(PumpUntil([this] { return done->calls > 0; }, 300));
  peer.stop = true;
  ASSERT_TRUE(Finish());
  EXPECT_EQ(done->status, -1);
  peer.Join();
  EXPECT_EQ(peer.got, "GET /wait HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
}

TEST_F(HttpRequestTest, HeaderBlockTooLargeIsRefusedUnsent) {
  Peer big([](int fd, Peer& p) { p.Read(fd, [](const std::string&) { return true; }); });
  Fetch(Url(big.Port(), "/" + std::string(5000, 'p')));
  big.Join();
  EXPECT_EQ(done->status, -1);
  EXPECT_TRUE(big.accepted);
  EXPECT_EQ(big.got, "");
  // Right at the limit it still goes out whole.
  Peer fits(Replying({"HTTP/1.0 200 OK\r\n\r\nfit"}));
  std::string prefix = "GET / HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
  Fetch(Url(fits.Port(), "/" + std::string(4096 - prefix.size(), 'p')));
  fits.Join();
  EXPECT_EQ(fits.got.size(), 4096u);
  EXPECT_EQ(done->response, "fit");
}

// Everything a request needs must be reachable from the layer's roots while
// the collector runs whole cycles.
TEST_F(HttpRequestTest, SurvivesCollectorCycles) {
  Peer peer(Replying({"HTTP/1.0 200 OK\r\n", "\r\n", "chunk0", "chunk1", "chunk2"}));
  Open("GET", Url(peer.Port(), "/gc"))->p_Send();
  PumpUntil([this] {
    (void)Array<int>(1 << 19);  // a cycle ends every few passes
    gc_step(nullptr);
    return done->calls > 0;
  }, 15000);
  EXPECT_EQ(std::to_string(done->status) + done->response, "200chunk0chunk1chunk2");
  gc_validate_list(gc_unmarked_list);
}

}  // namespace
