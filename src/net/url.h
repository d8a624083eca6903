// A URL cut into scheme, user, password, domain, port, path, query and
// fragment by plain substring search.
#pragma once

#include "runtime/runtime.h"

class c_Url : public Object {
 public:
  String m_defaultScheme;
  int m_defaultPort = 0;
  String m_url;
  String m_scheme;
  String m_username;
  String m_password;
  String m_domain;
  int m_port = 0;
  String m_path;
  String m_query;
  String m_fragment;

  c_Url* m_new(String url, String defaultScheme, int defaultPort);
  int p_Set2(String url);
  String p_Domain();
  int p_Port();
  String p_FullPath();

 private:
  void ParseUserInfo(int& start, int end);
  void ParseHostPortPath(int start, int end);
};

// C atoi of the first 63 code units (each cut to its low 8 bits): leading
// digits count, anything else gives 0; out-of-range values saturate.
int bb_url_Atoi(String text);
