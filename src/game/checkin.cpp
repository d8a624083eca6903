// Server check-in: one optional GET at start-up reporting the game number,
// answered on the main thread while updates run. Switched off in this build;
// the request goes out only when J_On_Allow is 1.
#include "game/my_app.h"

int c_MyApp::p_GetURL(String url, String query) {
  m_HttpReply = String("N/A");
  c_HttpRequest* request = (new c_HttpRequest())->m_new();
  gc_assign(m_Http, request);
  request->p_Open(String("GET"), url + String("?") + query, this);
  request->p_Send();
  bbPrint(String("Requesting URL"));
  m_HttpDone = 0;
  return 0;
}

int c_MyApp::p_OnHttpRequestComplete(c_HttpRequest* request) {
  if (request != m_Http) return 0;  // a stale answer
  bbPrint(String("Http GET complete! ") + String(request->p_Status()));
  m_HttpDone = 1;
  m_HttpReply = request->p_ResponseText();
  if (m_HttpReply.Length() > 0) bb_Larkspin_J_On_Able = 1;
  return 0;
}

int c_MyApp::p_PollCheckIn() {
  bb_asyncevent_UpdateAsyncEvents();
  return 0;
}
