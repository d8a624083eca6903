// Array<T>: a fixed-length array whose representation is a collected object.
//
// Arrays are passed by value; copies share one representation. Every empty
// array of an element type shares one static representation that the
// collector never touches.
#pragma once

#include <climits>
#include <new>
#include <type_traits>

#include "runtime/gc.h"

template <class T>
class Array;

template <class T>
struct gc_is_array : std::false_type {};
template <class T>
struct gc_is_array<Array<T>> : std::true_type {};

template <class T>
class Array {
 public:
  struct Rep : gc_object {
    int length;

    // Numbers and pointers are already 0 in the collector's zero-filled
    // block; leaving them be keeps a large array's pages untouched.
    explicit Rep(int n) : length(n) {
      if constexpr (!std::is_arithmetic<T>::value && !std::is_pointer<T>::value) {
        T* e = elements();
        for (int i = 0; i < n; ++i) new (e + i) T();
      }
    }
    explicit Rep(gc_never_collected_t tag) : gc_object(tag), length(0) {}

    ~Rep() override {
      T* e = elements();
      for (int i = 0; i < length; ++i) e[i].~T();
    }

    // Elements are marked at once (depth first); their own mark queues the
    // rest, so the recursion stays shallow.
    void mark() override {
      if constexpr (std::is_pointer<T>::value) {
        T* e = elements();
        for (int i = 0; i < length; ++i)
          if (e[i]) gc_mark(e[i]);
      } else if constexpr (gc_is_array<T>::value) {
        T* e = elements();
        for (int i = 0; i < length; ++i) gc_mark(e[i]);
      }
    }

    T* elements() { return reinterpret_cast<T*>(reinterpret_cast<char*>(this) + sizeof(Rep)); }

    static Rep* Create(int n) {
      if (n <= 0) return &nullRep;
      static_assert(sizeof(Rep) % alignof(T) == 0, "elements must follow the header aligned");
      long long size = (long long)sizeof(Rep) + (long long)n * (long long)sizeof(T);
      if (size > INT_MAX - 8) gc_out_of_memory();
      void* block = gc_object_alloc((int)size);
      return new (block) Rep(n);
    }
  };

  static Rep nullRep;

  Rep* rep;

  Array() : rep(&nullRep) {}
  explicit Array(int length) : rep(Rep::Create(length)) {}
  Array(const T* src, int length) : rep(Rep::Create(length)) {
    T* e = rep->elements();
    for (int i = 0; i < rep->length; ++i) e[i] = src[i];
  }

  int Length() const { return rep->length; }

  T& operator[](int i) const {
    if ((unsigned)i >= (unsigned)rep->length) gc_array_range_error();
    return rep->elements()[i];
  }

  T* Data() const { return rep->elements(); }
  T* begin() const { return rep->elements(); }
  T* end() const { return rep->elements() + rep->length; }

  // A new array of n elements holding the first min(Length(), n) of this one.
  Array<T> Resize(int n) const {
    Array<T> out(n);
    int keep = n < rep->length ? n : rep->length;
    T* src = rep->elements();
    T* dst = out.rep->elements();
    for (int i = 0; i < keep; ++i) dst[i] = src[i];
    return out;
  }

  bool operator==(const Array<T>& o) const { return rep == o.rep; }
  bool operator!=(const Array<T>& o) const { return rep != o.rep; }
};

template <class T>
typename Array<T>::Rep Array<T>::nullRep{gc_never_collected};

template <class T>
inline void gc_mark(const Array<T>& a) {
  gc_mark(static_cast<gc_object*>(a.rep));
}

template <class T>
inline void gc_enqueue(const Array<T>& a) {
  gc_enqueue(static_cast<gc_object*>(a.rep));
}

template <class T>
inline Array<T>& gc_assign(Array<T>& field, const Array<T>& value) {
  gc_enqueue(value);
  field = value;
  return field;
}
