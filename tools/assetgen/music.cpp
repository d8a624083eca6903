// The instruments and the song renderer.
#include "music.h"

#include <cmath>

namespace assetgen {

namespace {

Samples LeadVoice(float hz, float len, float vel) {
  Adsr env{0.01f, 0.15f, 0.75f, 0.12f};
  Samples out(Seconds(len + env.release));
  double p1 = 0, p2 = 0, p3 = 0;
  LowPass lp, lp2;
  for (size_t i = 0; i < out.size(); ++i) {
    float t = static_cast<float>(i) / kSampleRate;
    float vibrato = t > 0.12f ? 0.004f * std::sin(2 * kPi * 5.5f * t) : 0.0f;
    float f = hz * (1.0f + vibrato);
    p1 += f * 1.0035 / kSampleRate; p2 += f * 0.9965 / kSampleRate; p3 += f * 0.5 / kSampleRate;
    float e = env.At(t, len);
    float raw = 0.5f * Oscillator(Wave::Saw, p1) + 0.5f * Oscillator(Wave::Saw, p2) + 0.3f * Oscillator(Wave::Square, p3);
    float cutoff = 900.0f + 2600.0f * e;
    out[i] = lp2.Run(lp.Run(raw, cutoff), cutoff) * e * vel;
  }
  return out;
}

// Karplus-Strong string: a burst of noise circulating in a damped delay line.
Samples PluckVoice(float hz, float len, float vel, unsigned seed) {
  Samples out(Seconds(len + 0.35f));
  int period = std::max(2, static_cast<int>(std::lround(kSampleRate / hz)));
  std::vector<float> line(period);
  Noise noise(seed);
  LowPass soften;
  for (float& v : line) v = soften.Run(noise.Next(), 5000);
  for (size_t i = 0; i < out.size(); ++i) {
    size_t k = i % period;
    float next = line[(k + 1) % period];
    float t = static_cast<float>(i) / kSampleRate;
    float damp = t > len ? 0.985f : 0.9985f;  // let go of the string at the note's end
    line[k] = 0.5f * (line[k] + next) * damp;
    out[i] = line[k] * vel * std::min(1.0f, t / 0.002f);
  }
  return out;
}

Samples BassVoice(float hz, float len, float vel) {
  Adsr env{0.003f, 0.1f, 0.8f, 0.05f};
  Samples out(Seconds(len + env.release));
  double p = 0;
  Resonant filter;
  for (size_t i = 0; i < out.size(); ++i) {
    float t = static_cast<float>(i) / kSampleRate;
    p += hz / kSampleRate;
    float raw = 0.6f * Oscillator(Wave::Saw, p) + 0.6f * Oscillator(Wave::Sine, p * 0.5);
    float cutoff = 280.0f + 1300.0f * std::exp(-t * 12.0f);
    out[i] = filter.LowPass(raw, cutoff, 1.6f) * env.At(t, len) * vel;
  }
  return out;
}

Samples PadVoice(float hz, float len, float vel) {
  Adsr env{0.25f, 0.3f, 0.8f, 0.5f};
  Samples out(Seconds(len + env.release));
  double p[3] = {0, 0, 0};
  const double detune[3] = {1.0, 1.006, 0.994};
  LowPass lp;
  for (size_t i = 0; i < out.size(); ++i) {
    float t = static_cast<float>(i) / kSampleRate, raw = 0;
    for (int k = 0; k < 3; ++k) {
      p[k] += hz * detune[k] / kSampleRate;
      raw += Oscillator(Wave::Saw, p[k]) / 3.0f;
    }
    out[i] = lp.Run(raw, 1400) * env.At(t, len) * vel;
  }
  return out;
}

Samples KickVoice(float vel) {
  Samples out = Tone(Wave::Sine, 160, 45, 0.12f, {0.002f, 0.3f, 0.0f, 0.05f}, vel);
  MixInto(out, NoiseBurst(0.01f, 4000, 1000, 200, 1), 0, 0.3f * vel);
  return out;
}

Samples SnareVoice(float vel, unsigned seed) {
  Samples out(Seconds(0.2f));
  Noise noise(seed);
  Resonant hp;
  for (size_t i = 0; i < out.size(); ++i) {
    float t = static_cast<float>(i) / kSampleRate;
    float body = std::sin(2 * kPi * 185 * t) * std::exp(-t * 30.0f);
    out[i] = (0.6f * hp.HighPass(noise.Next(), 1500, 0.7f) * std::exp(-t * 18.0f) + 0.5f * body) * vel *
             std::min(1.0f, t / 0.001f);
  }
  return out;
}

Samples HatVoice(float vel, float decay, unsigned seed) {
  Samples out(Seconds(decay * 5));
  Noise noise(seed);
  Resonant hp;
  for (size_t i = 0; i < out.size(); ++i) {
    float t = static_cast<float>(i) / kSampleRate;
    out[i] = hp.HighPass(noise.Next(), 5500, 0.8f) * std::exp(-t / decay) * vel * std::min(1.0f, t / 0.0005f);
  }
  return out;
}

void Pan(float pan, float& left, float& right) {
  float a = (pan + 1.0f) * 0.25f * kPi;  // constant power
  left = std::cos(a);
  right = std::sin(a);
}

// Adds mono samples at a frame offset; past the end they wrap to the start
// of a loop and are dropped from a piece that ends.
void MixVoice(Samples& stereo, const Samples& mono, size_t frame, float left, float right, bool wrap) {
  size_t frames = stereo.size() / 2;
  for (size_t i = 0; i < mono.size(); ++i) {
    if (!wrap && frame + i >= frames) break;
    size_t at = (frame + i) % frames;
    stereo[2 * at] += mono[i] * left;
    stereo[2 * at + 1] += mono[i] * right;
  }
}

// An ending: the gain falls along a half cosine to silence at the last frame.
void FadeOut(Samples& stereo, size_t fadeFrames) {
  size_t frames = stereo.size() / 2;
  fadeFrames = std::min(fadeFrames, frames);
  for (size_t i = 0; i < fadeFrames; ++i) {
    size_t at = frames - fadeFrames + i;
    float gain = 0.5f + 0.5f * std::cos(kPi * static_cast<float>(i + 1) / static_cast<float>(fadeFrames));
    stereo[2 * at] *= gain;
    stereo[2 * at + 1] *= gain;
  }
}

// Loudest peak to 1, then a gentle soft clip; pointwise, so the loop stays seamless.
void Master(Samples& stereo) {
  float peak = 0;
  for (float v : stereo) peak = std::max(peak, std::fabs(v));
  if (peak <= 0) return;
  const float drive = 1.3f, norm = 0.92f / std::tanh(drive);
  for (float& v : stereo) v = std::tanh(drive * v / peak) * norm;
}

}  // namespace

Samples RenderVoice(Instrument instrument, float midi, float seconds, float velocity, unsigned seed) {
  float hz = NoteHz(midi);
  switch (instrument) {
    case Instrument::Lead: return LeadVoice(hz, seconds, velocity);
    case Instrument::Pluck: return PluckVoice(hz, seconds, velocity, seed);
    case Instrument::Bass: return BassVoice(hz, seconds, velocity);
    case Instrument::Pad: return PadVoice(hz, seconds, velocity);
    case Instrument::Bell: return Bell(hz, std::max(0.6f, seconds * 1.5f), velocity);
    case Instrument::Kick: return KickVoice(velocity);
    case Instrument::Snare: return SnareVoice(velocity, seed);
    case Instrument::Hat: return HatVoice(velocity, 0.025f, seed);
    default: return HatVoice(velocity, 0.12f, seed);
  }
}

Samples RenderSong(const Song& song) {
  size_t frames = static_cast<size_t>(song.Frames());
  int spb = song.SamplesPerBeat();
  float secondsPerBeat = static_cast<float>(spb) / kSampleRate;
  Samples stereo(frames * 2, 0.0f);
  bool loops = song.fadeBeats == 0;
  unsigned seed = 1;
  for (const Track& track : song.tracks) {
    float left, right, echoL, echoR;
    Pan(track.pan, left, right);
    Pan(-track.pan, echoL, echoR);
    for (const Note& note : track.notes) {
      Samples voice = RenderVoice(track.instrument, note.midi, static_cast<float>(note.beats) * secondsPerBeat,
                                  note.velocity * track.gain, seed++);
      size_t start = static_cast<size_t>(std::llround(note.beat * spb)) % frames;
      MixVoice(stereo, voice, start, left, right, loops);
      if (track.echo > 0)
        MixVoice(stereo, voice, start + static_cast<size_t>(spb * 3 / 4), echoL * track.echo, echoR * track.echo,
                 loops);
    }
  }
  if (!loops) FadeOut(stereo, static_cast<size_t>(song.fadeBeats) * spb);
  Master(stereo);
  return stereo;
}

std::vector<Song> AllTunes() { return {TuneFish(), TuneCalligraphyB(), TuneCalligraphyC()}; }

}  // namespace assetgen
