// Data buffers: the memory block, clamped byte access and string encodings.
#include "net/data_buffer.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "net/text_codec.h"

BBDataBuffer::BBDataBuffer() : data(nullptr), length(0) {}

BBDataBuffer::~BBDataBuffer() { Discard(); }

bool BBDataBuffer::_New(int len, void* block) {
  if (data) return false;
  // A negative size would turn into an enormous request; refuse it so the
  // caller reports a failed allocation instead.
  if (len < 0) return false;
  if (!block) {
    block = malloc(len > 0 ? (size_t)len : 1);
    if (!block) return false;
    gc_ext_malloced(len);
  }
  data = (unsigned char*)block;
  length = len;
  return true;
}

void BBDataBuffer::Discard() {
  if (!data) return;
  free(data);
  data = nullptr;
  length = 0;
}

c_DataBuffer* c_DataBuffer::m_new(int len) {
  if (!_New(len)) bbError(String("Allocate DataBuffer failed"));
  return this;
}

c_DataBuffer* c_DataBuffer::m_new2() { return this; }

// Bytes available from address on, limited to count; 0 when address lies
// outside the block (a negative address would otherwise reach before it).
int c_DataBuffer::ClampToBuffer(int address, int count) const {
  if (address < 0 || address > length || count <= 0) return 0;
  int room = length - address;
  return count < room ? count : room;
}

static int ClampToArray(int offset, int arrayLength, int count) {
  if (offset < 0 || offset > arrayLength || count <= 0) return 0;
  int room = arrayLength - offset;
  return count < room ? count : room;
}

int c_DataBuffer::p_PeekBytes(int address, Array<int> bytes, int offset, int count) {
  count = ClampToBuffer(address, count);
  count = ClampToArray(offset, bytes.Length(), count);
  int* out = bytes.Data();
  for (int i = 0; i < count; ++i) out[offset + i] = (signed char)data[address + i];
  return 0;
}

Array<int> c_DataBuffer::p_PeekBytes2(int address, int count) {
  count = ClampToBuffer(address, count);
  Array<int> bytes(count);
  p_PeekBytes(address, bytes, 0, count);
  return bytes;
}

int c_DataBuffer::p_PokeBytes(int address, Array<int> bytes, int offset, int count) {
  count = ClampToBuffer(address, count);
  count = ClampToArray(offset, bytes.Length(), count);
  const int* in = bytes.Data();
  for (int i = 0; i < count; ++i) data[address + i] = (unsigned char)in[offset + i];
  return 0;
}

int c_DataBuffer::p_CopyBytes(int address, c_DataBuffer* dst, int dstAddress, int count) {
  count = ClampToBuffer(address, count);
  count = dst->ClampToBuffer(dstAddress, count);
  if (count <= 0) return 0;
  // memmove picks the safe direction for overlapping ranges in one block,
  // which is what a downward copy for address < dstAddress achieves.
  memmove(dst->data + dstAddress, data + address, (size_t)count);
  return 0;
}

static textcodec::Encoding EncodingOf(const String& name) {
  if (name == String("utf8")) return textcodec::kUtf8;
  if (name == String("ascii")) return textcodec::kAscii;
  bbError(String("Invalid string encoding:") + name);
  return textcodec::kInvalid;
}

int c_DataBuffer::p_PokeString(int address, String str, String encoding) {
  textcodec::Encoding enc = EncodingOf(encoding);
  std::vector<unsigned char> bytes;
  if (enc == textcodec::kUtf8) {
    textcodec::EncodeUtf8(str.Data(), str.Length(), bytes);
  } else {
    textcodec::EncodeAscii(str.Data(), str.Length(), bytes);
  }
  int count = ClampToBuffer(address, (int)bytes.size());
  if (count > 0) memcpy(data + address, bytes.data(), (size_t)count);
  return (int)bytes.size();
}

static String FromUnits(const std::vector<unsigned short>& units) {
  if (units.empty()) return String();
  return String(units.data(), (int)units.size());
}

String c_DataBuffer::p_PeekString(int address, int count, String encoding) {
  textcodec::Encoding enc = EncodingOf(encoding);
  count = ClampToBuffer(address, count);
  if (count <= 0) return String();
  std::vector<unsigned short> units;
  const unsigned char* bytes = data + address;
  if (enc == textcodec::kAscii) {
    textcodec::DecodeAscii(bytes, count, units);
  } else if (!textcodec::DecodeUtf8(bytes, count, units)) {
    textcodec::DecodeSignedBytes(bytes, count, units);
  }
  return FromUnits(units);
}

String c_DataBuffer::p_PeekString2(int address, String encoding) {
  return p_PeekString(address, length - address, encoding);
}
