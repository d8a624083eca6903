// The sound effects, by the game's sound number.
#pragma once

#include <vector>

#include "synth.h"

namespace assetgen {

// Every sound number the game loads.
const std::vector<int>& SoundNumbers();
// The mono samples of sound n at kSampleRate; empty for an unknown number.
Samples MakeSound(int n);

}  // namespace assetgen
