// Oscillators, envelopes and filters. The filters are the usual digital
// approximations, clamped so no cutoff can make them unstable.
#include "synth.h"

#include <cmath>

namespace assetgen {

float Oscillator(Wave wave, double phase) {
  double p = phase - std::floor(phase);
  switch (wave) {
    case Wave::Sine: return static_cast<float>(std::sin(6.283185307179586 * p));
    case Wave::Triangle: return static_cast<float>(p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p);
    case Wave::Square: return p < 0.5 ? 1.0f : -1.0f;
    default: return static_cast<float>(2.0 * p - 1.0);
  }
}

float NoteHz(float midi) { return 440.0f * std::pow(2.0f, (midi - 69.0f) / 12.0f); }

float Adsr::At(float t, float length) const {
  if (t < 0) return 0;
  float level;
  if (t < attack) level = t / attack;
  else if (t < attack + decay) level = 1.0f - (1.0f - sustain) * (t - attack) / decay;
  else level = sustain;
  if (t > length) {
    // Release from wherever the note had got to when it ended.
    float held = length < attack ? length / attack : length < attack + decay
                     ? 1.0f - (1.0f - sustain) * (length - attack) / decay : sustain;
    level = held * std::max(0.0f, 1.0f - (t - length) / release);
  }
  return level;
}

float LowPass::Run(float in, float cutoffHz) {
  float k = 1.0f - std::exp(-2.0f * kPi * Clamp(cutoffHz, 10.0f, 20000.0f) / kSampleRate);
  y_ += k * (in - y_);
  return y_;
}

void Resonant::Step(float in, float cutoffHz, float q) {
  float f = 2.0f * std::sin(kPi * Clamp(cutoffHz, 20.0f, 6000.0f) / kSampleRate);
  float damp = 1.0f / Clamp(q, 0.5f, 10.0f);
  low_ += f * band_;
  high_ = in - low_ - damp * band_;
  band_ += f * high_;
}

float Resonant::LowPass(float in, float cutoffHz, float q) { Step(in, cutoffHz, q); return low_; }
float Resonant::BandPass(float in, float cutoffHz, float q) { Step(in, cutoffHz, q); return band_; }
float Resonant::HighPass(float in, float cutoffHz, float q) { Step(in, cutoffHz, q); return high_; }

int Seconds(float s) { return static_cast<int>(s * kSampleRate); }

void MixInto(Samples& dst, const Samples& src, int offset, float gain) {
  if (dst.size() < src.size() + offset) dst.resize(src.size() + offset, 0.0f);
  for (size_t i = 0; i < src.size(); ++i) dst[i + offset] += src[i] * gain;
}

void Finish(Samples& s, float peak) {
  float loudest = 0;
  for (float v : s) loudest = std::max(loudest, std::fabs(v));
  if (loudest > 0) for (float& v : s) v *= peak / loudest;
  size_t fade = std::min<size_t>(s.size(), Seconds(0.004f));
  for (size_t i = 0; i < fade; ++i) s[s.size() - 1 - i] *= static_cast<float>(i) / fade;
}

// A tone gliding exponentially from f0 to f1 Hz.
Samples Tone(Wave wave, float f0, float f1, float dur, Adsr env, float gain) {
  Samples out(Seconds(dur + env.release));
  double phase = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    float t = static_cast<float>(i) / kSampleRate;
    float f = f0 * std::pow(f1 / f0, Clamp(t / dur, 0.0f, 1.0f));
    phase += f / kSampleRate;
    out[i] = Oscillator(wave, phase) * env.At(t, dur) * gain;
  }
  return out;
}

// A struck bell: inharmonic partials, each dying away at its own rate.
Samples Bell(float hz, float dur, float gain) {
  static const float kRatio[4] = {1.0f, 2.0f, 2.76f, 5.4f};
  static const float kLevel[4] = {1.0f, 0.45f, 0.3f, 0.12f};
  Samples out(Seconds(dur));
  for (size_t i = 0; i < out.size(); ++i) {
    float t = static_cast<float>(i) / kSampleRate, v = 0;
    for (int k = 0; k < 4; ++k)
      v += kLevel[k] * std::sin(2 * kPi * hz * kRatio[k] * t) * std::exp(-t * (4.0f + 3.0f * k) / dur);
    out[i] = v * gain * std::min(1.0f, t / 0.002f);
  }
  return out;
}

// Noise through a low-pass whose cutoff slides from c0 to c1, decaying.
Samples NoiseBurst(float dur, float c0, float c1, float decayRate, unsigned seed) {
  Samples out(Seconds(dur));
  Noise noise(seed);
  LowPass lp, lp2;
  for (size_t i = 0; i < out.size(); ++i) {
    float t = static_cast<float>(i) / kSampleRate;
    float cutoff = c0 * std::pow(c1 / c0, t / dur);
    out[i] = lp2.Run(lp.Run(noise.Next(), cutoff), cutoff) * std::exp(-t * decayRate) * std::min(1.0f, t / 0.001f);
  }
  return out;
}

}  // namespace assetgen
