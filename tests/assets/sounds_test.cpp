// Sound effects and tunes: named as the game asks for them, decodable by
// the game's readers, audible, of sensible length, and tunes that loop
// without a click.
#include <gtest/gtest.h>

// The decoder itself is the game's build of stb_vorbis.
#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "assets/asset_support.h"

using namespace assets_test;

namespace {

const int kSounds[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 95, 96, 98, 99};

std::string SoundFile(int n) {
  char name[32];
  std::snprintf(name, sizeof name, "sfx/%03d.wav", n);
  return DataPath(name);
}

double Peak(const std::vector<int16_t>& s) {
  int peak = 0;
  for (int16_t v : s) peak = std::max(peak, std::abs(static_cast<int>(v)));
  return peak / 32768.0;
}

double Rms(const std::vector<int16_t>& s) {
  double sum = 0;
  for (int16_t v : s) sum += static_cast<double>(v) * v;
  return s.empty() ? 0 : std::sqrt(sum / s.size()) / 32768.0;
}

struct Tune {
  int channels = 0, rate = 0, frames = 0;
  std::vector<int16_t> samples;
};

// Mean loudness of each stretch of `seconds`.
std::vector<double> Loudness(const Tune& t, double seconds) {
  std::vector<double> level;
  int window = static_cast<int>(t.rate * seconds) * t.channels;
  for (size_t start = 0; start + window <= t.samples.size(); start += window) {
    double sum = 0;
    for (int i = 0; i < window; ++i) sum += std::abs(t.samples[start + i]);
    level.push_back(sum / window);
  }
  return level;
}

// Mean change of loudness between 10 ms windows, relative to the mean loudness.
double Activity(const Tune& t) {
  std::vector<double> level = Loudness(t, 0.01);
  double change = 0, mean = 0;
  for (size_t i = 1; i < level.size(); ++i) change += std::fabs(level[i] - level[i - 1]);
  for (double l : level) mean += l;
  return mean > 0 ? (change / (level.size() - 1)) / (mean / level.size()) : 0;
}

Tune DecodeTune(const std::string& name) {
  Tune t;
  short* data = nullptr;
  std::vector<uint8_t> file = ReadBytes(DataPath("sfx/" + name + ".ogg"));
  int frames = stb_vorbis_decode_memory(file.data(), static_cast<int>(file.size()), &t.channels, &t.rate, &data);
  if (frames > 0) {
    t.frames = frames;
    t.samples.assign(data, data + static_cast<size_t>(frames) * t.channels);
  }
  std::free(data);
  return t;
}

}  // namespace

TEST(SoundEffects, EveryNumberIsAnAudible16BitPcmWav) {
  for (int n : kSounds) {
    SCOPED_TRACE(SoundFile(n));
    Wav w = ReadWav(SoundFile(n));
    ASSERT_TRUE(w.ok) << w.error;
    EXPECT_EQ(w.bits, 16);
    EXPECT_TRUE(w.channels == 1 || w.channels == 2);
    EXPECT_GE(w.rate, 22050);
    EXPECT_LE(w.rate, 48000);
    double seconds = static_cast<double>(w.samples.size()) / w.channels / w.rate;
    EXPECT_GE(seconds, 0.03);
    EXPECT_LE(seconds, 3.0);
    EXPECT_GT(Peak(w.samples), 0.3) << "too quiet";
    EXPECT_GT(Rms(w.samples), 0.02) << "mostly silence";
    // Starts and ends at rest, so playing it never clicks.
    EXPECT_LT(std::abs(w.samples.front()), 330);
    EXPECT_LT(std::abs(w.samples.back()), 330);
    int clipped = 0;
    for (int16_t v : w.samples) clipped += v >= 32767 || v <= -32767;
    EXPECT_LT(clipped, 4) << "clipped";
  }
}

