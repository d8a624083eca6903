// String construction, comparison and the operations that build new text.
#include "runtime/string.h"

#include <clocale>
#include <climits>
#include <cstring>
#include <cwctype>

String::Rep String::nullRep = {1, 0};

namespace {

// Every result is sized first; a size that cannot be represented is treated
// like running out of memory rather than wrapping.
int checked_length(long long n) {
  if (n > INT_MAX / 2 - 8) gc_out_of_memory();
  return (int)n;
}

// Number formatting follows the C locale whatever the host selected: a
// decimal comma would break every number the game writes and reads back.
void to_c_decimal_point(char* text) {
  const char* dp = localeconv()->decimal_point;
  if (!dp || (dp[0] == '.' && dp[1] == 0) || !dp[0] || dp[1]) return;
  for (char* p = text; *p; ++p)
    if (*p == dp[0]) *p = '.';
}

void from_c_decimal_point(char* text) {
  const char* dp = localeconv()->decimal_point;
  if (!dp || !dp[0] || dp[1] || dp[0] == '.') return;
  for (char* p = text; *p; ++p)
    if (*p == '.') *p = dp[0];
}

bool units_equal(const Char* a, const Char* b, int n) { return n == 0 || memcmp(a, b, (size_t)n * sizeof(Char)) == 0; }

}  // namespace

String::Rep* String::Alloc(int length) {
  if (length <= 0) return &nullRep;
  Rep* r = static_cast<Rep*>(malloc(sizeof(Rep) + (size_t)length * sizeof(Char)));
  if (!r) gc_out_of_memory();
  r->refs = 1;
  r->length = length;
  return r;
}

String& String::operator=(const String& s) {
  retain(s.rep_);
  release(rep_);
  rep_ = s.rep_;
  return *this;
}

String& String::operator=(String&& s) noexcept {
  if (this != &s) {
    release(rep_);
    rep_ = s.rep_;
    s.rep_ = &nullRep;
  }
  return *this;
}

String::String(const char* text) {
  size_t n = text ? strlen(text) : 0;
  rep_ = Alloc(checked_length((long long)n));
  Char* d = rep_->data();
  for (size_t i = 0; i < n; ++i) d[i] = (Char)(short)(signed char)text[i];
}

String::String(const Char* units, int n) : rep_(Alloc(n)) {
  if (n > 0) memcpy(rep_->data(), units, (size_t)n * sizeof(Char));
}

String::String(const wchar_t* units, int n) : rep_(Alloc(n)) {
  Char* d = rep_->data();
  for (int i = 0; i < n; ++i) d[i] = (Char)units[i];
}

String::String(Char ch, int n) : rep_(Alloc(n)) {
  Char* d = rep_->data();
  for (int i = 0; i < n; ++i) d[i] = ch;
}

String::String(int value) : rep_(&nullRep) {
  char buf[16];
  snprintf(buf, sizeof buf, "%i", value);
  *this = String(buf);
}

String::String(float value) : rep_(&nullRep) {
  char buf[64];
  snprintf(buf, sizeof buf, "%.17lg", (double)value);
  to_c_decimal_point(buf);
  if (!strchr(buf, '.') && !strchr(buf, 'e')) strcat(buf, ".0");
  *this = String(buf);
}

String String::FromChar(int ch) { return String((Char)ch, 1); }

String String::FromChars(const Array<int>& chars) {
  String out(Alloc(chars.Length()));
  Char* d = out.rep_->data();
  const int* src = chars.Data();
  for (int i = 0; i < chars.Length(); ++i) d[i] = (Char)src[i];
  return out;
}

int String::Compare(const String& o) const {
  int n = Length() < o.Length() ? Length() : o.Length();
  const Char* a = Data();
  const Char* b = o.Data();
  for (int i = 0; i < n; ++i)
    if (a[i] != b[i]) return (int)a[i] - (int)b[i];
  return Length() - o.Length();
}

bool String::Equals(const String& o) const {
  return rep_ == o.rep_ || (Length() == o.Length() && units_equal(Data(), o.Data(), Length()));
}

String operator+(const String& a, const String& b) {
  if (a.Length() == 0) return b;
  if (b.Length() == 0) return a;
  String out(String::Alloc(checked_length((long long)a.Length() + b.Length())));
  memcpy(out.rep_->data(), a.Data(), (size_t)a.Length() * sizeof(Char));
  memcpy(out.rep_->data() + a.Length(), b.Data(), (size_t)b.Length() * sizeof(Char));
  return out;
}

String& String::operator+=(const String& o) { return *this = *this + o; }

String String::Slice(int from, int to) const {
  int len = Length();
  if (from < 0) {
    from += len;
    if (from < 0) from = 0;
  } else if (from > len) {
    from = len;
  }
  if (to < 0) {
    to += len;
  } else if (to > len) {
    to = len;
  }
  if (from >= to) return String();
  if (from == 0 && to == len) return *this;
  return String(Data() + from, to - from);
}

