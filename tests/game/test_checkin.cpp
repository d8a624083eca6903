// The optional check-in against a scripted server on the loopback
// interface: one GET with the game number, the answer taken in while the
// game updates, and an empty answer leaving the flag down.
#include "game_fixture.h"
#include "net/loopback_server.h"

using CheckIn = GameTest;

TEST_F(CheckIn, ReportsTheGameNumberAndKeepsTheAnswer) {
  for (std::string body : {"welcome", ""}) {
    LoopbackServer server([body](int fd, LoopbackServer& s) {
      if (s.ReadHead(fd)) LoopbackServer::SendAll(fd, "HTTP/1.0 200 OK\r\n\r\n" + body);
    });
    bb_Larkspin_Init();
    app = new c_MyApp();
    bb_Larkspin_J_On_Allow = 1;
    bb_Larkspin_CheckInPage = String("http://127.0.0.1:") + String(server.Port()) + String("/housecall.php");
    testing::internal::CaptureStdout();
    app->p_OnCreate();
    EXPECT_TRUE(PumpUntil(
        [this] {
          Update();
          return app->m_HttpDone != 0;
        },
        5000));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Http GET complete! 200\n"), std::string::npos);
    server.Join();
    EXPECT_EQ(server.Received().substr(0, 46), "GET /housecall.php?hello=1&gameID=415 HTTP/1.0");
    EXPECT_EQ(app->m_HttpReply, String(body.c_str()));
    EXPECT_EQ(bb_Larkspin_J_On_Able, body.empty() ? 0 : 1);
  }
  // A late answer for some other request is ignored.
  app->m_HttpDone = 0;
  app->p_OnHttpRequestComplete((new c_HttpRequest())->m_new());
  EXPECT_EQ(app->m_HttpDone, 0);
}
