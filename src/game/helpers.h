// The game's small numeric helpers, defined once: angle conversion, the
// float-to-int conversion every part of the game uses, and clamping.
#pragma once

const float LK_DEG_TO_RAD = 0.0174532924f;
const float LK_RAD_TO_DEG = 57.29578f;

// Float to int toward zero, as everywhere in the game, but held inside the
// int range (NaN reads 0) so hostile saved values cannot cause undefined
// conversions.
inline int lk_trunc(float v) {
  if (!(v == v)) return 0;
  if (v >= 2147483520.0f) return 2147483647;
  if (v <= -2147483648.0f) return -2147483647 - 1;
  return int(v);
}

// v held within lo..hi. Unlike std::clamp it is defined when hi is below lo
// (a screen narrower than a margin): values from lo up then read hi.
template <typename T>
inline T lk_clamp(T v, T lo, T hi) {
  return v < lo ? lo : (v > hi ? hi : v);
}
