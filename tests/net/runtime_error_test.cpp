// Misuse of buffers, sockets and queues ends the program with a runtime
// error; each case runs in a child process so its exit can be observed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "net/net_test_support.h"
#include "support/child_process.h"

namespace {

c_AsyncSendOp* SendOp(c_Socket* socket) {
  return (new c_AsyncSendOp)->m_new(socket->m_socket, (new c_DataBuffer)->m_new(1), 0, 1, nullptr);
}

TEST(RuntimeErrorTest, MisuseEndsTheProgram) {
  EnsureNetStarted();
  ExpectRuntimeError([] { (new c_DataBuffer)->m_new(4)->p_PokeString(0, String("x"), String("latin1")); },
              "Invalid string encoding:latin1");
  // Names are compared exactly, also when reading.
  ExpectRuntimeError([] { (new c_DataBuffer)->m_new(4)->p_PeekString(0, 4, String("UTF8")); },
              "Invalid string encoding:UTF8");
  ExpectRuntimeError([] { (new c_DataBuffer)->m_new(4)->m_new(8); }, "Allocate DataBuffer failed");
  ExpectRuntimeError([] { (new c_DataBuffer)->m_new(-16); }, "Allocate DataBuffer failed");
  ExpectRuntimeError([] { (new c_Socket)->m_new(String("tcp")); }, "Illegal socket protocol");
  ExpectRuntimeError(
      [] {
        c_Socket* socket = (new c_Socket)->m_new(String("datagram"));
        printf("registered\n");
        bb_asyncevent_AddAsyncEventSource(socket);
      },
      "Async event source is already active", "registered\n");
  // The socket is not connected: each send fails at once on the worker, yet
  // stays outstanding until an update completes it.
  ExpectRuntimeError(
      [] {
        c_Socket* socket = (new c_Socket)->m_new(String("stream"));
        for (int i = 0; i < 255; ++i) socket->m_wqueue->p_Enqueue(SendOp(socket));
        printf("255 queued\n");
        socket->m_wqueue->p_Enqueue(SendOp(socket));
      },
      "AsyncQueue queue overflow!", "255 queued\n");
}

TEST(RuntimeErrorTest, CompletingMakesRoomInTheQueue) {
  EnsureNetStarted();
  ChildResult drained = RunInChild([] {
    c_Socket* socket = (new c_Socket)->m_new(String("stream"));
    c_AsyncQueue* q = socket->m_wqueue;
    for (int round = 0; round < 3; ++round) {
      for (int i = 0; i < 200; ++i) q->p_Enqueue(SendOp(socket));
      for (int spin = 0; spin < 5000 && q->m_get != q->m_put; ++spin) {
        bb_asyncevent_UpdateAsyncEvents();
        usleep(1000);
      }
    }
    printf("drained %d\n", q->m_get);
  });
  EXPECT_EQ(drained.status, 100);  // returned normally
  EXPECT_EQ(drained.out, "drained 88\n");  // 600 operations, modulo 256
}

}  // namespace
