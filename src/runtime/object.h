// Object: the root of every framework and game class.
#pragma once

#include "runtime/gc.h"
#include "runtime/string.h"

class Object : public gc_object {
 public:
  Object() = default;
  void mark() override;
  virtual bool Equals(Object* other);
  virtual int Compare(Object* other);
  virtual String debug();
};

// The base of everything the program throws.
class ThrowableObject : public Object {};