TEST(SoundEffects, ScoreCallOutsClimbWithTheScoreAndGemSoundsDiffer) {
  // The first tone of each call-out; a higher score must sound higher.
  double previous = 0;
  for (int n = 11; n <= 19; ++n) {
    Wav w = ReadWav(SoundFile(n));
    ASSERT_TRUE(w.ok) << n;
    double pitch = DominantFrequency(w.samples, w.rate, w.rate / 200, w.rate / 20);
    EXPECT_GT(pitch, previous * 1.02) << "sound " << n << " is not above sound " << n - 1;
    previous = pitch;
  }
  // The final call-out celebrates: it lasts longer than the others.
  Wav nine = ReadWav(SoundFile(19)), ten = ReadWav(SoundFile(20));
  ASSERT_TRUE(nine.ok && ten.ok);
  EXPECT_GT(ten.samples.size(), nine.samples.size() * 3 / 2);

  std::vector<double> gems;
  for (int n = 4; n <= 7; ++n) {
    Wav w = ReadWav(SoundFile(n));
    ASSERT_TRUE(w.ok) << n;
    gems.push_back(DominantFrequency(w.samples, w.rate, w.rate / 200, w.rate / 20));
  }
  for (size_t i = 0; i < gems.size(); ++i)
    for (size_t j = i + 1; j < gems.size(); ++j)
      EXPECT_GT(std::fabs(gems[i] - gems[j]), gems[i] * 0.03) << "gem sounds " << i + 4 << " and " << j + 4;
}

TEST(Tunes, DecodeToAtLeastThirtySecondsThatLoopCleanly) {
  for (const char* name : {"fish", "Calligraphyb", "Calligraphyc"}) {
    SCOPED_TRACE(name);
    Tune t = DecodeTune(name);
    ASSERT_GT(t.frames, 0) << "stb_vorbis cannot decode it";
    ASSERT_GE(t.channels, 1);
    ASSERT_LE(t.channels, 2);
    double seconds = static_cast<double>(t.frames) / t.rate;
    EXPECT_GE(seconds, 30.0);
    EXPECT_LE(seconds, 180.0);
    // Time Attack plays this one once (the others always loop); it ends in
    // silence, so it may still loop elsewhere without a click.
    bool ends = std::string(name) == "Calligraphyb";
    EXPECT_GT(Rms(t.samples), 0.05);
    for (int c = 0; c < t.channels; ++c) {
      // Typical sample-to-sample change inside the tune, against the jump
      // from its last sample back to its first.
      std::vector<int> steps;
      for (int i = 1; i < t.frames; ++i)
        steps.push_back(std::abs(t.samples[i * t.channels + c] - t.samples[(i - 1) * t.channels + c]));
      std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
      int typical = steps[steps.size() * 99 / 100];
      int seam = std::abs(t.samples[c] - t.samples[(t.frames - 1) * t.channels + c]);
      EXPECT_LE(seam, typical) << "channel " << c << " clicks at the loop point";
      // The loop point is not hidden in a stretch of silence either.
      if (ends) continue;
      double edge = 0;
      for (int i = 0; i < t.rate / 10; ++i) edge += std::abs(t.samples[(t.frames - 1 - i) * t.channels + c]);
      EXPECT_GT(edge / (t.rate / 10), 100.0) << "the tune fades out instead of looping";
    }
  }
}

TEST(Tunes, TheTimeAttackTuneLastsTheRoundInSectionsAndFadesOut) {
  Tune t = DecodeTune("Calligraphyb");
  ASSERT_GT(t.frames, 0);
  // The Time Attack clock runs about 121 s after the countdown.
  EXPECT_GE(static_cast<double>(t.frames) / t.rate, 130.0);
  // Sections, not one loop repeated: quiet passages and full ones.
  std::vector<double> bars = Loudness(t, 8.0);
  bars.resize(bars.size() - 2);  // leave out the ending
  EXPECT_LT(*std::min_element(bars.begin(), bars.end()), 0.6 * *std::max_element(bars.begin(), bars.end()));
  // It ends, rather than stops: still sounding four seconds from the end,
  // then falling away to silence.
  std::vector<double> end = Loudness(t, 1.0);
  size_t n = end.size();
  EXPECT_GT(end[n - 4], 300.0);
  EXPECT_GT(end[n - 4], end[n - 2]);
  EXPECT_GT(end[n - 2], 4 * end[n - 1]);
}

TEST(Tunes, TheThreeTunesAreDifferentMusic) {
  Tune a = DecodeTune("fish"), b = DecodeTune("Calligraphyb"), c = DecodeTune("Calligraphyc");
  ASSERT_TRUE(a.frames > 0 && b.frames > 0 && c.frames > 0);
  // Different tempos and arrangements give different lengths.
  EXPECT_NE(a.frames, b.frames);
  EXPECT_NE(b.frames, c.frames);
  EXPECT_NE(a.frames, c.frames);
  // The battle tune is busier than the calm one-player tune: its loudness
  // moves more from one hundredth of a second to the next.
  double calm = Activity(b), battle = Activity(c);
  EXPECT_GT(battle, calm * 1.2) << "calm " << calm << ", battle " << battle;
}
