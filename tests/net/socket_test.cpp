// Asynchronous sockets against real peers on the loopback interface: connect,
// send, receive, peer and local close, failures, ordering, and completions
// delivered on the main thread only.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "net/net_peer.h"

namespace {

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
  void SetUp() override { TestThread(), EnsureNetStarted(), rec = new Recorder; }
  void TearDown() override { EXPECT_FALSE(rec->offMainThread); }

  c_Socket* Connect(const char* host, int port) {
    rec->connects = 0;
    c_Socket* socket = (new c_Socket)->m_new(String("stream"));
    socket->p_ConnectAsync(String(host), port, rec);
    EXPECT_TRUE(PumpUntil([&] { return rec->connects == 1; }, 10000));
    return socket;
  }
  int Receive(c_Socket* socket, c_DataBuffer* into) {  // the count of one more receive
    size_t before = rec->receives.size();
    socket->p_ReceiveAsync(into, 0, into->length, rec);
    return PumpUntil([&] { return rec->receives.size() > before; }, 10000) ? rec->receives.back() : -99;
  }
  c_DataBuffer* Text(const char* ascii) {
    c_DataBuffer* buf = (new c_DataBuffer)->m_new((int)strlen(ascii));
    buf->p_PokeString(0, String(ascii), String("ascii"));
    return buf;
  }

  Recorder* rec = nullptr;
};

TEST_F(SocketTest, ExchangesDataInOrderUntilThePeerCloses) {
  Peer peer([](int fd, Peer& p) {
    if (p.Read(fd, [](const std::string& s) { return s.size() < 26; })) Peer::Send(fd, "pong:" + p.got);
  });
  c_Socket* socket = Connect("127.0.0.1", peer.Port());
  ASSERT_TRUE(rec->connected);
  EXPECT_EQ(socket->m_state, 7);
  c_DataBuffer* out = Text("abcdefghijklmnopqrstuvwxyz");
  for (int i = 0; i < 26; i += 2) socket->p_SendAsync(out, i, 2, rec);
  ASSERT_TRUE(PumpUntil([&] { return rec->sends.size() == 13; }, 10000));
  EXPECT_EQ(rec->sends, std::vector<int>(13, 2));
  // A receive returns what is there; ask again until the whole answer is in.
  c_DataBuffer* in = (new c_DataBuffer)->m_new(64);
  while (rec->received.size() < 31) ASSERT_GT(Receive(socket, in), 0);
  EXPECT_EQ(rec->received, "pong:abcdefghijklmnopqrstuvwxyz");
  peer.Join();
  EXPECT_EQ(Receive(socket, in), 0);  // the peer closed
  socket->p_Close();
  EXPECT_EQ(socket->m_state, 0);
}

TEST_F(SocketTest, LocalCloseEndsABlockedReceiveWithMinusOne) {
  Peer silent([](int, Peer& p) { p.Pause(10000); });
  c_Socket* socket = Connect("127.0.0.1", silent.Port());
  ASSERT_TRUE(rec->connected);
  socket->p_ReceiveAsync((new c_DataBuffer)->m_new(16), 0, 16, rec);
  PumpUntil([] { return false; }, 50);  // the game keeps running meanwhile
  EXPECT_TRUE(rec->receives.empty());
  socket->p_Close();
  ASSERT_TRUE(PumpUntil([&] { return rec->receives.size() == 1; }, 5000));
  EXPECT_EQ(rec->receives[0], -1);
}

TEST_F(SocketTest, FailuresAndWrongStatesDoNothingElse) {
  c_Socket* refused = Connect("127.0.0.1", Peer::UnusedPort());
  EXPECT_FALSE(rec->connected);
  EXPECT_EQ(refused->m_state, 1);
  // Names that do not resolve must not fall back to this machine.
  Peer local([](int, Peer&) {});
  for (const char* host : {"larkspin-nowhere.invalid", ""}) {
    EXPECT_FALSE(Connect(host, local.Port())->p_IsConnected() || rec->connected) << host;
  }
  c_DataBuffer* buf = (new c_DataBuffer)->m_new(4);
  c_Socket* idle = (new c_Socket)->m_new(String("stream"));
  idle->p_SendAsync(buf, 0, 4, rec);
  idle->p_ReceiveAsync(buf, 0, 4, rec);
  idle->p_Close();
  idle->p_ConnectAsync(String("127.0.0.1"), 1, rec);
  PumpUntil([] { return false; }, 50);
  EXPECT_TRUE(rec->sends.empty() && rec->receives.empty() && rec->connects == 1);
  EXPECT_EQ(idle->m_wqueue->m_put.load() + idle->m_rqueue->m_put.load(), 0);
  EXPECT_FALSE(local.accepted);
}

TEST_F(SocketTest, ServerDatagramAndAddressHandles) {
  BBSocket* listener = new BBSocket();
  ASSERT_TRUE(listener->Open(2) && listener->Bind(String("127.0.0.1"), 0) && listener->Listen(1));
  BBSocketAddress* local = new BBSocketAddress();
  ASSERT_TRUE(listener->GetLocalAddress(local));
  local->Validate();
  EXPECT_EQ(local->host.ToUtf8(), "127.0.0.1");
  c_Socket* client = Connect("localhost", local->port);
  ASSERT_TRUE(rec->connected && listener->Accept());
  c_DataBuffer* hi = Text("hi......");
  (new c_Socket)->m_new2(listener->Accepted(), 1, 7)->p_SendAsync(hi, 0, 2, rec);
  EXPECT_EQ(Receive(client, (new c_DataBuffer)->m_new(8)), 2);
  EXPECT_EQ(rec->received, "hi");
  listener->Close();
  EXPECT_FALSE(listener->Open(4));

  BBSocket* a = new BBSocket();
  BBSocket* b = new BBSocket();
  BBSocketAddress* to = new BBSocketAddress();
  ASSERT_TRUE(a->Open(3) && b->Open(3) && b->Bind(String("127.0.0.1"), 0) && b->GetLocalAddress(to));
  EXPECT_EQ(a->SendTo(hi, 0, 2, to), 2);
  EXPECT_EQ(a->SendTo(hi, 9, 1, to), -1);  // never outside the buffer
  BBSocketAddress* from = new BBSocketAddress();
  EXPECT_EQ(b->ReceiveFrom(hi, 6, 100, from), 2);
  EXPECT_EQ(hi->p_PeekString(6, 2, String("ascii")).ToUtf8(), "hi");
  from->Set(String("nothing-here.invalid"), 2);
  from->Validate();
  EXPECT_EQ(from->host.ToUtf8() + ":" + std::to_string(from->port), "0.0.0.0:2");
}

}  // namespace
