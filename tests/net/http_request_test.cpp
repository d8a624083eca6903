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
  int calls = 0;
  int status = 0;
  String response;
  bool offMainThread = false;

  int p_OnHttpRequestComplete(c_HttpRequest* request) override {
    if (std::this_thread::get_id() != TestThread()) offMainThread = true;
    ++calls;
    status = request->p_Status();
    response = request->p_ResponseText();
    return 0;
  }
};

const char* kOkHead = "HTTP/1.0 200 OK\r\n\r\n";

// A server that reads the request head and answers with reply, then closes.
LoopbackServer::Script Replying(const std::string& reply) {
  return [reply](int fd, LoopbackServer& s) {
    if (s.ReadHead(fd)) LoopbackServer::SendAll(fd, reply);
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

  c_HttpRequest* Start(const std::string& method, const std::string& url) {
    c_HttpRequest* req = (new c_HttpRequest)->m_new2(String(method.c_str()),
                                                      String(url.c_str()), done);
    return req;
  }

  // Sends a request and drives updates until its completion (bounded).
  c_HttpRequest* Fetch(const std::string& url) {
    c_HttpRequest* req = Start("GET", url);
    req->p_Send();
    EXPECT_TRUE(Finish());
    return req;
  }

  bool Finish() { return PumpUntil([this] { return done->calls > 0; }, 15000); }

  static std::vector<int> Units(const String& s) {
    return std::vector<int>(s.Data(), s.Data() + s.Length());
  }

  Completion* done = nullptr;
};

TEST_F(HttpRequestTest, GetIsByteExactAndReadsStatusAndBody) {
  LoopbackServer server(Replying("HTTP/1.1 200 OK\r\nServer: test\r\n\r\nhello"));
  c_HttpRequest* req = Fetch(Url(server.Port(), "/x?y#frag"));
  server.Join();
  EXPECT_EQ(server.Received(), "GET /x?y#frag HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
  EXPECT_EQ(done->calls, 1);
  EXPECT_EQ(done->status, 200);
  EXPECT_EQ(done->response.ToUtf8(), "hello");
  EXPECT_EQ(req->m_bytesReceived, 5);
  ASSERT_EQ(req->m_lines->p_Length2(), 2);
  EXPECT_EQ(req->m_lines->p_Get(1).ToUtf8(), "Server: test");
  EXPECT_FALSE(req->m_socket->p_IsOpen());
}

TEST_F(HttpRequestTest, ReassemblesHeaderLinesSplitAcrossReceives) {
  LoopbackServer server([](int fd, LoopbackServer& s) {
    if (!s.ReadHead(fd)) return;
    const char* pieces[] = {"HTTP/1.0 20", "4 No Content\r\nX-A: 1\r", "\n\r",
                            "\nbody-part-1", "body-part-2"};
    for (const char* piece : pieces) {
      LoopbackServer::SendAll(fd, piece);
      s.Pause(120);
    }
  });
  c_HttpRequest* req = Fetch(Url(server.Port(), "/"));
  EXPECT_EQ(done->status, 204);
  EXPECT_EQ(done->response.ToUtf8(), "body-part-1body-part-2");
  EXPECT_EQ(req->m_bytesReceived, 22);
  ASSERT_EQ(req->m_lines->p_Length2(), 2);
  EXPECT_EQ(req->m_lines->p_Get(0).ToUtf8(), "HTTP/1.0 204 No Content");
  EXPECT_EQ(req->m_lines->p_Get(1).ToUtf8(), "X-A: 1");
}

TEST_F(HttpRequestTest, StatusLineRules) {
  struct Case {
    const char* head;
    int status;
    const char* body;
  } cases[] = {
      {"http/1.1 404 not found\r\n\r\nmissing", 404, "missing"},  // any case
      {"HTTP/1.1 200\r\n\r\nhello", -1, ""},                       // no reason phrase
      {"ICY 200 OK\r\n\r\nstream", -1, ""},
      {"\r\n\r\nbody", -1, ""},                                    // no status line
      {"  HTTP/1.0 302 Found  \n\nmoved", 302, "moved"},           // bare line feeds
  };
  for (const Case& c : cases) {
    done->calls = 0;
    LoopbackServer server(Replying(c.head));
    Fetch(Url(server.Port(), "/"));
    EXPECT_EQ(done->calls, 1) << c.head;
    EXPECT_EQ(done->status, c.status) << c.head;
    EXPECT_EQ(done->response.ToUtf8(), c.body) << c.head;
  }
}

TEST_F(HttpRequestTest, BodyIsDecodedAsUtf8) {
  LoopbackServer server(Replying(std::string(kOkHead) + "caf\xC3\xA9 \xE2\x82\xAC"));
  Fetch(Url(server.Port(), "/"));
  EXPECT_EQ(done->status, 200);
  EXPECT_EQ(Units(done->response), (std::vector<int>{'c', 'a', 'f', 0xE9, ' ', 0x20AC}));
}

TEST_F(HttpRequestTest, FailuresFinishWithoutStatus) {
  LoopbackServer early(Replying("HTTP/1.0 200 OK\r\nX-Half: y\r\n"));
  Fetch(Url(early.Port(), "/"));
  EXPECT_EQ(done->status, -1);
  EXPECT_EQ(done->response.Length(), 0);

  done->calls = 0;
  LoopbackServer silent([](int, LoopbackServer&) {});
  Fetch(Url(silent.Port(), "/"));
  EXPECT_EQ(done->status, -1);

  done->calls = 0;
  Fetch(Url(LoopbackServer::UnusedPort(), "/"));
  EXPECT_EQ(done->calls, 1);
  EXPECT_EQ(done->status, -1);

  done->calls = 0;
  c_HttpRequest* req = Fetch("http://larkspin-nowhere.invalid/housecall.php");
  EXPECT_EQ(done->calls, 1);
  EXPECT_EQ(done->status, -1);
  EXPECT_EQ(req->m_body, nullptr);
}

TEST_F(HttpRequestTest, EndlessHeadersAreCutOff) {
  LoopbackServer forever([](int fd, LoopbackServer& s) {
    if (!s.ReadHead(fd) || !LoopbackServer::SendAll(fd, "HTTP/1.0 200 OK\r\n")) return;
    std::string line = "X-Filler: " + std::string(100, 'a') + "\r\n";
    for (int i = 0; i < 100000 && !s.Stopping(); ++i) {
      if (!LoopbackServer::SendAll(fd, line)) return;
    }
  });
  Fetch(Url(forever.Port(), "/"));
  EXPECT_EQ(done->calls, 1);
  EXPECT_EQ(done->status, -1);
  EXPECT_EQ(done->response.Length(), 0);
}

TEST_F(HttpRequestTest, OverlongHeaderLineEndsTheRequest) {
  LoopbackServer server([](int fd, LoopbackServer& s) {
    if (!s.ReadHead(fd)) return;
    LoopbackServer::SendAll(fd, "HTTP/1.0 200 OK\r\nX-Long: " + std::string(20000, 'a'));
    s.Pause(10000);  // keeps the connection open: only the client can end this
  });
  Fetch(Url(server.Port(), "/"));
  EXPECT_EQ(done->calls, 1);
  EXPECT_EQ(done->status, -1);
}

TEST_F(HttpRequestTest, SilentServerNeverBlocksUpdates) {
  LoopbackServer server([](int fd, LoopbackServer& s) {
    if (s.ReadHead(fd)) s.Pause(10000);
  });
  c_HttpRequest* req = Start("GET", Url(server.Port(), "/wait"));
  req->p_Send();
  int updates = 0;
  for (int i = 0; i < 300; ++i) {
    bb_asyncevent_UpdateAsyncEvents();
    ++updates;
    usleep(1000);
  }
  EXPECT_EQ(updates, 300);
  EXPECT_EQ(done->calls, 0);
  EXPECT_EQ(req->p_Status(), -1);
  server.Stop();
  ASSERT_TRUE(Finish());
  EXPECT_EQ(done->status, -1);
  EXPECT_EQ(server.Received(), "GET /wait HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
}

TEST_F(HttpRequestTest, SendsBodiesAfterTheHeaderBlock) {
  auto echo = [](int fd, LoopbackServer& s) {
    if (!s.ReadHead(fd)) return;
    std::string head = s.Received();
    size_t at = head.find("Content-Length: ");
    size_t length = at == std::string::npos ? 0 : std::stoul(head.substr(at + 16));
    if (length > 0 && !s.ReadExact(fd, length)) return;
    LoopbackServer::SendAll(fd, "HTTP/1.0 201 Created\r\n\r\nok");
  };
  LoopbackServer server(echo);
  c_HttpRequest* req = Start("POST", Url(server.Port(), "/submit"));
  const Char text[] = {'h', 0xE9, 'l', 'l', 'o'};
  req->p_Send2(String(text, 5), String("text/plain"), String("utf8"));
  ASSERT_TRUE(Finish());
  server.Join();
  EXPECT_EQ(server.Received(),
            "POST /submit HTTP/1.0\r\nHost: 127.0.0.1\r\nContent-Type: text/plain\r\n"
            "Content-Length: 6\r\n\r\nh\xC3\xA9llo");
  EXPECT_EQ(done->status, 201);
  EXPECT_EQ(done->response.ToUtf8(), "ok");
  EXPECT_EQ(req->m_dataLength, 0);

  done->calls = 0;
  LoopbackServer empty(echo);
  req = Start("PUT", Url(empty.Port(), "/e"));
  req->p_Send2(String(), String(), String("ascii"));
  ASSERT_TRUE(Finish());
  empty.Join();
  EXPECT_EQ(empty.Received(), "PUT /e HTTP/1.0\r\nHost: 127.0.0.1\r\nContent-Length: 0\r\n\r\n");
  EXPECT_EQ(done->status, 201);
}

TEST_F(HttpRequestTest, HeaderBlockTooLargeIsRefusedUnsent) {
  LoopbackServer server([](int fd, LoopbackServer& s) { s.ReadUntilClosed(fd, 5000); });
  Fetch(Url(server.Port(), "/" + std::string(5000, 'p')));
  server.Join();
  EXPECT_EQ(done->calls, 1);
  EXPECT_EQ(done->status, -1);
  EXPECT_TRUE(server.Accepted());
  EXPECT_EQ(server.Received(), "");

  // Right at the limit it still goes out whole.
  done->calls = 0;
  LoopbackServer fits(Replying(std::string(kOkHead) + "fit"));
  std::string prefix = "GET / HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
  std::string path = "/" + std::string(4096 - prefix.size(), 'p');
  Fetch(Url(fits.Port(), path));
  fits.Join();
  EXPECT_EQ(fits.Received().size(), 4096u);
  EXPECT_EQ(done->response.ToUtf8(), "fit");
}

TEST_F(HttpRequestTest, AnySchemeGoesOverPlainTcp) {
  LoopbackServer server(Replying(std::string(kOkHead) + "plain"));
  Fetch("https://127.0.0.1:" + std::to_string(server.Port()) + "/s");
  EXPECT_EQ(done->status, 200);
  EXPECT_EQ(done->response.ToUtf8(), "plain");
}

// Requests keep working while the collector runs whole cycles: everything
// a request needs must be reachable from the layer's roots.
TEST_F(HttpRequestTest, SurvivesCollectorCycles) {
  LoopbackServer server([](int fd, LoopbackServer& s) {
    if (!s.ReadHead(fd)) return;
    LoopbackServer::SendAll(fd, "HTTP/1.0 200 OK\r\n");
    s.Pause(60);
    LoopbackServer::SendAll(fd, "\r\n");
    for (int i = 0; i < 5; ++i) {
      s.Pause(60);
      LoopbackServer::SendAll(fd, "chunk" + std::to_string(i));
    }
  });
  Start("GET", Url(server.Port(), "/gc"))->p_Send();
  for (int i = 0; i < 15000 && done->calls == 0; ++i) {
    // Garbage enough to end a cycle every few passes.
    for (int j = 0; j < 4; ++j) (void)Array<int>(1 << 19);
    gc_step(nullptr);
    bb_asyncevent_UpdateAsyncEvents();
    usleep(1000);
  }
  EXPECT_EQ(done->calls, 1);
  EXPECT_EQ(done->status, 200);
  EXPECT_EQ(done->response.ToUtf8(), "chunk0chunk1chunk2chunk3chunk4");
  gc_validate_list(gc_unmarked_list);
}

}  // namespace
