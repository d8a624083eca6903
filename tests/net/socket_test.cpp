// Asynchronous sockets against real peers on the loopback interface: connect,
// send, receive, peer and local close, failures, ordering, and completions
// delivered on the main thread only.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "net/net_peer.h"

namespace {

class Recorder : public Object, public c_IOnConnectComplete, public c_IOnSendComplete, public c_IOnReceiveComplete {
 public:
  std::vector<int> connects, sends, receives;  // results and counts, in order
  std::string received;
  bool offMainThread = false;

  int p_OnConnectComplete(bool ok, c_Socket*) override { return Log(connects, ok); }
  int p_OnSendComplete(c_DataBuffer*, int, int count, c_Socket*) override { return Log(sends, count); }
  int p_OnReceiveComplete(c_DataBuffer* data, int offset, int count, c_Socket*) override {
    if (count > 0) received.append((const char*)data->data + offset, (size_t)count);
    return Log(receives, count);
  }
  int Log(std::vector<int>& to, int value) {
    offMainThread |= std::this_thread::get_id() != EnsureNetStarted();
    to.push_back(value);
    return 0;
  }
};

class SocketTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureNetStarted(), rec = new Recorder; }
  void TearDown() override { EXPECT_FALSE(rec->offMainThread); }

  // Waits for one more completion of the kind in `log`; its result or count.
  int Next(const std::vector<int>& log) {
    size_t before = log.size();
    return PumpUntil([&] { return log.size() > before; }, 10000) ? log.back() : -99;
  }
  c_Socket* Connect(const char* host, int port, bool expect) {
    c_Socket* socket = (new c_Socket)->m_new(String("stream"));
    socket->p_ConnectAsync(String(host), port, rec);
    EXPECT_EQ(Next(rec->connects), expect) << host;
    return socket;
  }
  int Receive(c_Socket* socket, c_DataBuffer* into) {
    socket->p_ReceiveAsync(into, 0, into->length, rec);
    return Next(rec->receives);
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
  c_Socket* socket = Connect("127.0.0.1", peer.Port(), true);
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
  c_Socket* socket = Connect("127.0.0.1", silent.Port(), true);
  socket->p_ReceiveAsync((new c_DataBuffer)->m_new(16), 0, 16, rec);
  PumpUntil([] { return false; }, 50);  // the game keeps running meanwhile
  EXPECT_TRUE(rec->receives.empty());
  socket->p_Close();
  EXPECT_EQ(Next(rec->receives), -1);
}

TEST_F(SocketTest, FailuresAndWrongStatesDoNothingElse) {
  EXPECT_EQ(Connect("127.0.0.1", Peer::UnusedPort(), false)->m_state, 1);
  // Names that do not resolve must not fall back to this machine.
  Peer local([](int, Peer&) {});
  for (const char* host : {"larkspin-nowhere.invalid", ""}) EXPECT_FALSE(Connect(host, local.Port(), false)->p_IsConnected());
  c_DataBuffer* buf = (new c_DataBuffer)->m_new(4);
  c_Socket* idle = (new c_Socket)->m_new(String("stream"));
  idle->p_SendAsync(buf, 0, 4, rec);
  idle->p_ReceiveAsync(buf, 0, 4, rec);
  idle->p_Close();
  idle->p_ConnectAsync(String("127.0.0.1"), 1, rec);
  PumpUntil([] { return false; }, 50);
  EXPECT_TRUE(rec->sends.empty() && rec->receives.empty() && rec->connects.size() == 3);
  EXPECT_EQ(idle->m_wqueue->m_put.load() + idle->m_rqueue->m_put.load(), 0);
  EXPECT_FALSE(local.accepted);
}

TEST_F(SocketTest, ListenerAndDatagramsStayInsideTheirBuffers) {
  BBSocket *listener = new BBSocket(), *a = new BBSocket(), *b = new BBSocket();
  BBSocketAddress *local = new BBSocketAddress(), *from = new BBSocketAddress();
  ASSERT_TRUE(listener->Open(2) && listener->Bind(String("127.0.0.1"), 0) && listener->Listen(1) &&
              listener->GetLocalAddress(local));
  local->Validate();
  c_Socket* client = Connect("localhost", local->port, true);
  ASSERT_TRUE(listener->Accept());
  c_DataBuffer* hi = Text("hi......");
  (new c_Socket)->m_new2(listener->Accepted(), 1, 7)->p_SendAsync(hi, 0, 2, rec);
  EXPECT_EQ(Receive(client, (new c_DataBuffer)->m_new(8)), 2);
  EXPECT_EQ(rec->received, "hi");

  ASSERT_TRUE(a->Open(3) && b->Open(3) && b->Bind(String("127.0.0.1"), 0) && b->GetLocalAddress(local));
  EXPECT_EQ(a->SendTo(hi, 0, 2, local), 2);
  EXPECT_EQ(a->SendTo(hi, 9, 1, local), -1);
  EXPECT_EQ(b->ReceiveFrom(hi, 6, 100, from), 2);
  EXPECT_EQ(hi->p_PeekString(6, 2, String("ascii")).ToUtf8(), "hi");
  from->Set(String("nothing-here.invalid"), 2);
  from->Validate();
  EXPECT_EQ(from->host.ToUtf8() + ":" + std::to_string(from->port), "0.0.0.0:2");
}

}  // namespace
