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
  int calls = 0;
  std::string outcome;  // status, a space and the response as UTF-8
  bool offMainThread = false;

  int p_OnHttpRequestComplete(c_HttpRequest* request) override {
    offMainThread |= std::this_thread::get_id() != EnsureNetStarted();
    ++calls, outcome = std::to_string(request->p_Status()) + " " + request->p_ResponseText().ToUtf8();
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
  static std::string Url(int port, const std::string& rest) { return "http://127.0.0.1:" + std::to_string(port) + rest; }

  Completion* done = nullptr;
};

TEST_F(HttpRequestTest, RequestsAreByteExactOnTheWire) {
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
    c_HttpRequest* req = Open(r.method, r.scheme + Url(peer.Port(), r.path).substr(4));
    r.mime ? req->p_Send2(r.body, String(r.mime), String("utf8")) : req->p_Send();
    ASSERT_TRUE(Finish());
    peer.Join();
    EXPECT_EQ(peer.got, r.request);
    EXPECT_EQ(done->outcome, r.outcome);
    EXPECT_FALSE(req->m_socket->p_IsOpen());
    EXPECT_EQ(req->m_lines->p_Join(String("|")).ToUtf8(), r.outcome[0] == '2' ? "HTTP/1.1 200 OK|Server: test" : "");
  }
}

TEST_F(HttpRequestTest, StatusHeadersAndBodyFromFriendlyAndHostileServers) {
  std::string filler = "X-Filler: " + std::string(100, 'a') + "\r\n";
  struct { Peer::Script script; std::string outcome; } rows[] = {
      {Replying({"HTTP/1.0 20", "4 No Content\r\nX-A: 1\r", "\n\r", "\nbody-1", "body-2"}), "204 body-1body-2"},
      {Replying({"http/1.1 404 not found\r\n\r\nmissing"}), "404 missing"},  // any case
      {Replying({"  HTTP/1.0 302 Found  \n\nmoved"}), "302 moved"},          // bare line feeds
      {Replying({"HTTP/1.0 200 OK\r\n\r\ncaf\xC3\xA9 \xE2\x82\xAC"}), "200 caf\xC3\xA9 \xE2\x82\xAC"},
      {Replying({"HTTP/1.1 200\r\n\r\nhello"}), "-1 "},  // no reason phrase
      {Replying({"ICY 200 OK\r\n\r\nstream"}), "-1 "},
      {Replying({"\r\n\r\nbody"}), "-1 "},                     // no status line
      {Replying({"HTTP/1.0 200 OK\r\nX-Half: y\r\n"}), "-1 "},  // closed inside the header
      {Replying({}), "-1 "},                                     // closed at once
      {Endless("HTTP/1.0 200 OK\r\n", filler), "-1 "},
      {Endless("HTTP/1.0 200 OK\r\n\r\n", std::string(65536, 'b')), "-1 "},
      {Endless("HTTP/1.0 200 OK\r\nX-Long: ", std::string(4096, 'a')), "-1 "},  // one endless line
  };
  for (auto& r : rows) {
    Peer peer(r.script);
    c_HttpRequest* req = Fetch(Url(peer.Port(), "/"));
    EXPECT_EQ(done->outcome, r.outcome);
    // Counted bytes are the body's, and never past the limit.
    int body = (int)(r.outcome.size() - r.outcome.find(' ') - 1), got = req->m_bytesReceived;
    EXPECT_TRUE(body ? got == body : got <= c_HttpRequest::kMaxBodyBytes) << got;
  }
  for (std::string url : {Url(Peer::UnusedPort(), "/"), std::string("http://larkspin-nowhere.invalid/x")})
    EXPECT_EQ(std::to_string(Fetch(url)->m_body == nullptr) + done->outcome, "1-1 ") << url;
}

TEST_F(HttpRequestTest, SilentServerNeverBlocksUpdates) {
  Peer peer([](int fd, Peer& p) {
    if (p.ReadHead(fd)) p.Pause(10000);
  });
  Open("GET", Url(peer.Port(), "/wait"))->p_Send();
  EXPECT_FALSE(PumpUntil([this] { return done->calls > 0; }, 300));
  peer.stop = true;
  ASSERT_TRUE(Finish());
  EXPECT_EQ(done->outcome, "-1 ");
  peer.Join();
  EXPECT_EQ(peer.got, "GET /wait HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
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
  EXPECT_EQ(done->outcome, "200 chunk0chunk1chunk2");
  gc_validate_list(gc_unmarked_list);
}

}  // namespace
