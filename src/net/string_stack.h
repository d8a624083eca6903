// Growable stacks of strings: header lines and body pieces of HTTP requests.
#pragma once

#include "runtime/runtime.h"

class c_Stack2 : public Object {
 public:
  Array<String> m_data;
  int m_length = 0;

  c_Stack2* m_new();
  int p_Push4(String value);
  Array<String> p_ToArray();
  int p_Clear();
  int p_Length2();
  String p_Get(int index);
  void mark() override;
};

class c_StringStack : public c_Stack2 {
 public:
  c_StringStack* m_new();
  String p_Join(String separator);
};

