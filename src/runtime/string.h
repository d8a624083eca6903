// String: immutable text of 16-bit code units with a shared, reference-counted
// representation. Strings live outside the collector.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/array.h"

typedef unsigned short Char;

class String {
 public:
  // refs and length, then length code units (not terminated).
  struct Rep {
    int refs;
    int length;
    Char* data() { return reinterpret_cast<Char*>(this + 1); }
  };

  // The one empty representation; never freed.
  static Rep nullRep;

  // A narrow (char) or 16-bit (Char) zero-terminated copy for C interfaces.
  // Copies share one block; each unit keeps its low bits.
  template <class C>
  class CString {
   public:
    explicit CString(const String& s);
    CString(const CString& o) : block_(o.block_) { ++block_->refs; }
    CString& operator=(const CString& o) {
      ++o.block_->refs;
      release();
      block_ = o.block_;
      return *this;
    }
    ~CString() { release(); }
    operator const C*() const { return data(); }
    const C* data() const { return reinterpret_cast<const C*>(block_ + 1); }

   private:
    struct Block {
      int refs;
      int pad;
    };
    // GCC 12 cannot follow the count across two inlined destructors of
    // copies sharing one block and reports a use after free that never
    // happens; the count is what keeps the block alive.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuse-after-free"
    void release() {
      if (--block_->refs == 0) free(block_);
    }
#pragma GCC diagnostic pop
    Block* block_;
  };

  String() : rep_(&nullRep) {}
  String(const String& s) : rep_(s.rep_) { retain(rep_); }
  String(String&& s) noexcept : rep_(s.rep_) { s.rep_ = &nullRep; }
  ~String() { release(rep_); }
  String& operator=(const String& s);
  String& operator=(String&& s) noexcept;

  String(const char* text);             // each byte signed-widened
  String(const Char* units, int n);     // copies n units
  String(const wchar_t* units, int n);  // copies n units, each truncated to 16 bits
  String(Char ch, int n);               // n copies of ch
  String(int value);                    // "%i"
  String(float value);                  // "%.17lg", ".0" added to whole numbers
  // Reals are 32-bit in this program: a double is written as the float it
  // narrows to, so String(0.5) and String(0.5f) agree.
  String(double value) : String((float)value) {}

  static String FromChar(int ch);
  static String FromChars(const Array<int>& chars);
  // UTF-8 bytes; invalid input falls back to one unit per byte.
  static String FromUtf8(const char* bytes, int n);
  // Reads a whole open file: UTF-16 with either byte-order mark, else UTF-8
  // (mark optional), else one unit per byte.
  static String Load(FILE* file);

  int Length() const { return rep_->length; }
  // Out-of-range positions read as 0 rather than outside the text.
  Char operator[](int i) const { return (unsigned)i < (unsigned)rep_->length ? rep_->data()[i] : 0; }
  const Char* Data() const { return rep_->data(); }

  int Compare(const String& o) const;
  bool Equals(const String& o) const;
  // Free functions, so that "text" == s converts its left side too.
  friend bool operator==(const String& a, const String& b) { return a.Equals(b); }
  friend bool operator!=(const String& a, const String& b) { return !a.Equals(b); }
  friend bool operator<(const String& a, const String& b) { return a.Compare(b) < 0; }
  friend bool operator<=(const String& a, const String& b) { return a.Compare(b) <= 0; }
  friend bool operator>(const String& a, const String& b) { return a.Compare(b) > 0; }
  friend bool operator>=(const String& a, const String& b) { return a.Compare(b) >= 0; }
  String& operator+=(const String& o);
  friend String operator+(const String& a, const String& b);

  String Slice(int from) const { return Slice(from, rep_->length); }
  String Slice(int from, int to) const;
  Array<String> Split(const String& sep) const;
  String Join(const Array<String>& pieces) const;
  String Replace(const String& find, const String& repl) const;

  int Find(const String& s, int start = 0) const;
  int FindLast(const String& s) const;
  int FindLast(const String& s, int start) const;
  bool Contains(const String& s) const { return Find(s) != -1; }
  bool StartsWith(const String& s) const;
  bool EndsWith(const String& s) const;

  String Trim() const;
  String ToUpper() const;
  String ToLower() const;
  int ToInt() const;
  float ToFloat() const;

  template <class C>
  CString<C> ToCString() const {
    return CString<C>(*this);
  }
  std::string ToUtf8() const;

  // True when both share one representation (copies are never made
  // where sharing will do).
  bool SharesWith(const String& o) const { return rep_ == o.rep_; }

 private:
  explicit String(Rep* rep) : rep_(rep) {}
  static Rep* Alloc(int length);
  static void retain(Rep* r) {
    if (r != &nullRep) ++r->refs;
  }
  static void release(Rep* r) {
    if (r != &nullRep && --r->refs == 0) free(r);
  }
  Rep* rep_;
};

template <class C>
String::CString<C>::CString(const String& s) {
  int n = s.Length();
  block_ = static_cast<Block*>(malloc(sizeof(Block) + ((size_t)n + 1) * sizeof(C)));
  if (!block_) gc_out_of_memory();
  block_->refs = 1;
  C* out = reinterpret_cast<C*>(block_ + 1);
  const Char* in = s.Data();
  for (int i = 0; i < n; ++i) out[i] = (C)in[i];
  out[n] = 0;
}

// Strings are not collected; the barrier is a plain store for them.
inline String& gc_assign(String& field, const String& value) {
  field = value;
  return field;
}

// Array element helpers for classes that keep raw string storage.
String* t_create(int n, String* p);
String* t_create(int n, String* p, const String* src);
String* t_destroy(int n, String* p);
