// Asynchronous sockets: protocol names, state bits and the two queues.
#include "net/socket.h"

static int ProtocolNumber(const String& protocol) {
  if (protocol == String("stream")) return 1;
  if (protocol == String("server")) return 2;
  if (protocol == String("datagram")) return 3;
  bbError(String("Illegal socket protocol"));
  return 0;
}

c_Socket* c_Socket::m_new(String protocol) {
  int proto = ProtocolNumber(protocol);
  gc_assign(m_socket, new BBSocket());
  if (!m_socket->Open(proto)) bbError(String("Socket open failed"));
  m_proto = proto;
  m_state = kOpen;
  p_Start();
  return this;
}

c_Socket* c_Socket::m_new2(BBSocket* socket, int proto, int state) {
  gc_assign(m_socket, socket);
  m_proto = proto;
  m_state = state;
  p_Start();
  return this;
}

int c_Socket::p_Start() {
  gc_assign(m_rqueue, (new c_AsyncQueue)->m_new(this));
  gc_assign(m_wqueue, (new c_AsyncQueue)->m_new(this));
  bb_asyncevent_AddAsyncEventSource(this);
  return 0;
}

bool c_Socket::p_IsOpen() { return (m_state & kOpen) != 0; }

bool c_Socket::p_IsConnected() { return (m_state & kConnected) != 0; }

bool c_Socket::p_IsListening() { return (m_state & kListening) != 0; }

int c_Socket::p_Close() {
  // Operations still queued run on and fail at the socket level.
  if (m_socket) m_socket->Close();
  m_state = 0;
  return 0;
}

int c_Socket::p_ConnectAsync(String host, int port, c_IOnConnectComplete* onComplete) {
  if (!p_IsOpen() || p_IsConnected() || p_IsListening()) return 0;
  m_rqueue->p_Enqueue((new c_AsyncConnectOp)->m_new(m_socket, host, port, onComplete));
  return 0;
}

int c_Socket::p_SendAsync(c_DataBuffer* data, int offset, int count, c_IOnSendComplete* onComplete) {
  if (!p_IsConnected()) return 0;
  m_wqueue->p_Enqueue((new c_AsyncSendOp)->m_new(m_socket, data, offset, count, onComplete));
  return 0;
}

int c_Socket::p_ReceiveAsync(c_DataBuffer* data, int offset, int count,
                             c_IOnReceiveComplete* onComplete) {
  if (!p_IsConnected()) return 0;
  m_rqueue->p_Enqueue((new c_AsyncReceiveOp)->m_new(m_socket, data, offset, count, onComplete));
  return 0;
}

int c_Socket::p_UpdateAsyncEvents() {
  m_rqueue->p_UpdateAsyncEvents();
  m_wqueue->p_UpdateAsyncEvents();
  return 0;
}

void c_Socket::mark() {
  Object::mark();
  gc_enqueue(m_socket);
  gc_enqueue(m_rqueue);
  gc_enqueue(m_wqueue);
}
