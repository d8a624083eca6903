// Misuse of buffers, sockets and queues ends the program with a runtime
// error; each case runs in a child process so its exit can be observed.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>

#include "net/child_process.h"
#include "net/net_test_support.h"

namespace {

const int kErrorStatus = 255;

std::string ErrorLine(const char* message) {
  return std::string("Quill Runtime Error : ") + message + "\n";
}

class RuntimeErrorTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureNetStarted(); }
};

TEST_F(RuntimeErrorTest, DataBufferMisuse) {
  ChildResult bad = RunInChild([] {
    c_DataBuffer* buf = (new c_DataBuffer)->m_new(4);
    buf->p_PokeString(0, String("x"), String("latin1"));
  });
  EXPECT_EQ(bad.exitCode, kErrorStatus);
  EXPECT_EQ(bad.out.rfind(ErrorLine("Invalid string encoding:latin1"), 0), 0u) << bad.out;

  // The encoding name is compared exactly, also when reading.
  ChildResult upper = RunInChild([] {
    (new c_DataBuffer)->m_new(4)->p_PeekString(0, 4, String("UTF8"));
  });
  EXPECT_EQ(upper.exitCode, kErrorStatus);
  EXPECT_EQ(upper.out.rfind(ErrorLine("Invalid string encoding:UTF8"), 0), 0u) << upper.out;

  ChildResult twice = RunInChild([] {
    c_DataBuffer* buf = (new c_DataBuffer)->m_new(4);
    buf->m_new(8);
  });
  EXPECT_EQ(twice.exitCode, kErrorStatus);
  EXPECT_EQ(twice.out.rfind(ErrorLine("Allocate DataBuffer failed"), 0), 0u) << twice.out;

  ChildResult negative = RunInChild([] { (new c_DataBuffer)->m_new(-16); });
  EXPECT_EQ(negative.exitCode, kErrorStatus);
  EXPECT_EQ(negative.out.rfind(ErrorLine("Allocate DataBuffer failed"), 0), 0u) << negative.out;
}

TEST_F(RuntimeErrorTest, SocketMisuse) {
  ChildResult tcp = RunInChild([] { (new c_Socket)->m_new(String("tcp")); });
  EXPECT_EQ(tcp.exitCode, kErrorStatus);
  EXPECT_EQ(tcp.out.rfind(ErrorLine("Illegal socket protocol"), 0), 0u) << tcp.out;

  ChildResult twice = RunInChild([] {
    c_Socket* socket = (new c_Socket)->m_new(String("datagram"));
    printf("registered\n");
    bb_asyncevent_AddAsyncEventSource(socket);
  });
  EXPECT_EQ(twice.exitCode, kErrorStatus);
  EXPECT_EQ(twice.out.rfind("registered\n" + ErrorLine("Async event source is already active"), 0),
            0u)
      << twice.out;
}

TEST_F(RuntimeErrorTest, QueueHoldsAtMost255Operations) {
  ChildResult overflow = RunInChild([] {
    c_Socket* socket = (new c_Socket)->m_new(String("stream"));
    c_DataBuffer* buf = (new c_DataBuffer)->m_new(1);
    // The socket is not connected: each send fails at once on the worker,
    // yet stays outstanding until an update completes it.
    for (int i = 1; i <= 256; ++i) {
      socket->m_wqueue->p_Enqueue(
          (new c_AsyncSendOp)->m_new(socket->m_socket, buf, 0, 1, nullptr));
      printf("%d\n", i);
      fflush(stdout);
    }
  });
  EXPECT_EQ(overflow.exitCode, kErrorStatus);
  EXPECT_NE(overflow.out.find("\n255\n" + ErrorLine("AsyncQueue queue overflow!")),
            std::string::npos)
      << overflow.out.substr(overflow.out.size() > 200 ? overflow.out.size() - 200 : 0);
  EXPECT_EQ(overflow.out.find("\n256\n"), std::string::npos);
}

TEST_F(RuntimeErrorTest, CompletingMakesRoomInTheQueue) {
  ChildResult drained = RunInChild([] {
    c_Socket* socket = (new c_Socket)->m_new(String("stream"));
    c_DataBuffer* buf = (new c_DataBuffer)->m_new(1);
    for (int round = 0; round < 3; ++round) {
      for (int i = 0; i < 200; ++i) {
        socket->m_wqueue->p_Enqueue(
            (new c_AsyncSendOp)->m_new(socket->m_socket, buf, 0, 1, nullptr));
      }
      // Wait for the worker, then complete everything.
      for (int spin = 0; spin < 5000 && socket->m_wqueue->m_get != socket->m_wqueue->m_put; ++spin) {
        bb_asyncevent_UpdateAsyncEvents();
        usleep(1000);
      }
    }
    printf("drained %d\n", socket->m_wqueue->m_get);
  });
  EXPECT_EQ(drained.exitCode, 0);
  EXPECT_EQ(drained.out, "drained 88\n");  // 600 operations, modulo 256
}

}  // namespace
