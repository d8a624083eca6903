// Small number helpers of the math module.
#include "app/mathfuncs.h"

int bb_math_Abs(int x) {
  // Negating through unsigned keeps the most negative value as it is
  // instead of overflowing.
  if (x >= 0) return x;
  return static_cast<int>(0u - static_cast<unsigned>(x));
}

float bb_math_Abs2(float x) { return x >= 0.0f ? x : -x; }

int bb_math_Max(int x, int y) { return x > y ? x : y; }

float bb_math_Max2(float x, float y) { return x > y ? x : y; }
