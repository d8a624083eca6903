// Operations that a socket's queues run on a worker thread and complete on
// the main thread, and the callbacks they complete to.
#pragma once

#include <string>

#include "net/bb_socket.h"
#include "net/data_buffer.h"
#include "runtime/runtime.h"

class c_Socket;

class c_IOnConnectComplete : public gc_interface {
 public:
  virtual int p_OnConnectComplete(bool connected, c_Socket* source) = 0;
};

class c_IOnSendComplete : public gc_interface {
 public:
  virtual int p_OnSendComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) = 0;
};

class c_IOnReceiveComplete : public gc_interface {
 public:
  virtual int p_OnReceiveComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) = 0;
};

// p_Execute__UNSAFE__ runs on a worker thread: it may only touch plain
// fields of its own operation and the socket handle, never the collector.
class c_AsyncOp : public Object {
 public:
  c_AsyncOp* m_new();
  virtual int p_Complete(c_Socket* source) = 0;
  virtual int p_Execute__UNSAFE__(c_Socket* source) = 0;
};

class c_AsyncConnectOp : public c_AsyncOp {
 public:
  BBSocket* m_socket = nullptr;
  String m_host;
  int m_port = 0;
  c_IOnConnectComplete* m_onComplete = nullptr;
  bool m_connected = false;

  c_AsyncConnectOp* m_new(BBSocket* socket, String host, int port, c_IOnConnectComplete* onComplete);
  int p_Complete(c_Socket* source) override;
  int p_Execute__UNSAFE__(c_Socket* source) override;
  void mark() override;

 private:
  // The host as bytes, made on the main thread so the worker shares no
  // string representation with it.
  std::string m_hostBytes;
};

class c_AsyncSocketIoOp : public c_AsyncOp {
 public:
  BBSocket* m_socket = nullptr;
  c_DataBuffer* m_data = nullptr;
  int m_offset = 0;
  int m_count = 0;

  c_AsyncSocketIoOp* m_new(BBSocket* socket, c_DataBuffer* data, int offset, int count);
  void mark() override;
};

class c_AsyncSendOp : public c_AsyncSocketIoOp {
 public:
  c_IOnSendComplete* m_onComplete = nullptr;

  c_AsyncSendOp* m_new(BBSocket* socket, c_DataBuffer* data, int offset, int count,
                       c_IOnSendComplete* onComplete);
  int p_Complete(c_Socket* source) override;
  int p_Execute__UNSAFE__(c_Socket* source) override;
  void mark() override;
};

class c_AsyncReceiveOp : public c_AsyncSocketIoOp {
 public:
  c_IOnReceiveComplete* m_onComplete = nullptr;

  c_AsyncReceiveOp* m_new(BBSocket* socket, c_DataBuffer* data, int offset, int count,
                          c_IOnReceiveComplete* onComplete);
  int p_Complete(c_Socket* source) override;
  int p_Execute__UNSAFE__(c_Socket* source) override;
  void mark() override;
};
