// The optional check-in against a one-shot HTTP server on the loopback
// interface: off by default, one GET with the game number when switched on,
// and the answer taken in while the game updates.
#include "game_fixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

namespace {

// Accepts one connection, keeps the request's first line and answers with
// the given body.
class OneShotServer {
 public:
  explicit OneShotServer(std::string body) : body_(std::move(body)) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    listen(fd_, 1);
    thread_ = std::thread([this] { Serve(); });
  }
  ~OneShotServer() {
    shutdown(fd_, SHUT_RDWR);
    close(fd_);
    thread_.join();
  }
  int port() const { return port_; }
  std::string requestLine;

 private:
  void Serve() {
    int c = accept(fd_, nullptr, nullptr);
    if (c < 0) return;
    std::string got;
    char buf[512];
    while (got.find("\r\n\r\n") == std::string::npos) {
      ssize_t n = recv(c, buf, sizeof buf, 0);
      if (n <= 0) break;
      got.append(buf, size_t(n));
    }
    requestLine = got.substr(0, got.find("\r\n"));
    std::string reply = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + body_;
    send(c, reply.data(), reply.size(), 0);
    close(c);
  }
  std::string body_;
  int fd_ = -1;
  int port_ = 0;
  std::thread thread_;
};

}  // namespace

class CheckIn : public GameTest {
 protected:
  // Creates the game with the check-in on and updates until the answer is in.
  std::string Run(OneShotServer& server) {
    bb_Larkspin_J_On_Allow = 1;
    bb_Larkspin_CheckInPage =
        String("http://127.0.0.1:") + String(server.port()) + String("/housecall.php");
    testing::internal::CaptureStdout();
    app->p_OnCreate();
    for (int i = 0; i < 400 && app->m_HttpDone == 0; ++i) {
      Update();
      usleep(5000);
    }
    return testing::internal::GetCapturedStdout();
  }
};

TEST_F(CheckIn, ReportsTheGameNumberAndKeepsTheAnswer) {
  OneShotServer server("welcome");
  std::string out = Run(server);
  EXPECT_EQ(server.requestLine, "GET /housecall.php?hello=1&gameID=415 HTTP/1.0");
  EXPECT_NE(out.find("Requesting URL\n"), std::string::npos);
  EXPECT_NE(out.find("Http GET complete! 200\n"), std::string::npos);
  EXPECT_EQ(app->m_HttpReply, String("welcome"));
  EXPECT_EQ(bb_Larkspin_J_On_Able, 1);
}

TEST_F(CheckIn, EmptyAnswerLeavesTheFlagDown) {
  OneShotServer server("");
  Run(server);
  EXPECT_EQ(app->m_HttpDone, 1);
  EXPECT_EQ(bb_Larkspin_J_On_Able, 0);
  // A late answer for some other request is ignored.
  c_HttpRequest* stranger = (new c_HttpRequest())->m_new();
  app->m_HttpDone = 0;
  app->p_OnHttpRequestComplete(stranger);
  EXPECT_EQ(app->m_HttpDone, 0);
}
