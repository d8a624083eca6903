// Asynchronous sockets against real peers on the loopback interface:
// connect, send, receive, failures, ordering and the main-thread rule.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "net/loopback_server.h"
#include "net/net_test_support.h"

namespace {

// Records every completion and the thread it arrived on.
class Recorder : public Object,
                 public c_IOnConnectComplete,
                 public c_IOnSendComplete,
                 public c_IOnReceiveComplete {
 public:
  int connects = 0;
  bool connected = false;
  std::vector<int> sends;
  std::vector<int> receives;
  std::string received;
  bool offMainThread = false;

  int p_OnConnectComplete(bool ok, c_Socket*) override {
    Check();
    ++connects;
    connected = ok;
    return 0;
  }
  int p_OnSendComplete(c_DataBuffer*, int, int count, c_Socket*) override {
    Check();
    sends.push_back(count);
    return 0;
  }
  int p_OnReceiveComplete(c_DataBuffer* data, int offset, int count, c_Socket*) override {
    Check();
    receives.push_back(count);
    if (count > 0) received.append((const char*)data->data + offset, (size_t)count);
    return 0;
  }

 private:
  void Check() {
    if (std::this_thread::get_id() != TestThread()) offMainThread = true;
  }
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
    c_Socket* socket = (new c_Socket)->m_new(String("stream"));
    socket->p_ConnectAsync(String(host), port, rec);
    EXPECT_TRUE(PumpUntil([&] { return rec->connects == 1; }, 10000));
    return socket;
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
  EXPECT_TRUE(socket->p_IsConnected());
  EXPECT_FALSE(socket->p_IsListening());

  c_DataBuffer* out = (new c_DataBuffer)->m_new(10);
  out->p_PokeString(0, String("0123456789"), String("ascii"));
  c_DataBuffer* in = (new c_DataBuffer)->m_new(64);
  socket->p_SendAsync(out, 0, 4, rec);
  socket->p_SendAsync(out, 4, 6, rec);
  ASSERT_TRUE(PumpUntil([&] { return rec->sends.size() == 2; }, 10000));
  EXPECT_EQ(rec->sends, (std::vector<int>{4, 6}));
  // Receives return what is there; ask again until the whole answer is in.
  while (rec->received.size() < 15) {
    size_t before = rec->receives.size();
    socket->p_ReceiveAsync(in, 0, 64, rec);
    ASSERT_TRUE(PumpUntil([&] { return rec->receives.size() > before; }, 10000));
    ASSERT_GT(rec->receives.back(), 0);
  }
  EXPECT_EQ(rec->received, "pong:0123456789");
  server.Join();
  socket->p_ReceiveAsync(in, 0, 64, rec);
  size_t before = rec->receives.size();
  ASSERT_TRUE(PumpUntil([&] { return rec->receives.size() > before; }, 10000));
  EXPECT_EQ(rec->receives.back(), 0);  // the peer closed
  socket->p_Close();
  EXPECT_EQ(socket->m_state, 0);
  EXPECT_FALSE(socket->p_IsOpen());
}

TEST_F(SocketTest, FailedConnectsReportFalse) {
  c_Socket* refused = Connect("127.0.0.1", LoopbackServer::UnusedPort());
  EXPECT_FALSE(rec->connected);
  EXPECT_EQ(refused->m_state, 1);

  // Names that do not resolve must not fall back to this machine, even
  // when something listens there on the same port.
  LoopbackServer local([](int, LoopbackServer&) {});
  const char* hosts[] = {"larkspin-nowhere.invalid", ""};
  for (const char* host : hosts) {
    rec->connects = 0;
    rec->connected = true;
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
  for (int i = 0; i < 20; ++i) {
    bb_asyncevent_UpdateAsyncEvents();
    usleep(1000);
  }
  EXPECT_TRUE(rec->sends.empty());
  EXPECT_TRUE(rec->receives.empty());
  EXPECT_EQ(socket->m_wqueue->m_put.load(), 0);

  // Closed sockets do not connect.
  socket->p_Close();
  socket->p_ConnectAsync(String("127.0.0.1"), 1, rec);
  EXPECT_EQ(socket->m_rqueue->m_put.load(), 0);
}

TEST_F(SocketTest, ClosingWakesABlockedReceive) {
  LoopbackServer silent([](int, LoopbackServer& s) { s.Pause(10000); });
  c_Socket* socket = Connect("127.0.0.1", silent.Port());
  ASSERT_TRUE(rec->connected);
  c_DataBuffer* in = (new c_DataBuffer)->m_new(16);
  socket->p_ReceiveAsync(in, 0, 16, rec);
  // The game keeps running while the receive waits.
  for (int i = 0; i < 50; ++i) {
    bb_asyncevent_UpdateAsyncEvents();
    usleep(1000);
  }
  EXPECT_TRUE(rec->receives.empty());
  socket->p_Close();
  ASSERT_TRUE(PumpUntil([&] { return rec->receives.size() == 1; }, 5000));
  EXPECT_LE(rec->receives[0], 0);
}

TEST_F(SocketTest, CompletesInQueueOrderAcrossManyOperations) {
  const int kChunks = 200;
  LoopbackServer sink([&](int fd, LoopbackServer& s) { s.ReadUntilClosed(fd, 10000); });
  c_Socket* socket = Connect("127.0.0.1", sink.Port());
  ASSERT_TRUE(rec->connected);
  c_DataBuffer* out = (new c_DataBuffer)->m_new(kChunks);
  for (int i = 0; i < kChunks; ++i) out->data[i] = (unsigned char)('a' + i % 26);
  for (int i = 0; i < kChunks; ++i) socket->p_SendAsync(out, i, 1, rec);
  ASSERT_TRUE(PumpUntil([&] { return (int)rec->sends.size() == kChunks; }, 10000));
  socket->p_Close();
  sink.Join();
  std::string expected((const char*)out->data, (size_t)kChunks);
  EXPECT_EQ(sink.Received(), expected);
}

TEST_F(SocketTest, ServerAndDatagramHandles) {
  BBSocket* listener = new BBSocket();
  ASSERT_TRUE(listener->Open(2));
  ASSERT_TRUE(listener->Bind(String("127.0.0.1"), 0));
  ASSERT_TRUE(listener->Listen(1));
  BBSocketAddress* local = new BBSocketAddress();
  ASSERT_TRUE(listener->GetLocalAddress(local));
  local->Validate();
  EXPECT_EQ(local->host.ToUtf8(), "127.0.0.1");
  ASSERT_GT(local->port, 0);

  c_Socket* client = Connect("127.0.0.1", local->port);
  ASSERT_TRUE(rec->connected);
  ASSERT_TRUE(listener->Accept());
  BBSocket* peer = listener->Accepted();
  ASSERT_NE(peer, nullptr);
  c_Socket* served = (new c_Socket)->m_new2(peer, 1, 7);
  c_DataBuffer* buf = (new c_DataBuffer)->m_new(8);
  buf->p_PokeString(0, String("hi"), String("ascii"));
  served->p_SendAsync(buf, 0, 2, rec);
  c_DataBuffer* in = (new c_DataBuffer)->m_new(8);
  client->p_ReceiveAsync(in, 0, 8, rec);
  ASSERT_TRUE(PumpUntil([&] { return rec->received == "hi"; }, 10000));
  served->p_Close();
  client->p_Close();
  listener->Close();
  EXPECT_EQ(listener->socket, -1);
  EXPECT_FALSE(listener->Open(0));
  EXPECT_FALSE(listener->Open(4));

  BBSocket* a = new BBSocket();
  BBSocket* b = new BBSocket();
  ASSERT_TRUE(a->Open(3));
  ASSERT_TRUE(b->Open(3));
  ASSERT_TRUE(b->Bind(String("127.0.0.1"), 0));
  BBSocketAddress* to = new BBSocketAddress();
  ASSERT_TRUE(b->GetLocalAddress(to));
  EXPECT_EQ(a->SendTo(buf, 0, 2, to), 2);
  BBSocketAddress* from = new BBSocketAddress();
  EXPECT_EQ(b->ReceiveFrom(in, 4, 4, from), 2);
  EXPECT_EQ(in->p_PeekString(4, 2, String("ascii")).ToUtf8(), "hi");
  from->Validate();
  EXPECT_EQ(from->host.ToUtf8(), "127.0.0.1");
  // Transfers never reach outside the buffer.
  EXPECT_EQ(a->SendTo(buf, 9, 1, to), -1);
  EXPECT_EQ(a->SendTo(buf, 6, 100, to), 2);
  a->Close();
  b->Close();
}

TEST_F(SocketTest, AddressesResolveAndFormat) {
  BBSocketAddress* addr = new BBSocketAddress();
  addr->Validate();
  EXPECT_EQ(addr->host.ToUtf8(), "0.0.0.0");
  EXPECT_EQ(addr->port, 0);
  addr->Set(String("127.1.2.3"), 8080);
  EXPECT_FALSE(addr->valid);
  addr->Validate();
  EXPECT_EQ(addr->host.ToUtf8(), "127.1.2.3");
  EXPECT_EQ(addr->port, 8080);
  addr->Set(String("localhost"), 1);
  addr->Validate();
  EXPECT_EQ(addr->host.ToUtf8(), "127.0.0.1");
  addr->Set(String("nothing-here.invalid"), 2);
  addr->Validate();
  EXPECT_EQ(addr->host.ToUtf8(), "0.0.0.0");
  EXPECT_EQ(addr->port, 2);
  BBSocketAddress* copy = new BBSocketAddress();
  copy->Set(addr);
  copy->Validate();
  EXPECT_EQ(copy->port, 2);
}

}  // namespace
