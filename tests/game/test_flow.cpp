// The main flow: the virtual screen fitted to the device, the picture level
// and the loader, the end keys, suspension, and pointer input in virtual
// units with the latches that make one press act once.
#include <utility>

#include "game_fixture.h"
#include "net/net_peer.h"

using Flow = GameTest;
using XY = std::pair<int, int>;

TEST_F(Flow, ScreenAndPicturesFollowTheDevice) {
  struct Case {
    int w, h;
    float scale, vw, vh;
    int level;
    const char* file;
  } cases[] = {
      {1280, 720, 2.0f, 640, 360, 4, "gfx-hd2.png"},   {768, 1024, 1024 / 720.0f, 540, 720, 2, "gfx-hd.png"},
      {1000, 480, 1.5625f, 640, 307.2f, 2, "gfx-hd.png"}, {640, 600, 1.25f, 512, 480, 2, "gfx-hd.png"},
      {630, 630, 1.3125f, 480, 480, 1, "gfx.png"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.w);
    Resize(c.w, c.h);
    app->p_ResLevel();
    app->p_FitScreen(c.w, c.h);
    EXPECT_NEAR(app->m_ScaleY, c.scale, 1e-4);
    EXPECT_NEAR(bb_Larkspin_jscrw, c.vw, 1e-3);
    EXPECT_NEAR(bb_Larkspin_jscrh, c.vh, 1e-3);
    EXPECT_EQ(app->p_ImgFile(String("gfx")), String(c.file));
    EXPECT_EQ(app->m_ImgScale * float(c.level), 1.0f);
  }
  bb_Larkspin_overscan = 64.0f;  // the border shrinks the scale, not the virtual screen
  app->p_FitScreen(1280, 720);
  app->p_FitScreen(0, 0);  // a window with no size keeps the last fit
  EXPECT_NEAR(app->m_ScaleX, 1.8f, 1e-5);
  EXPECT_NEAR(bb_Larkspin_jscrh, 360.0f, 1e-3);
}

TEST_F(Flow, LoadingTakes22UpdatesAndRestartsOnANewSize) {
  app->p_OnCreate();
  app->p_FitScreen(640, 480);
  Updates(22);
  const float loading = app->m_BgTargetB;
  Update();
  EXPECT_EQ(std::make_pair(loading, app->m_BgTargetB), std::make_pair(0.0f, 160.0f));  // then the menu's background
  const int same = app->p_DeviceChanged(640, 480);
  EXPECT_EQ(XY(same, app->p_DeviceChanged(800, 600)), XY(0, 1));
  EXPECT_EQ(app->m_LoadStep, 1);
  for (int key : {115, 432}) EXPECT_EXIT((Press(key), Update()), testing::ExitedWithCode(0), "");
}

TEST_F(Flow, SuspendingARoundBringsItBackPaused) {
  CreateAndLoad();
  app->m_Screen = 10;
  app->m_Pad[3] = 1;
  app->p_OnSuspend();
  EXPECT_EQ(XY(host->UpdateRate(), host->saves), XY(5, 1));  // saved, and slowed down
  EXPECT_EQ(app->m_Pad[3], 0);                                // no button stays held
  app->p_OnResume();
  EXPECT_EQ(XY(host->UpdateRate(), app->m_Paused), XY(60, 1));
  EXPECT_EQ(app->m_PauseY, 240);
}

TEST_F(Flow, PointerArrivesInVirtualUnitsAndOnePressActsOnce) {
  CreateAndLoad();
  app->m_Screen = 3;  // no screen step: the input state alone
  bb_Larkspin_overscan = 64.0f;
  Resize(1280, 720);
  app->p_DeviceChanged(1280, 720);
  app->p_FitScreen(1280, 720);
  input->p_MouseEvent(6, -1, 300.0f, 201.0f);
  input->p_TouchEvent(7, 3, 154.0f, 81.0f);
  Update();
  EXPECT_EQ(XY(app->m_MouseX, app->m_MouseY), XY(131, 91));  // (300 - 64) / 1.8, (201 - 36) / 1.8
  EXPECT_EQ(XY(app->m_TouchX[3], app->m_TouchY[3]), XY(50, 25));
  input->p_TouchEvent(8, 3, 0, 0);
  Update();
  EXPECT_EQ(XY(app->m_Touching, app->m_TouchX[3]), XY(0, LK_NO_TOUCH));

  input->p_MouseEvent(4, 0, 10.0f, 10.0f);  // the left button is touch 0 as well
  Update();
  app->m_InputTaken = 1;  // as a menu does when it acts
  Update();
  EXPECT_EQ(XY(app->m_TouchDown[0], app->m_InputTaken), XY(1, 1));  // held: still taken
  input->p_MouseEvent(5, 0, 10.0f, 10.0f);
  Update();
  EXPECT_EQ(app->m_InputTaken, 0);
  input->p_MouseEvent(4, 0, 100.0f, 90.0f);  // released before the update (a touchpad
  input->p_MouseEvent(5, 0, 100.0f, 90.0f);  // tap): down for that update only
  Update();
  EXPECT_EQ(app->m_TouchX[0], 20);  // (100 - 64) / 1.8
  Update();
  EXPECT_EQ(app->m_Touching, 0);
  for (int key : {38, 256}) {  // keys and controller buttons hold the key latch
    app->m_KeyLatch = 1;
    KeyDown(key);
    Update();
    const int held = app->m_KeyLatch;
    KeyUp(key);
    Update();
    EXPECT_EQ(XY(held, app->m_KeyLatch), XY(1, 0)) << key;
  }
}

// The optional check-in: one GET with the game number, the answer taken in
// while the game updates; an empty answer leaves the flag down and a late
// answer to some other request is ignored.
TEST_F(Flow, CheckInReportsTheGameNumberAndKeepsTheAnswer) {
  for (std::string body : {"welcome", ""}) {
    Peer server([body](int fd, Peer& peer) {
      if (peer.ReadHead(fd)) Peer::Send(fd, "HTTP/1.0 200 OK\r\n\r\n" + body);
    });
    bb_Larkspin_Init();
    app = new c_MyApp();
    bb_Larkspin_J_On_Allow = 1;
    bb_Larkspin_CheckInPage = String("http://127.0.0.1:") + String(server.port) + String("/housecall.php");
    app->p_OnCreate();
    EXPECT_TRUE(PumpUntil([this] { return Update(), app->m_HttpDone != 0; }, 5000));
    server.Join();
    EXPECT_EQ(server.got.substr(0, 46), "GET /housecall.php?hello=1&gameID=415 HTTP/1.0");
    EXPECT_EQ(app->m_HttpReply, String(body.c_str()));
    EXPECT_EQ(bb_Larkspin_J_On_Able, body.empty() ? 0 : 1);
  }
  app->m_HttpDone = 0;
  app->p_OnHttpRequestComplete((new c_HttpRequest())->m_new());
  EXPECT_EQ(app->m_HttpDone, 0);
}
