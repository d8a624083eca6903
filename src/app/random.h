// Shared pseudo-random generator: a 32-bit linear congruential sequence
// that the whole game draws from, so a given seed replays the same round.
#pragma once

extern int bb_random_Seed;

float bb_random_Rnd();
float bb_random_Rnd2(float low, float high);
float bb_random_Rnd3(float range);

// Puts the seed back to its start-up value.
void bb_random_Init();
