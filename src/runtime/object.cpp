// Object: identity, ordering and the debugger's description.
#include "runtime/object.h"

#include <cstdint>

void Object::mark() {}

bool Object::Equals(Object* other) { return this == other; }

// Ordered by address. The sign of the comparison, not the truncated address
// difference, so the order stays consistent on 64-bit machines.
int Object::Compare(Object* other) {
  if (this == other) return 0;
  return reinterpret_cast<uintptr_t>(this) < reinterpret_cast<uintptr_t>(other) ? -1 : 1;
}

String Object::debug() { return "+Object\n"; }
