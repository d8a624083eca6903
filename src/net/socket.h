// A socket whose connects, sends and receives run on worker threads and
// complete through callbacks during the game's update.
#pragma once

#include "net/async_event.h"
#include "net/async_ops.h"
#include "net/async_queue.h"
#include "net/bb_socket.h"

class c_Socket : public Object, public c_IAsyncEventSource {
 public:
  enum { kOpen = 1, kConnectedBits = 6, kConnected = 4, kListening = 8 };

  BBSocket* m_socket = nullptr;
  int m_proto = 0;
  int m_state = 0;
  c_AsyncQueue* m_rqueue = nullptr;  // connects and receives
  c_AsyncQueue* m_wqueue = nullptr;  // sends, never behind a blocked receive

  c_Socket* m_new(String protocol);
  c_Socket* m_new2(BBSocket* socket, int proto, int state);
  int p_Start();
  bool p_IsOpen();
  bool p_IsConnected();
  bool p_IsListening();
  int p_Close();
  int p_ConnectAsync(String host, int port, c_IOnConnectComplete* onComplete);
  int p_SendAsync(c_DataBuffer* data, int offset, int count, c_IOnSendComplete* onComplete);
  // Virtual so a stand-in socket can feed a receiver its bytes directly,
  // without a network (the fuzz harness does).
  virtual int p_ReceiveAsync(c_DataBuffer* data, int offset, int count,
                             c_IOnReceiveComplete* onComplete);
  int p_UpdateAsyncEvents() override;
  void mark() override;
};

