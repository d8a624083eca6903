// The HTTP client against scripted servers on the loopback interface: the
// request on the wire, status lines, header reassembly, bodies and every
// way a server can fail or misbehave.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "net/loopback_server.h"
#include "net/net_test_support.h"

namespace {

class Completion : public Object, public c_IOnHttpRequestComplete {
 public:
  int calls = 0, status = 0;
  std::string response;  // as UTF-8
  bool offMainThread = false;

  int p_OnHttpRequestComplete(c_HttpRequest* request) override {
    offMainThread |= std::this_thread::get_id() != TestThread();
    ++calls, status = request->p_Status(), response = request->p_ResponseText().ToUtf8();
    return 0;
  }
};

// Reads the request (head and announced body), then sends the pieces with a
// pause between them, so each piece arrives in a receive of its own.
LoopbackServer::Script Replying(std::vector<std::string> pieces) {
  return [pieces](int fd, LoopbackServer& s) {
    if (!s.ReadHead(fd)) return;
    size_t at = s.Received().find("Content-Length: ");
    if (at != std::string::npos) s.ReadExact(fd, std::stoul(s.Received().substr(at + 16)));
    for (const std::string& piece : pieces) {
      if (!LoopbackServer::SendAll(fd, piece)) return;
      if (pieces.size() > 1) s.Pause(100);
    }
  };
}

class HttpRequestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestThread();
    EnsureNetStarted();
    done = new Completion;
  }
  void TearDown() override { EXPECT_FALSE(done->offMainThread); }

  static std::string Url(int port, const std::string& rest) {
    return "http://127.0.0.1:" + std::to_string(port) + rest;
  }
  c_HttpRequest* Open(const char* method, const std::string& url) {
    done->calls = 0;
    return (new c_HttpRequest)->m_new2(String(method), String(url.c_str()), done);
  }
  bool Finish() { return PumpUntil([this] { return done->calls > 0; }, 15000); }
  c_HttpRequest* Fetch(const std::string& url) {
    c_HttpRequest* req = Open("GET", url);
    req->p_Send();
    EXPECT_TRUE(Finish()) << url;
    EXPECT_EQ(done->calls, 1) << url;
    return req;
  }

  Completion* done = nullptr;
};

