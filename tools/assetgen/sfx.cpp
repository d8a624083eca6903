// Effects: rock hits (1-3), gem dealt to each player (4-7), a ship destroyed
// (8), a gem banked or power-up taken (9), the score call-outs that climb a
// scale with the battle score (11-20), a whoosh (95), the start jingle (96),
// confirm (98) and the menu tick (99).
#include "sfx.h"

#include <cmath>

namespace assetgen {

namespace {

Samples RockHit(int variant) {
  float pitch = 150.0f - 30.0f * variant;
  Samples out = Tone(Wave::Sine, pitch, pitch * 0.4f, 0.16f, {0.002f, 0.12f, 0.0f, 0.05f}, 0.9f);
  MixInto(out, NoiseBurst(0.22f, 4200.0f - 1100.0f * variant, 300.0f, 18.0f, 11 + variant), 0, 2.2f);
  // A few grains of grit make it crunch rather than thud.
  Noise grit(40 + variant);
  for (int g = 0; g < 3 + variant * 2; ++g)
    MixInto(out, NoiseBurst(0.02f, 2500, 900, 150, 90 + g + variant * 10), Seconds(0.01f + 0.03f * std::fabs(grit.Next())), 0.8f);
  Finish(out, 0.9f);
  return out;
}

Samples GemDealt(int player) {
  static const float kRoot[4] = {76, 79, 83, 86};  // each player rings its own notes
  float root = kRoot[player - 1];
  Samples out = Bell(NoteHz(root), 0.5f, 0.8f);
  MixInto(out, Bell(NoteHz(root + 5), 0.6f, 0.7f), Seconds(0.07f));
  MixInto(out, Tone(Wave::Sine, NoteHz(root + 24), NoteHz(root + 24), 0.04f, {0.001f, 0.03f, 0.0f, 0.02f}, 0.25f), Seconds(0.12f));
  Finish(out, 0.8f);
  return out;
}

Samples Destroyed() {
  Samples out = NoiseBurst(1.3f, 5000, 120, 3.2f, 8);
  MixInto(out, Tone(Wave::Sine, 90, 32, 0.6f, {0.003f, 0.5f, 0.0f, 0.1f}, 0.35f), 0);
  Samples sweep = Tone(Wave::Square, 620, 70, 0.5f, {0.002f, 0.45f, 0.0f, 0.05f}, 0.18f);
  LowPass lp;
  for (float& v : sweep) v = lp.Run(v, 1800);
  MixInto(out, sweep, 0);
  // Crackle: scattered pops as the debris flies.
  Noise pops(81);
  for (int k = 0; k < 14; ++k) {
    float when = 0.05f + 0.9f * (pops.Next() * 0.5f + 0.5f);
    MixInto(out, NoiseBurst(0.03f, 3000, 800, 90, 200 + k), Seconds(when), 0.3f * (1.0f - when));
  }
  Finish(out, 0.95f);
  return out;
}

Samples Banked() {
  Samples out;
  const float notes[4] = {72, 76, 79, 84};
  for (int k = 0; k < 4; ++k) {
    float len = k == 3 ? 0.16f : 0.045f;
    MixInto(out, Tone(Wave::Triangle, NoteHz(notes[k]), NoteHz(notes[k]), len, {0.002f, 0.05f, 0.6f, 0.06f}, 0.7f), Seconds(0.045f * k));
    MixInto(out, Tone(Wave::Square, NoteHz(notes[k] + 12), NoteHz(notes[k] + 12), len, {0.002f, 0.04f, 0.3f, 0.05f}, 0.12f), Seconds(0.045f * k));
  }
  MixInto(out, Bell(NoteHz(96), 0.35f, 0.25f), Seconds(0.135f));
  Finish(out, 0.8f);
  return out;
}

// Score call-out for a battle score of 1 to 10: the pitch climbs a major
// scale with the score, and ten gets a fanfare.
Samples ScoreCall(int score) {
  static const int kScale[10] = {0, 2, 4, 5, 7, 9, 11, 12, 14, 16};
  float root = 67.0f + kScale[score - 1];
  Samples out;
  if (score < 10) {
    for (int k = 0; k < 3; ++k) {
      float note = root + (k == 0 ? 0 : k == 1 ? 4 : 7);
      MixInto(out, Bell(NoteHz(note), 0.5f + 0.03f * score, 0.6f), Seconds(0.06f * k));
      MixInto(out, Tone(Wave::Square, NoteHz(note), NoteHz(note), 0.05f, {0.002f, 0.04f, 0.2f, 0.03f}, 0.12f), Seconds(0.06f * k));
    }
    Finish(out, 0.85f);
    return out;
  }
  const float run[6] = {72, 76, 79, 84, 88, 91};
  for (int k = 0; k < 6; ++k)
    MixInto(out, Tone(Wave::Square, NoteHz(run[k]), NoteHz(run[k]), 0.07f, {0.003f, 0.05f, 0.5f, 0.04f}, 0.25f), Seconds(0.07f * k));
  for (float note : {84.0f, 88.0f, 91.0f, 96.0f}) {
    MixInto(out, Bell(NoteHz(note), 1.2f, 0.4f), Seconds(0.42f));
    MixInto(out, Tone(Wave::Triangle, NoteHz(note), NoteHz(note), 0.7f, {0.01f, 0.2f, 0.6f, 0.3f}, 0.3f), Seconds(0.42f));
  }
  Finish(out, 0.9f);
  return out;
}

Samples Whoosh() {
  Samples out(Seconds(0.55f));
  Noise noise(95);
  Resonant bp;
  for (size_t i = 0; i < out.size(); ++i) {
    float t = static_cast<float>(i) / out.size();
    float cutoff = 300.0f * std::pow(10.0f, std::sin(kPi * t));
    out[i] = bp.BandPass(noise.Next(), cutoff, 2.5f) * std::sin(kPi * t);
  }
  Finish(out, 0.7f);
  return out;
}

Samples Jingle() {
  Samples out;
  const float melody[5] = {72, 76, 79, 83, 84};
  for (int k = 0; k < 5; ++k) {
    float len = k == 4 ? 0.9f : 0.12f;
    Samples lead = Tone(Wave::Square, NoteHz(melody[k]), NoteHz(melody[k]), len, {0.004f, 0.1f, 0.5f, 0.2f}, 0.25f);
    LowPass lp;
    for (float& v : lead) v = lp.Run(v, 2600);
    MixInto(out, lead, Seconds(0.13f * k));
    MixInto(out, Bell(NoteHz(melody[k] + 12), 0.6f, 0.3f), Seconds(0.13f * k));
  }
  for (float note : {48.0f, 60.0f, 64.0f, 67.0f})
    MixInto(out, Tone(Wave::Triangle, NoteHz(note), NoteHz(note), 0.8f, {0.02f, 0.3f, 0.6f, 0.35f}, 0.3f), Seconds(0.52f));
  Finish(out, 0.85f);
  return out;
}

Samples Confirm() {
  Samples out = Tone(Wave::Square, NoteHz(76), NoteHz(76), 0.06f, {0.002f, 0.03f, 0.6f, 0.02f}, 0.5f);
  MixInto(out, Tone(Wave::Square, NoteHz(83), NoteHz(83), 0.12f, {0.002f, 0.06f, 0.5f, 0.06f}, 0.5f), Seconds(0.065f));
  LowPass lp;
  for (float& v : out) v = lp.Run(v, 3500);
  Finish(out, 0.75f);
  return out;
}

Samples Tick() {
  Samples out = Tone(Wave::Triangle, NoteHz(86), NoteHz(81), 0.035f, {0.001f, 0.03f, 0.0f, 0.015f}, 0.8f);
  MixInto(out, NoiseBurst(0.008f, 6000, 3000, 300, 99), 0, 0.3f);
  Finish(out, 0.7f);
  return out;
}

}  // namespace

const std::vector<int>& SoundNumbers() {
  static const std::vector<int> numbers = {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15,
                                           16, 17, 18, 19, 20, 95, 96, 98, 99};
  return numbers;
}

Samples MakeSound(int n) {
  if (n >= 1 && n <= 3) return RockHit(n - 1);
  if (n >= 4 && n <= 7) return GemDealt(n - 3);
  if (n >= 11 && n <= 20) return ScoreCall(n - 10);
  switch (n) {
    case 8: return Destroyed();
    case 9: return Banked();
    case 95: return Whoosh();
    case 96: return Jingle();
    case 98: return Confirm();
    case 99: return Tick();
    default: return {};
  }
}

}  // namespace assetgen
