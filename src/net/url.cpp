// URL parsing by plain substring search from the left.
#include "net/url.h"

#include <climits>
#include <cstdlib>

int bb_url_Atoi(String text) {
  char buf[64];
  int n = text.Length() < 63 ? text.Length() : 63;
  const Char* units = text.Data();
  for (int i = 0; i < n; ++i) buf[i] = (char)(units[i] & 0xFF);
  buf[n] = 0;
  long value = strtol(buf, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return (int)value;
}

c_Url* c_Url::m_new(String url, String defaultScheme, int defaultPort) {
  m_defaultScheme = defaultScheme;
  m_defaultPort = defaultPort;
  p_Set2(url);
  return this;
}

// Position of what inside url at or after from, or -1 when it is missing
// or lies at or after end.
static int FindBefore(const String& url, const char* what, int from, int end) {
  int at = url.Find(String(what), from);
  return (at >= 0 && at < end) ? at : -1;
}

int c_Url::p_Set2(String url) {
  m_url = url;
  m_scheme = m_defaultScheme;
  m_port = m_defaultPort;
  m_path = String("/");
  m_username = m_password = m_domain = m_query = m_fragment = String();

  int q = url.Find(String("?"));
  int h = url.Find(String("#"));
  if (q >= 0 && h >= 0 && h < q) q = -1;  // the "?" belongs to the fragment
  int end = url.Length();
  if (q >= 0 && q < end) end = q;
  if (h >= 0 && h < end) end = h;

  int start = 0;
  int scheme = FindBefore(url, "://", 0, end);
  if (scheme >= 0) {
    m_scheme = url.Slice(0, scheme);
    start = scheme + 3;
  }
  ParseUserInfo(start, end);
  ParseHostPortPath(start, end);

  if (q >= 0) m_query = url.Slice(q + 1, h >= 0 ? h : url.Length());
  if (h >= 0) m_fragment = url.Slice(h + 1);
  return 0;
}

void c_Url::ParseUserInfo(int& start, int end) {
  int at = FindBefore(m_url, "@", start, end);
  if (at < 0) return;
  int colon = FindBefore(m_url, ":", start, at);
  if (colon >= 0) {
    m_username = m_url.Slice(start, colon);
    m_password = m_url.Slice(colon + 1, at);
  } else {
    m_username = m_url.Slice(start, at);
  }
  start = at + 1;
}

void c_Url::ParseHostPortPath(int start, int end) {
  int c = FindBefore(m_url, ":", start, end);
  int s = FindBefore(m_url, "/", start, end);
  if (c < 0 && s < 0) {
    m_domain = m_url.Slice(start, end);
  } else if (s < 0) {
    m_domain = m_url.Slice(start, c);
    m_port = bb_url_Atoi(m_url.Slice(c + 1, end));
  } else if (c < 0 || s < c) {
    // A ":" after the first "/" belongs to the path.
    m_domain = m_url.Slice(start, s);
    m_path = m_url.Slice(s, end);
  } else {
    m_domain = m_url.Slice(start, c);
    m_port = bb_url_Atoi(m_url.Slice(c + 1, s));
    m_path = m_url.Slice(s, end);
  }
}

String c_Url::p_Domain() { return m_domain; }

int c_Url::p_Port() { return m_port; }

String c_Url::p_FullPath() {
  String full = m_path;
  if (m_query.Length() > 0) full += String("?") + m_query;
  if (m_fragment.Length() > 0) full += String("#") + m_fragment;
  return full;
}
