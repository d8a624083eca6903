// A small HTTP/1.0 client on the asynchronous sockets: one request, the
// status line, and the body until the server closes the connection.
#pragma once

#include "net/async_ops.h"
#include "net/data_buffer.h"
#include "net/socket.h"
#include "net/string_stack.h"
#include "net/url.h"

class c_HttpRequest;

class c_IOnHttpRequestComplete : public gc_interface {
 public:
  virtual int p_OnHttpRequestComplete(c_HttpRequest* request) = 0;
};

class c_HttpRequest : public Object,
                      public c_IOnConnectComplete,
                      public c_IOnSendComplete,
                      public c_IOnReceiveComplete {
 public:
  enum {
    kWriteBufferSize = 4096,
    kReceiveBufferSize = 16384,
    kMaxHeaderBytes = 65536,
    kMaxBodyBytes = 1 << 20,
  };

  String m_method;
  c_Url* m_url = nullptr;
  c_IOnHttpRequestComplete* m_onComplete = nullptr;
  c_DataBuffer* m_data = nullptr;
  int m_dataLength = 0;
  int m_status = -1;
  c_StringStack* m_body = nullptr;
  String m_response;
  int m_bytesReceived = 0;
  c_StringStack* m_lines = nullptr;
  c_Socket* m_socket = nullptr;
  c_DataBuffer* m_wbuf = nullptr;
  c_DataBuffer* m_rbuf = nullptr;

  c_HttpRequest* m_new();
  c_HttpRequest* m_new2(String method, String url, c_IOnHttpRequestComplete* onComplete);
  int p_Open(String method, String url, c_IOnHttpRequestComplete* onComplete);
  int p_Send();
  int p_Send2(String data, String mimeType, String encoding);
  int p_Status();
  String p_ResponseText();
  int p_OnConnectComplete(bool connected, c_Socket* source) override;
  int p_OnSendComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) override;
  int p_OnReceiveComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) override;
  int p_Finish();
  void mark() override;

 private:
  void ReceiveHeader(int offset, int count);
  bool EndHeader(int bodyStart, int end);
  void ReceiveMore(int offset);
  void ReceiveBody(int offset, int count);

  // Header bytes seen so far; a server that never ends its header block (or
  // its body) is cut off rather than allowed to grow memory without bound.
  int m_headerBytes = 0;
  bool m_finished = false;
};

