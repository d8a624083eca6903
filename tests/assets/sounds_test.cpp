// Sound effects and tunes, read by the game's own decoders: every effect the
// game plays is an audible 16-bit sound of sensible length that starts and
// ends at rest; every tune is long enough and loops without a click.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "host/ogg_decoder.h"
#include "host/wav_decoder.h"

namespace {

std::string DataPath(const std::string& relative) {
  const char* bin = std::getenv("LARKSPIN_BINARY_DIR");
  return std::string(bin ? bin : ".") + "/data/" + relative;
}

struct Sound {
  int frames = 0, channels = 0, bytes = 0, rate = 0;
  std::vector<int16_t> s;  // interleaved
  int16_t At(int frame, int c) const { return s[size_t(frame) * channels + c]; }
};

Sound Decode(const std::string& path) {
  Sound out;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return out;
  auto decoder = path.back() == 'v' ? LoadWAV : LoadOGG;
  unsigned char* data = decoder(f, &out.frames, &out.channels, &out.bytes, &out.rate);
  std::fclose(f);
  if (data && out.bytes == 2) out.s.assign((int16_t*)data, (int16_t*)data + size_t(out.frames) * out.channels);
  std::free(data);
  return out;
}

double Rms(const std::vector<int16_t>& s) {
  double sum = 0;
  for (int16_t v : s) sum += double(v) * v;
  return s.empty() ? 0 : std::sqrt(sum / s.size()) / 32768.0;
}

}  // namespace

TEST(Sounds, EveryEffectIsAnAudible16BitPcmWav) {
  for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 95, 96, 98, 99}) {
    char name[32];
    std::snprintf(name, sizeof name, "sfx/%03d.wav", n);
    SCOPED_TRACE(name);
    Sound w = Decode(DataPath(name));
    ASSERT_FALSE(w.s.empty()) << "not a 16-bit sound the game can read";
    EXPECT_TRUE(w.channels <= 2 && w.rate >= 22050 && w.rate <= 48000);
    EXPECT_TRUE(w.frames >= 0.03 * w.rate && w.frames <= 3.0 * w.rate) << w.frames;
    int peak = 0, clipped = 0;
    for (int16_t v : w.s) peak = std::max(peak, std::abs(int(v))), clipped += v >= 32767 || v <= -32767;
    EXPECT_GT(peak, 0.3 * 32768) << "too quiet";
    EXPECT_LT(clipped, 4) << "clipped";
    EXPECT_GT(Rms(w.s), 0.02) << "mostly silence";
    EXPECT_TRUE(std::abs(w.s.front()) < 330 && std::abs(w.s.back()) < 330) << "clicks at an end";
  }
}

TEST(Sounds, TunesLastAndLoopCleanly) {
  // Time Attack plays Calligraphyb once through its ~121 s round; it ends in
  // silence, the others loop straight on.
  const struct { const char* name; double seconds; bool loops; } tunes[] = {
      {"fish", 30, true}, {"Calligraphyb", 130, false}, {"Calligraphyc", 30, true}};
  for (const auto& tune : tunes) {
    SCOPED_TRACE(tune.name);
    Sound t = Decode(DataPath(std::string("sfx/") + tune.name + ".ogg"));
    ASSERT_FALSE(t.s.empty()) << "the game cannot decode it";
    EXPECT_TRUE(t.frames >= tune.seconds * t.rate && t.frames <= 180.0 * t.rate) << t.frames;
    EXPECT_GT(Rms(t.s), 0.05);
    for (int c = 0; c < t.channels; ++c) {
      // Typical sample-to-sample change inside the tune, against the jump
      // from its last sample back to its first.
      std::vector<int> steps;
      for (int i = 1; i < t.frames; ++i) steps.push_back(std::abs(t.At(i, c) - t.At(i - 1, c)));
      std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
      EXPECT_LE(std::abs(t.At(0, c) - t.At(t.frames - 1, c)), steps[steps.size() * 99 / 100]) << "click at the loop";
      double edge = 0;  // a looping tune still sounds at its end
      for (int i = 0; i < t.rate / 10; ++i) edge += std::abs(t.At(t.frames - 1 - i, c));
      EXPECT_EQ(edge / (t.rate / 10) > 100.0, tune.loops) << "channel " << c;
    }
  }
}
