// Asynchronous sockets against real peers on the loopback interface:
// connect, send, receive, failures, ordering and the main-thread rule.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "net/loopback_server.h"
#include "net/net_test_support.h"

namespace {

// Records every completion and whether any arrived off the main thread.
class Recorder : public Object,
                 public c_IOnConnectComplete,
                 public c_IOnSendComplete,
                 public c_IOnReceiveComplete {
 public:
  int connects = 0;
  bool connected = false, offMainThread = false;
  std::vector<int> sends, receives;
  std::string received;

  int p_OnConnectComplete(bool ok, c_Socket*) override {
    Check(), ++connects, connected = ok;
    return 0;
  }
  int p_OnSendComplete(c_DataBuffer*, int, int count, c_Socket*) override {
    Check(), sends.push_back(count);
    return 0;
  }
  int p_OnReceiveComplete(c_DataBuffer* data, int offset, int count, c_Socket*) override {
    Check(), receives.push_back(count);
    if (count > 0) received.append((const char*)data->data + offset, (size_t)count);
    return 0;
  }
  void Check() { offMainThread |= std::this_thread::get_id() != TestThread(); }
};

class SocketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestThread();
    EnsureNetStarted();
    rec = new Recorder;
  }
  void TearDown() override { EXPECT_FALSE(rec->offMainThread); }

  c_Socket* Connect(const char* host, int port) {
    rec->connects = 0;
    c_Socket* socket = (new c_Socket)->m_new(String("stream"));
    socket->p_ConnectAsync(String(host), port, rec);
    EXPECT_TRUE(PumpUntil([&] { return rec->connects == 1; }, 10000));
    return socket;
  }
  // One more receive; returns its count.
  int Receive(c_Socket* socket, c_DataBuffer* into) {
    size_t before = rec->receives.size();
    socket->p_ReceiveAsync(into, 0, into->length, rec);
    EXPECT_TRUE(PumpUntil([&] { return rec->receives.size() > before; }, 10000));
    return rec->receives.empty() ? -99 : rec->receives.back();
  }

  Recorder* rec = nullptr;
};

TEST_F(SocketTest, ExchangesDataWithAPeer) {
  LoopbackServer server([](int fd, LoopbackServer& s) {
    if (s.ReadExact(fd, 10)) LoopbackServer::SendAll(fd, "pong:" + s.Received());
  });
  c_Socket* socket = Connect("127.0.0.1", server.Port());
  ASSERT_TRUE(rec->connected);
  EXPECT_EQ(socket->m_state, 7);

  c_DataBuffer* out = (new c_DataBuffer)->m_new(10);
  out->p_PokeString(0, String("0123456789"), String("ascii"));
  socket->p_SendAsync(out, 0, 4, rec);
  socket->p_SendAsync(out, 4, 6, rec);
  ASSERT_TRUE(PumpUntil([&] { return rec->sends.size() == 2; }, 10000));
  EXPECT_EQ(rec->sends, (std::vector<int>{4, 6}));
  // A receive returns what is there; ask again until the whole answer is in.
  c_DataBuffer* in = (new c_DataBuffer)->m_new(64);
  while (rec->received.size() < 15) ASSERT_GT(Receive(socket, in), 0);
  EXPECT_EQ(rec->received, "pong:0123456789");
  server.Join();
  EXPECT_EQ(Receive(socket, in), 0);  // the peer closed
  socket->p_Close();
  EXPECT_EQ(socket->m_state, 0);
}

TEST_F(SocketTest, FailedConnectsReportFalse) {
  c_Socket* refused = Connect("127.0.0.1", LoopbackServer::UnusedPort());
  EXPECT_FALSE(rec->connected);
  EXPECT_EQ(refused->m_state, 1);
  // Names that do not resolve must not fall back to this machine, even
  // when something listens there on the same port.
  LoopbackServer local([](int, LoopbackServer&) {});
  for (const char* host : {"larkspin-nowhere.invalid", ""}) {
    c_Socket* socket = Connect(host, local.Port());
    EXPECT_FALSE(rec->connected) << host;
    EXPECT_FALSE(socket->p_IsConnected()) << host;
  }
  usleep(50000);
  EXPECT_FALSE(local.Accepted());
}

