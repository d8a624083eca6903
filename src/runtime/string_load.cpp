// Text files and UTF-8: String::Load with byte-order-mark detection and the
// one-unit-per-byte fallback, and the UTF-8 conversions.
#include <climits>
#include <cstring>
#include <vector>

#include "runtime/string.h"
#include "runtime/utf8.h"

void rt_append_utf8(std::string& out, const Char* units, int n) {
  for (int i = 0; i < n; ++i) {
    unsigned c = units[i];
    if (c < 0x80) {
      out += (char)c;
    } else if (c < 0x800) {
      out += (char)(0xC0 | (c >> 6));
      out += (char)(0x80 | (c & 0x3F));
    } else {
      out += (char)(0xE0 | (c >> 12));
      out += (char)(0x80 | ((c >> 6) & 0x3F));
      out += (char)(0x80 | (c & 0x3F));
    }
  }
}

bool rt_decode_utf8(const unsigned char* b, size_t n, std::vector<Char>& out) {
  out.reserve(out.size() + n);
  size_t i = 0;
  while (i < n) {
    unsigned c = b[i];
    if (c < 0x80) {
      out.push_back((Char)c);
      i += 1;
    } else if ((c & 0xE0) == 0xC0) {
      if (i + 1 >= n || (b[i + 1] & 0xC0) != 0x80) return false;
      out.push_back((Char)(((c & 0x1F) << 6) | (b[i + 1] & 0x3F)));
      i += 2;
    } else if ((c & 0xF0) == 0xE0) {
      if (i + 2 >= n || (b[i + 1] & 0xC0) != 0x80 || (b[i + 2] & 0xC0) != 0x80) return false;
      out.push_back((Char)(((c & 0x0F) << 12) | ((b[i + 1] & 0x3F) << 6) | (b[i + 2] & 0x3F)));
      i += 3;
    } else {
      return false;
    }
  }
  return true;
}

namespace {

String from_utf16(const unsigned char* b, size_t n, bool big_endian) {
  size_t count = n / 2;
  if (count > (size_t)INT_MAX / 2) gc_out_of_memory();
  std::vector<Char> units(count);
  for (size_t i = 0; i < count; ++i) {
    unsigned hi = b[2 * i + (big_endian ? 0 : 1)];
    unsigned lo = b[2 * i + (big_endian ? 1 : 0)];
    units[i] = (Char)((hi << 8) | lo);
  }
  return String(units.data(), (int)count);
}

String from_utf8_or_bytes(const unsigned char* b, size_t n) {
  if (n > (size_t)INT_MAX / 2) gc_out_of_memory();
  std::vector<Char> units;
  if (rt_decode_utf8(b, n, units)) return String(units.data(), (int)units.size());
  units.assign(b, b + n);
  return String(units.data(), (int)units.size());
}

}  // namespace

String String::FromUtf8(const char* bytes, int n) {
  if (!bytes || n <= 0) return String();
  return from_utf8_or_bytes(reinterpret_cast<const unsigned char*>(bytes), (size_t)n);
}

String String::Load(FILE* file) {
  if (!file) return String();
  std::vector<unsigned char> data;
  unsigned char block[4096];
  for (;;) {
    size_t got = fread(block, 1, sizeof block, file);
    data.insert(data.end(), block, block + got);
    if (got < sizeof block) break;
  }
  const unsigned char* b = data.data();
  size_t n = data.size();
  if (n >= 2 && b[0] == 0xFE && b[1] == 0xFF) return from_utf16(b + 2, n - 2, true);
  if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE) return from_utf16(b + 2, n - 2, false);
  if (n > 2 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
    b += 3;
    n -= 3;
  }
  return from_utf8_or_bytes(b, n);
}

std::string String::ToUtf8() const {
  std::string out;
  rt_append_utf8(out, Data(), Length());
  return out;
}
