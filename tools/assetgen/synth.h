// Sound building blocks for effects and tunes: oscillators, envelopes,
// filters and noise, all deterministic so the same bytes come out each run.
#pragma once

#include <vector>

#include "geometry.h"

namespace assetgen {

constexpr int kSampleRate = 44100;

using Samples = std::vector<float>;

enum class Wave { Sine, Triangle, Square, Saw };

// One cycle of a wave at phase 0..1 (any real phase is wrapped).
float Oscillator(Wave wave, double phase);
// Note number to frequency; 69 is A 440.
float NoteHz(float midi);

// Attack, decay to sustain, hold until `length`, then release; seconds.
struct Adsr {
  float attack = 0.005f, decay = 0.1f, sustain = 0.7f, release = 0.1f;
  float At(float t, float length) const;
};

// One-pole low-pass filter; the cutoff may change every sample.
class LowPass {
 public:
  float Run(float in, float cutoffHz);

 private:
  float y_ = 0;
};

// Two-pole state-variable filter with resonance (q 0.5 .. 10).
class Resonant {
 public:
  float LowPass(float in, float cutoffHz, float q);
  float BandPass(float in, float cutoffHz, float q);
  float HighPass(float in, float cutoffHz, float q);

 private:
  void Step(float in, float cutoffHz, float q);
  float low_ = 0, band_ = 0, high_ = 0;
};

// White noise in -1..1.
class Noise {
 public:
  explicit Noise(unsigned seed) : rng_(seed) {}
  float Next() { return rng_.Unit() * 2.0f - 1.0f; }

 private:
  Rng rng_;
};

int Seconds(float s);
// Adds src into dst at an offset, growing dst when needed.
void MixInto(Samples& dst, const Samples& src, int offset, float gain = 1.0f);
// Scales so the loudest sample reaches `peak`, then fades the last few
// milliseconds so an effect never ends on a step.
void Finish(Samples& s, float peak);

// A tone gliding exponentially from f0 to f1 Hz over dur seconds.
Samples Tone(Wave wave, float f0, float f1, float dur, Adsr env, float gain = 1.0f);
// A struck bell: inharmonic partials, each dying away at its own rate.
Samples Bell(float hz, float dur, float gain = 1.0f);
// Noise through a low-pass whose cutoff slides from c0 to c1, decaying.
Samples NoiseBurst(float dur, float c0, float c1, float decayRate, unsigned seed);

}  // namespace assetgen
