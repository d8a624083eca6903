// HTTP/1.0 client: request block, header reassembly, status line, body.
#include "net/http_request.h"

namespace {

// Trims every code unit up to 0x20 from both ends (this also removes the
// carriage return before the line feed).
String TrimControls(const String& text) {
  const Char* units = text.Data();
  int from = 0;
  int to = text.Length();
  while (from < to && units[from] <= 0x20) ++from;
  while (to > from && units[to - 1] <= 0x20) --to;
  return text.Slice(from, to);
}

const char* kUtf8 = "utf8";
const char* kAscii = "ascii";

}  // namespace

c_HttpRequest* c_HttpRequest::m_new() {
  gc_assign(m_wbuf, (new c_DataBuffer)->m_new(kWriteBufferSize));
  gc_assign(m_rbuf, (new c_DataBuffer)->m_new(kReceiveBufferSize));
  return this;
}

c_HttpRequest* c_HttpRequest::m_new2(String method, String url,
                                     c_IOnHttpRequestComplete* onComplete) {
  m_new();
  p_Open(method, url, onComplete);
  return this;
}

int c_HttpRequest::p_Open(String method, String url, c_IOnHttpRequestComplete* onComplete) {
  m_method = method;
  gc_assign(m_url, (new c_Url)->m_new(url, String("http"), 80));
  gc_assign(m_onComplete, onComplete);
  m_data = nullptr;
  m_dataLength = 0;
  m_status = -1;
  m_body = nullptr;
  m_response = String();
  m_bytesReceived = 0;
  m_headerBytes = 0;
  m_finished = false;
  gc_assign(m_lines, (new c_StringStack)->m_new());
  m_lines->p_Push4(method + String(" ") + m_url->p_FullPath() + String(" HTTP/1.0"));
  m_lines->p_Push4(String("Host: ") + m_url->p_Domain());
  return 0;
}

int c_HttpRequest::p_Send() {
  gc_assign(m_socket, (new c_Socket)->m_new(String("stream")));
  m_socket->p_ConnectAsync(m_url->p_Domain(), m_url->p_Port(), this);
  return 0;
}

int c_HttpRequest::p_Send2(String data, String mimeType, String encoding) {
  // Three bytes per code unit is the most either encoding needs.
  int room = data.Length() < 0x7FFFFFFF / 3 ? data.Length() * 3 : 0x7FFFFFFF;
  gc_assign(m_data, (new c_DataBuffer)->m_new(room));
  m_dataLength = m_data->p_PokeString(0, data, encoding);
  if (mimeType.Length() > 0) m_lines->p_Push4(String("Content-Type: ") + mimeType);
  m_lines->p_Push4(String("Content-Length: ") + String(m_dataLength));
  return p_Send();
}

int c_HttpRequest::p_Status() { return m_status; }

String c_HttpRequest::p_ResponseText() { return m_response; }

int c_HttpRequest::p_OnConnectComplete(bool connected, c_Socket*) {
  if (!connected) return p_Finish();
  m_lines->p_Push4(String());
  m_lines->p_Push4(String());
  String head = m_lines->p_Join(String("\r\n"));
  m_lines->p_Clear();
  // A header block that does not fit the write buffer is refused whole
  // rather than sent cut off.
  if (head.Length() > m_wbuf->length) return p_Finish();
  int n = m_wbuf->p_PokeString(0, head, String(kAscii));
  m_socket->p_SendAsync(m_wbuf, 0, n, this);
  m_socket->p_ReceiveAsync(m_rbuf, 0, kReceiveBufferSize, this);
  return 0;
}

int c_HttpRequest::p_OnSendComplete(c_DataBuffer*, int, int, c_Socket*) {
  if (m_dataLength != 0) {
    m_socket->p_SendAsync(m_data, 0, m_dataLength, this);
    m_dataLength = 0;
  }
  return 0;
}

int c_HttpRequest::p_OnReceiveComplete(c_DataBuffer*, int offset, int count, c_Socket*) {
  if (m_finished) return 0;
  // A failed receive ends the request just like a closed connection.
  if (count <= 0) return p_Finish();
  if (m_body) {
    ReceiveBody(offset, count);
  } else {
    ReceiveHeader(offset, count);
  }
  return 0;
}

void c_HttpRequest::ReceiveBody(int offset, int count) {
  if (count > kMaxBodyBytes - m_bytesReceived) {
    // An answer this large is not one this client asked for: a failure.
    m_status = -1;
    m_body->p_Clear();
    p_Finish();
    return;
  }
  m_bytesReceived += count;
  m_body->p_Push4(m_rbuf->p_PeekString(offset, count, String(kUtf8)));
  ReceiveMore(0);
}

// Scans the new bytes for complete header lines; bytes 0 .. offset hold
// the unfinished line from the previous receive.
void c_HttpRequest::ReceiveHeader(int offset, int count) {
  const unsigned char* bytes = m_rbuf->data;
  int end = offset + count;
  int lineStart = 0;
  for (int i = offset; i < end; ++i) {
    if (bytes[i] != '\n') continue;
    String line = TrimControls(m_rbuf->p_PeekString(lineStart, i - lineStart, String(kAscii)));
    lineStart = i + 1;
    if (line.Length() == 0) {
      EndHeader(lineStart, end);
      return;
    }
    m_lines->p_Push4(line);
  }
  m_headerBytes += count;
  int unfinished = end - lineStart;
  // Endless header lines or an endless header block would stall the request
  // or grow it without bound.
  if (unfinished >= kReceiveBufferSize || m_headerBytes > kMaxHeaderBytes) {
    p_Finish();
    return;
  }
  m_rbuf->p_CopyBytes(lineStart, m_rbuf, 0, unfinished);
  ReceiveMore(unfinished);
}

bool c_HttpRequest::EndHeader(int bodyStart, int end) {
  if (m_lines->p_Length2() == 0) {
    p_Finish();
    return false;
  }
  Array<String> parts = m_lines->p_Get(0).ToUpper().Split(String(" "));
  if (parts.Length() < 3 || !parts[0].StartsWith(String("HTTP/"))) {
    p_Finish();
    return false;
  }
  m_status = bb_url_Atoi(parts[1]);
  gc_assign(m_body, (new c_StringStack)->m_new());
  int rest = end - bodyStart;
  m_bytesReceived += rest;
  m_body->p_Push4(m_rbuf->p_PeekString(bodyStart, rest, String(kUtf8)));
  ReceiveMore(0);
  return true;
}

void c_HttpRequest::ReceiveMore(int offset) {
  if (!m_socket->p_IsConnected()) return;
  m_socket->p_ReceiveAsync(m_rbuf, offset, kReceiveBufferSize - offset, this);
}

int c_HttpRequest::p_Finish() {
  if (m_finished) return 0;
  m_finished = true;
  if (m_socket) m_socket->p_Close();
  if (m_body) m_response = m_body->p_Join(String());
  if (m_onComplete) m_onComplete->p_OnHttpRequestComplete(this);
  return 0;
}

void c_HttpRequest::mark() {
  Object::mark();
  gc_enqueue(m_url);
  gc_enqueue(m_onComplete);
  gc_enqueue(m_data);
  gc_enqueue(m_body);
  gc_enqueue(m_lines);
  gc_enqueue(m_socket);
  gc_enqueue(m_wbuf);
  gc_enqueue(m_rbuf);
}