TEST_F(SocketTest, OperationsNeedTheRightState) {
  c_Socket* socket = (new c_Socket)->m_new(String("stream"));
  c_DataBuffer* buf = (new c_DataBuffer)->m_new(4);
  socket->p_SendAsync(buf, 0, 4, rec);
  socket->p_ReceiveAsync(buf, 0, 4, rec);
  socket->p_Close();
  socket->p_ConnectAsync(String("127.0.0.1"), 1, rec);
  PumpUntil([] { return false; }, 30);
  EXPECT_TRUE(rec->sends.empty() && rec->receives.empty() && rec->connects == 0);
  EXPECT_EQ(socket->m_wqueue->m_put.load() + socket->m_rqueue->m_put.load(), 0);
}

TEST_F(SocketTest, ClosingWakesABlockedReceive) {
  LoopbackServer silent([](int, LoopbackServer& s) { s.Pause(10000); });
  c_Socket* socket = Connect("127.0.0.1", silent.Port());
  ASSERT_TRUE(rec->connected);
  socket->p_ReceiveAsync((new c_DataBuffer)->m_new(16), 0, 16, rec);
  // The game keeps running while the receive waits.
  PumpUntil([] { return false; }, 50);
  EXPECT_TRUE(rec->receives.empty());
  socket->p_Close();
  ASSERT_TRUE(PumpUntil([&] { return rec->receives.size() == 1; }, 5000));
  EXPECT_EQ(rec->receives[0], -1);  // cut off here, not closed by the peer
}

TEST_F(SocketTest, CompletesInQueueOrder) {
  const int kChunks = 200;
  LoopbackServer sink([](int fd, LoopbackServer& s) { s.ReadUntilClosed(fd, 10000); });
  c_Socket* socket = Connect("127.0.0.1", sink.Port());
  ASSERT_TRUE(rec->connected);
  c_DataBuffer* out = (new c_DataBuffer)->m_new(kChunks);
  for (int i = 0; i < kChunks; ++i) out->data[i] = (unsigned char)('a' + i % 26);
  for (int i = 0; i < kChunks; ++i) socket->p_SendAsync(out, i, 1, rec);
  ASSERT_TRUE(PumpUntil([&] { return (int)rec->sends.size() == kChunks; }, 10000));
  socket->p_Close();
  sink.Join();
  EXPECT_EQ(sink.Received(), std::string((const char*)out->data, (size_t)kChunks));
}

TEST_F(SocketTest, ServerDatagramAndAddressHandles) {
  BBSocket* listener = new BBSocket();
  ASSERT_TRUE(listener->Open(2));
  ASSERT_TRUE(listener->Bind(String("127.0.0.1"), 0));
  ASSERT_TRUE(listener->Listen(1));
  BBSocketAddress* local = new BBSocketAddress();
  ASSERT_TRUE(listener->GetLocalAddress(local));
  local->Validate();
  EXPECT_EQ(local->host.ToUtf8(), "127.0.0.1");
  c_Socket* client = Connect("localhost", local->port);
  ASSERT_TRUE(rec->connected);
  ASSERT_TRUE(listener->Accept());
  c_Socket* served = (new c_Socket)->m_new2(listener->Accepted(), 1, 7);
  c_DataBuffer* buf = (new c_DataBuffer)->m_new(8);
  buf->p_PokeString(0, String("hi"), String("ascii"));
  served->p_SendAsync(buf, 0, 2, rec);
  EXPECT_EQ(Receive(client, (new c_DataBuffer)->m_new(8)), 2);
  EXPECT_EQ(rec->received, "hi");
  listener->Close();
  EXPECT_FALSE(listener->Open(4));

  BBSocket* a = new BBSocket();
  BBSocket* b = new BBSocket();
  ASSERT_TRUE(a->Open(3) && b->Open(3) && b->Bind(String("127.0.0.1"), 0));
  BBSocketAddress* to = new BBSocketAddress();
  ASSERT_TRUE(b->GetLocalAddress(to));
  EXPECT_EQ(a->SendTo(buf, 0, 2, to), 2);
  EXPECT_EQ(a->SendTo(buf, 9, 1, to), -1);  // never outside the buffer
  BBSocketAddress* from = new BBSocketAddress();
  EXPECT_EQ(b->ReceiveFrom(buf, 6, 100, from), 2);
  EXPECT_EQ(buf->p_PeekString(6, 2, String("ascii")).ToUtf8(), "hi");
  from->Set(String("nothing-here.invalid"), 2);
  from->Validate();
  EXPECT_EQ(from->host.ToUtf8() + ":" + std::to_string(from->port), "0.0.0.0:2");
}

}  // namespace
