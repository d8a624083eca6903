// Byte encodings of 16-bit text used by data buffers.
#include "net/text_codec.h"

namespace textcodec {

void EncodeUtf8(const unsigned short* units, int n, std::vector<unsigned char>& out) {
  out.clear();
  out.reserve(n > 0 ? n : 0);
  for (int i = 0; i < n; ++i) {
    unsigned c = units[i];
    if (c < 0x80) {
      out.push_back((unsigned char)c);
    } else if (c < 0x800) {
      out.push_back((unsigned char)(0xC0 | (c >> 6)));
      out.push_back((unsigned char)(0x80 | (c & 0x3F)));
    } else {
      out.push_back((unsigned char)(0xE0 | (c >> 12)));
      out.push_back((unsigned char)(0x80 | ((c >> 6) & 0x3F)));
      out.push_back((unsigned char)(0x80 | (c & 0x3F)));
    }
  }
}

void EncodeAscii(const unsigned short* units, int n, std::vector<unsigned char>& out) {
  out.clear();
  for (int i = 0; i < n; ++i) out.push_back((unsigned char)(units[i] & 0xFF));
}

static bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

bool DecodeUtf8(const unsigned char* bytes, int n, std::vector<unsigned short>& out) {
  out.clear();
  int i = 0;
  while (i < n) {
    unsigned char lead = bytes[i];
    if (lead < 0x80) {
      out.push_back(lead);
      i += 1;
    } else if ((lead & 0xE0) == 0xC0) {
      if (i + 1 >= n || !IsContinuation(bytes[i + 1])) return false;
      out.push_back((unsigned short)(((lead & 0x1F) << 6) | (bytes[i + 1] & 0x3F)));
      i += 2;
    } else if ((lead & 0xF0) == 0xE0) {
      if (i + 2 >= n || !IsContinuation(bytes[i + 1]) || !IsContinuation(bytes[i + 2])) return false;
      out.push_back((unsigned short)(((lead & 0x0F) << 12) | ((bytes[i + 1] & 0x3F) << 6) |
                                     (bytes[i + 2] & 0x3F)));
      i += 3;
    } else {
      // Stray continuation bytes and four-byte (or longer) leads.
      return false;
    }
  }
  return true;
}

void DecodeAscii(const unsigned char* bytes, int n, std::vector<unsigned short>& out) {
  out.clear();
  for (int i = 0; i < n; ++i) out.push_back(bytes[i]);
}

void DecodeSignedBytes(const unsigned char* bytes, int n, std::vector<unsigned short>& out) {
  out.clear();
  for (int i = 0; i < n; ++i) out.push_back((unsigned short)(short)(signed char)bytes[i]);
}

}  // namespace textcodec
