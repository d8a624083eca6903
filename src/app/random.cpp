// Linear congruential generator behind bb_random_*.
#include "app/random.h"

int bb_random_Seed = 1234;

float bb_random_Rnd() {
  // Unsigned arithmetic gives the wrap-around modulo 2^32 without signed overflow.
  unsigned seed = static_cast<unsigned>(bb_random_Seed) * 1664525u + 1013904223u;
  bb_random_Seed = static_cast<int>(seed);
  return static_cast<float>((seed >> 8) & 0xFFFFFFu) / 16777216.0f;
}

float bb_random_Rnd2(float low, float high) { return bb_random_Rnd3(high - low) + low; }

float bb_random_Rnd3(float range) { return bb_random_Rnd() * range; }

void bb_random_Init() { bb_random_Seed = 1234; }