TEST_F(HttpRequestTest, RequestsAreByteExactOnTheWire) {
  LoopbackServer get(Replying({"HTTP/1.1 200 OK\r\nServer: test\r\n\r\nhello"}));
  c_HttpRequest* req = Fetch(Url(get.Port(), "/x?y#frag"));
  get.Join();
  EXPECT_EQ(get.Received(), "GET /x?y#frag HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
  EXPECT_EQ(done->status, 200);
  EXPECT_EQ(done->response, "hello");
  EXPECT_EQ(req->m_bytesReceived, 5);
  ASSERT_EQ(req->m_lines->p_Length2(), 2);
  EXPECT_EQ(req->m_lines->p_Get(1).ToUtf8(), "Server: test");
  EXPECT_FALSE(req->m_socket->p_IsOpen());

  LoopbackServer post(Replying({"HTTP/1.0 201 Created\r\n\r\nok"}));
  req = Open("POST", Url(post.Port(), "/submit"));
  const Char text[] = {'h', 0xE9, 'l', 'l', 'o'};
  req->p_Send2(String(text, 5), String("text/plain"), String("utf8"));
  ASSERT_TRUE(Finish());
  post.Join();
  EXPECT_EQ(post.Received(),
            "POST /submit HTTP/1.0\r\nHost: 127.0.0.1\r\nContent-Type: text/plain\r\n"
            "Content-Length: 6\r\n\r\nh\xC3\xA9llo");
  EXPECT_EQ(done->status, 201);
  EXPECT_EQ(req->m_dataLength, 0);

  // Any scheme goes over plain TCP; an empty body is announced, not sent.
  LoopbackServer put(Replying({"HTTP/1.0 204 No Content\r\n\r\n"}));
  req = Open("PUT", "https://127.0.0.1:" + std::to_string(put.Port()) + "/e");
  req->p_Send2(String(), String(), String("ascii"));
  ASSERT_TRUE(Finish());
  put.Join();
  EXPECT_EQ(put.Received(), "PUT /e HTTP/1.0\r\nHost: 127.0.0.1\r\nContent-Length: 0\r\n\r\n");
  EXPECT_EQ(done->status, 204);
}

TEST_F(HttpRequestTest, ReadsStatusHeadersAndBodyAcrossReceives) {
  struct Case {
    std::vector<std::string> pieces;
    int status;
    std::string body;
  } cases[] = {
      {{"HTTP/1.0 20", "4 No Content\r\nX-A: 1\r", "\n\r", "\nbody-1", "body-2"}, 204, "body-1body-2"},
      {{"http/1.1 404 not found\r\n\r\nmissing"}, 404, "missing"},  // any case
      {{"  HTTP/1.0 302 Found  \n\nmoved"}, 302, "moved"},          // bare line feeds
      {{"HTTP/1.0 200 OK\r\n\r\ncaf\xC3\xA9 \xE2\x82\xAC"}, 200, "caf\xC3\xA9 \xE2\x82\xAC"},
      {{"HTTP/1.1 200\r\n\r\nhello"}, -1, ""},  // no reason phrase
      {{"ICY 200 OK\r\n\r\nstream"}, -1, ""},
      {{"\r\n\r\nbody"}, -1, ""},                         // no status line
      {{"HTTP/1.0 200 OK\r\nX-Half: y\r\n"}, -1, ""},  // closed inside the header
      {{}, -1, ""},                                       // closed at once
  };
  for (const Case& c : cases) {
    std::string name = c.pieces.empty() ? "nothing" : c.pieces[0];
    LoopbackServer server(Replying(c.pieces));
    c_HttpRequest* req = Fetch(Url(server.Port(), "/"));
    EXPECT_EQ(done->status, c.status) << name;
    EXPECT_EQ(done->response, c.body) << name;
    EXPECT_EQ(req->m_bytesReceived, (int)c.body.size()) << name;
  }
}

TEST_F(HttpRequestTest, UnreachableServersFinishWithoutStatus) {
  for (std::string url : {Url(LoopbackServer::UnusedPort(), "/"),
                          std::string("http://larkspin-nowhere.invalid/housecall.php")}) {
    c_HttpRequest* req = Fetch(url);
    EXPECT_EQ(done->status, -1) << url;
    EXPECT_EQ(req->m_body, nullptr) << url;
  }
}

// Sends head, then filler until the client gives up (or the test ends).
LoopbackServer::Script Endless(const std::string& head, const std::string& filler) {
  return [head, filler](int fd, LoopbackServer& s) {
    if (!s.ReadHead(fd) || !LoopbackServer::SendAll(fd, head)) return;
    while (!s.Stopping() && LoopbackServer::SendAll(fd, filler)) {
    }
  };
}

TEST_F(HttpRequestTest, EndlessResponsesAreCutOff) {
  std::string filler = "X-Filler: " + std::string(100, 'a') + "\r\n";
  LoopbackServer lines(Endless("HTTP/1.0 200 OK\r\n", filler));
  Fetch(Url(lines.Port(), "/"));
  EXPECT_EQ(done->status, -1);

  LoopbackServer body(Endless("HTTP/1.0 200 OK\r\n\r\n", std::string(65536, 'b')));
  c_HttpRequest* req = Fetch(Url(body.Port(), "/"));
  EXPECT_EQ(done->status, -1);
  EXPECT_EQ(done->response, "");
  EXPECT_LE(req->m_bytesReceived, (int)c_HttpRequest::kMaxBodyBytes);

  // One line longer than the receive buffer, on a connection kept open.
  LoopbackServer longLine([](int fd, LoopbackServer& s) {
    if (!s.ReadHead(fd)) return;
    LoopbackServer::SendAll(fd, "HTTP/1.0 200 OK\r\nX-Long: " + std::string(20000, 'a'));
    s.Pause(10000);
  });
  Fetch(Url(longLine.Port(), "/"));
  EXPECT_EQ(done->status, -1);
}

TEST_F(HttpRequestTest, SilentServerNeverBlocksUpdates) {
  LoopbackServer server([](int fd, LoopbackServer& s) {
    if (s.ReadHead(fd)) s.Pause(10000);
  });
  c_HttpRequest* req = Open("GET", Url(server.Port(), "/wait"));
  req->p_Send();
  int updates = 0;
  for (; updates < 300; ++updates) {
    bb_asyncevent_UpdateAsyncEvents();
    usleep(1000);
  }
  EXPECT_EQ(done->calls, 0);
  server.Stop();
  ASSERT_TRUE(Finish());
  EXPECT_EQ(done->status, -1);
  EXPECT_EQ(server.Received(), "GET /wait HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
}

TEST_F(HttpRequestTest, HeaderBlockTooLargeIsRefusedUnsent) {
  LoopbackServer server([](int fd, LoopbackServer& s) { s.ReadUntilClosed(fd, 5000); });
  Fetch(Url(server.Port(), "/" + std::string(5000, 'p')));
  server.Join();
  EXPECT_EQ(done->status, -1);
  EXPECT_TRUE(server.Accepted());
  EXPECT_EQ(server.Received(), "");

  // Right at the limit it still goes out whole.
  LoopbackServer fits(Replying({"HTTP/1.0 200 OK\r\n\r\nfit"}));
  std::string prefix = "GET / HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
  Fetch(Url(fits.Port(), "/" + std::string(4096 - prefix.size(), 'p')));
  fits.Join();
  EXPECT_EQ(fits.Received().size(), 4096u);
  EXPECT_EQ(done->response, "fit");
}

// Requests keep working while the collector runs whole cycles: everything
// a request needs must be reachable from the layer's roots.
TEST_F(HttpRequestTest, SurvivesCollectorCycles) {
  LoopbackServer server(Replying({"HTTP/1.0 200 OK\r\n", "\r\n", "chunk0", "chunk1", "chunk2"}));
  Open("GET", Url(server.Port(), "/gc"))->p_Send();
  for (int i = 0; i < 15000 && done->calls == 0; ++i) {
    (void)Array<int>(1 << 19);  // a cycle ends every few passes
    gc_step(nullptr);
    bb_asyncevent_UpdateAsyncEvents();
    usleep(1000);
  }
  EXPECT_EQ(done->status, 200);
  EXPECT_EQ(done->response, "chunk0chunk1chunk2");
  gc_validate_list(gc_unmarked_list);
}

}  // namespace
