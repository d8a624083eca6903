// Fixed-size blocks of raw bytes with byte, copy and string access. The
// socket layer sends from and receives into them.
#pragma once

#include "runtime/runtime.h"

class BBThread;

class BBDataBuffer : public Object {
 public:
  unsigned char* data;
  int length;

  BBDataBuffer();
  ~BBDataBuffer();

  bool _New(int length, void* data = nullptr);
  bool _Load(String path);
  bool _LoadAsync(String const& path, BBThread* thread);
  void Discard();
};

class c_DataBuffer : public BBDataBuffer {
 public:
  c_DataBuffer* m_new(int length);
  c_DataBuffer* m_new2();
  static c_DataBuffer* m_Load(String path);

  int p_PeekBytes(int address, Array<int> bytes, int offset, int count);
  Array<int> p_PeekBytes2(int address, int count);
  int p_PokeBytes(int address, Array<int> bytes, int offset, int count);
  int p_CopyBytes(int address, c_DataBuffer* dst, int dstAddress, int count);
  int p_PokeString(int address, String str, String encoding);
  String p_PeekString(int address, int count, String encoding);
  String p_PeekString2(int address, String encoding);

 private:
  int ClampToBuffer(int address, int count) const;
};