int String::Find(const String& s, int start) const {
  if (start < 0) start = 0;
  int last = Length() - s.Length();
  for (int i = start; i <= last; ++i)
    if (units_equal(Data() + i, s.Data(), s.Length())) return i;
  return -1;
}

int String::FindLast(const String& s) const { return FindLast(s, Length()); }

int String::FindLast(const String& s, int start) const {
  int i = Length() - s.Length();
  if (start < i) i = start;
  for (; i >= 0; --i)
    if (units_equal(Data() + i, s.Data(), s.Length())) return i;
  return -1;
}

bool String::StartsWith(const String& s) const {
  return Length() >= s.Length() && units_equal(Data(), s.Data(), s.Length());
}

bool String::EndsWith(const String& s) const {
  return Length() >= s.Length() && units_equal(Data() + Length() - s.Length(), s.Data(), s.Length());
}

Array<String> String::Split(const String& sep) const {
  if (sep.Length() == 0) {
    Array<String> out(Length());
    for (int i = 0; i < Length(); ++i) out[i] = String(Data() + i, 1);
    return out;
  }
  int count = 1;
  for (int i = Find(sep); i != -1; i = Find(sep, i + sep.Length())) ++count;
  Array<String> out(count);
  if (count == 1) {
    out[0] = *this;
    return out;
  }
  int from = 0;
  for (int k = 0; k < count - 1; ++k) {
    int at = Find(sep, from);
    out[k] = Slice(from, at);
    from = at + sep.Length();
  }
  out[count - 1] = Slice(from);
  return out;
}

String String::Join(const Array<String>& pieces) const {
  int n = pieces.Length();
  if (n == 0) return String();
  if (n == 1) return pieces[0];
  long long total = (long long)Length() * (n - 1);
  for (const String& p : pieces) total += p.Length();
  String out(Alloc(checked_length(total)));
  Char* d = out.rep_->data();
  for (int i = 0; i < n; ++i) {
    if (i > 0) {
      memcpy(d, Data(), (size_t)Length() * sizeof(Char));
      d += Length();
    }
    memcpy(d, pieces[i].Data(), (size_t)pieces[i].Length() * sizeof(Char));
    d += pieces[i].Length();
  }
  return out;
}

// An empty search string matches nowhere: the source comes back unchanged
// instead of the search standing still forever.
String String::Replace(const String& find, const String& repl) const {
  if (find.Length() == 0) return *this;
  int count = 0;
  for (int i = Find(find); i != -1; i = Find(find, i + find.Length())) ++count;
  if (count == 0) return *this;
  long long total = (long long)Length() + (long long)count * (repl.Length() - find.Length());
  String out(Alloc(checked_length(total)));
  Char* d = out.rep_->data();
  int from = 0;
  for (int at = Find(find); at != -1; at = Find(find, from)) {
    memcpy(d, Data() + from, (size_t)(at - from) * sizeof(Char));
    d += at - from;
    memcpy(d, repl.Data(), (size_t)repl.Length() * sizeof(Char));
    d += repl.Length();
    from = at + find.Length();
  }
  memcpy(d, Data() + from, (size_t)(Length() - from) * sizeof(Char));
  return out;
}

String String::Trim() const {
  int from = 0;
  int to = Length();
  while (from < to && Data()[from] <= ' ') ++from;
  while (to > from && Data()[to - 1] <= ' ') --to;
  return Slice(from, to);
}

String String::ToUpper() const {
  String out(Alloc(Length()));
  for (int i = 0; i < Length(); ++i) out.rep_->data()[i] = (Char)towupper(Data()[i]);
  return out == *this ? *this : out;
}

String String::ToLower() const {
  String out(Alloc(Length()));
  for (int i = 0; i < Length(); ++i) out.rep_->data()[i] = (Char)towlower(Data()[i]);
  return out == *this ? *this : out;
}

// Only the first 63 units count, each narrowed to a byte, as C's atoi reads
// them. Values beyond the int range saturate instead of wrapping.
int String::ToInt() const {
  char buf[64];
  int n = Length() < 63 ? Length() : 63;
  for (int i = 0; i < n; ++i) buf[i] = (char)Data()[i];
  buf[n] = 0;
  long long v = strtoll(buf, nullptr, 10);
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return (int)v;
}

float String::ToFloat() const {
  char buf[64];
  int n = Length() < 63 ? Length() : 63;
  for (int i = 0; i < n; ++i) buf[i] = (char)Data()[i];
  buf[n] = 0;
  from_c_decimal_point(buf);
  return (float)strtod(buf, nullptr);
}

String* t_create(int n, String* p) {
  for (int i = 0; i < n; ++i) new (p + i) String();
  return p + n;
}

String* t_create(int n, String* p, const String* src) {
  for (int i = 0; i < n; ++i) new (p + i) String(src[i]);
  return p + n;
}

String* t_destroy(int n, String* p) {
  for (int i = 0; i < n; ++i) p[i].~String();
  return p + n;
}
