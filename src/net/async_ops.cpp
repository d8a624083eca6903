// Connect, send and receive operations of the socket queues.
#include "net/async_ops.h"

#include "net/resolve.h"
#include "net/socket.h"

c_AsyncOp* c_AsyncOp::m_new() { return this; }

c_AsyncConnectOp* c_AsyncConnectOp::m_new(BBSocket* socket, String host, int port,
                                           c_IOnConnectComplete* onComplete) {
  c_AsyncOp::m_new();
  gc_assign(m_socket, socket);
  m_host = host;
  m_hostBytes = NarrowHostName(host);
  m_port = port;
  gc_assign(m_onComplete, onComplete);
  return this;
}

int c_AsyncConnectOp::p_Execute__UNSAFE__(c_Socket*) {
  m_connected = m_socket && m_socket->ConnectTo(m_hostBytes, m_port);
  return 0;
}

int c_AsyncConnectOp::p_Complete(c_Socket* source) {
  if (m_connected) source->m_state |= 6;
  if (m_onComplete) m_onComplete->p_OnConnectComplete(m_connected, source);
  return 0;
}

void c_AsyncConnectOp::mark() {
  c_AsyncOp::mark();
  gc_enqueue(m_socket);
  gc_enqueue(m_onComplete);
}

c_AsyncSocketIoOp* c_AsyncSocketIoOp::m_new(BBSocket* socket, c_DataBuffer* data, int offset,
                                             int count) {
  c_AsyncOp::m_new();
  gc_assign(m_socket, socket);
  gc_assign(m_data, data);
  m_offset = offset;
  m_count = count;
  return this;
}

void c_AsyncSocketIoOp::mark() {
  c_AsyncOp::mark();
  gc_enqueue(m_socket);
  gc_enqueue(m_data);
}

c_AsyncSendOp* c_AsyncSendOp::m_new(BBSocket* socket, c_DataBuffer* data, int offset, int count,
                                     c_IOnSendComplete* onComplete) {
  c_AsyncSocketIoOp::m_new(socket, data, offset, count);
  gc_assign(m_onComplete, onComplete);
  return this;
}

int c_AsyncSendOp::p_Execute__UNSAFE__(c_Socket*) {
  m_count = m_socket ? m_socket->Send(m_data, m_offset, m_count) : -1;
  return 0;
}

int c_AsyncSendOp::p_Complete(c_Socket* source) {
  if (m_onComplete) m_onComplete->p_OnSendComplete(m_data, m_offset, m_count, source);
  return 0;
}

void c_AsyncSendOp::mark() {
  c_AsyncSocketIoOp::mark();
  gc_enqueue(m_onComplete);
}

c_AsyncReceiveOp* c_AsyncReceiveOp::m_new(BBSocket* socket, c_DataBuffer* data, int offset,
                                           int count, c_IOnReceiveComplete* onComplete) {
  c_AsyncSocketIoOp::m_new(socket, data, offset, count);
  gc_assign(m_onComplete, onComplete);
  return this;
}

int c_AsyncReceiveOp::p_Execute__UNSAFE__(c_Socket*) {
  m_count = m_socket ? m_socket->Receive(m_data, m_offset, m_count) : -1;
  return 0;
}

int c_AsyncReceiveOp::p_Complete(c_Socket* source) {
  if (m_onComplete) m_onComplete->p_OnReceiveComplete(m_data, m_offset, m_count, source);
  return 0;
}

void c_AsyncReceiveOp::mark() {
  c_AsyncSocketIoOp::mark();
  gc_enqueue(m_onComplete);
}
