// The generated data folder, read through the game's own loaders. Pictures:
// every bank exists at each resolution level with the same layout, is exactly
// its frame grid, has art inside the frames the game draws and tells apart;
// players' pictures differ in shape and colour; font glyphs fit their cells.
// Sounds: every effect is an audible 16-bit sound of sensible length that
// starts and ends at rest; every tune is long enough and loops without a click.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <set>

#include "assetgen/colour.h"
#include "host/glfw_game.h"

namespace {

BBGlfwGame* Host() { static BBGlfwGame* host = new BBGlfwGame; return host; }

String DataPath(const std::string& relative) {
  const char* bin = std::getenv("LARKSPIN_BINARY_DIR");
  return String((std::string(bin ? bin : ".") + "/data/" + relative).c_str());
}

struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;  // straight alpha, row by row; empty when not loaded as RGBA
  const uint8_t* At(int x, int y) const { return &rgba[(size_t(y) * width + x) * 4]; }
};

Picture LoadPicture(const std::string& relative) {
  Picture p;
  int depth = 0;
  unsigned char* pixels = Host()->LoadImageData(DataPath(relative), &p.width, &p.height, &depth);
  if (pixels && depth == 4) p.rgba.assign(pixels, pixels + size_t(p.width) * p.height * 4);
  std::free(pixels);
  return p;
}

struct FrameRect { int x, y, w, h; };

// Frames cut the way the game's loader cuts a grid: row by row, wrapping when
// the next frame would pass the right edge; only those that fit.
std::vector<FrameRect> CutGrid(const Picture& p, int frameW, int frameH, int frames) {
  std::vector<FrameRect> out;
  for (int i = 0, x = 0, y = 0; i < frames && frameW <= p.width; ++i, x += frameW) {
    if (x + frameW > p.width) x = 0, y += frameH;
    if (y + frameH > p.height) break;
    out.push_back({x, y, frameW, frameH});
  }
  return out;
}

struct FrameStats {
  int opaque = 0;                                            // pixels with alpha above 1/4
  int minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;  // bounds of those pixels
  int borderAlpha = 0;                                       // strongest alpha on the outermost ring
};

FrameStats Measure(const Picture& p, const FrameRect& r) {
  FrameStats s;
  for (int y = 0; y < r.h; ++y)
    for (int x = 0; x < r.w; ++x) {
      int a = p.At(r.x + x, r.y + y)[3];
      if (x == 0 || y == 0 || x == r.w - 1 || y == r.h - 1) s.borderAlpha = std::max(s.borderAlpha, a);
      if (a <= 64) continue;
      ++s.opaque;
      s.minX = std::min(s.minX, x), s.maxX = std::max(s.maxX, x), s.minY = std::min(s.minY, y), s.maxY = std::max(s.maxY, y);
    }
  return s;
}

struct Sound {
  int frames = 0, channels = 0, bytes = 0, rate = 0;
  std::vector<int16_t> s;  // interleaved
  int16_t At(int frame, int c) const { return s[size_t(frame) * channels + c]; }
};

Sound LoadSound(const std::string& relative) {
  Sound out;
  unsigned char* data = Host()->LoadAudioData(DataPath(relative), &out.frames, &out.channels, &out.bytes, &out.rate);
  if (data && out.bytes == 2) out.s.assign((int16_t*)data, (int16_t*)data + size_t(out.frames) * out.channels);
  std::free(data);
  return out;
}

double Rms(const std::vector<int16_t>& s) {  // of full scale
  return s.empty() ? 0 : std::sqrt(std::inner_product(s.begin(), s.end(), s.begin(), 0.0) / s.size()) / 32768.0;
}

std::vector<uint8_t> Pixels(const Picture& p, const FrameRect& r) {
  std::vector<uint8_t> out;
  for (int y = r.y; y < r.y + r.h; ++y) out.insert(out.end(), p.At(r.x, y), p.At(r.x, y) + r.w * 4);
  return out;
}

std::vector<int> Range(int n) { std::vector<int> v(n); return std::iota(v.begin(), v.end(), 0), v; }

// The image banks as the game loads them: file, design frame size, frame
// count, the frames it draws (each must show something) and groups of frames
// it tells apart (each must differ from the others at level 2; the smallest
// may coincide at level 1).
struct Bank { const char* name; int frameW, frameH, frames; std::vector<int> drawn; std::vector<std::vector<int>> distinct; };
const Bank kBanks[] = {
    {"gfx", 12, 12, 25, Range(25),  // ships, gems, shots and thirteen rocks
     {{0, 5, 10, 15}, {1, 6, 11, 16}, {2, 7, 12, 17}, {3, 4, 8, 9, 13, 14, 18, 19, 20, 21, 22, 23, 24}}},
    {"power", 12, 12, 25, {0, 1, 2}, {}},
    {"Icon", 128, 128, 1, {0}, {}},
    {"BadgesA", 64, 64, 64, Range(64), {Range(64)}},
    {"common/circle", 256, 256, 4, Range(4), {}},
    {"common/light", 32, 32, 4, Range(4), {}},
    {"fonts/shadow_editundo", 16, 16, 128, {}, {}},
    {"common/FerrowLogo", 256, 256, 1, {0}, {}},
    {"common/dpad", 32, 32, 16, {0, 1, 4, 5, 6, 9}, {{0, 1, 4, 5, 6, 9}}},
    {"common/Buttons", 64, 64, 16, {0, 1, 2, 4, 5, 6, 8, 9, 10, 12}, {{0, 1, 2, 4, 5, 6, 8, 9, 10}}},
    {"parts", 4, 4, 256, Range(256), {Range(256)}},
    {"common/icons", 32, 32, 16, {0, 1, 3, 6, 7, 11}, {{0, 1, 3, 6, 7, 11}}},
    {"logo", 256, 128, 1, {0}, {}},
    {"menu", 256, 256, 4, Range(4), {}},
};

struct Sheet { Picture picture; std::vector<FrameRect> frames; };

Sheet Load(const Bank& b, int level) {
  Picture p = LoadPicture(std::string(b.name) + (level == 4 ? "-hd2" : level == 2 ? "-hd" : "") + ".png");
  return {p, CutGrid(p, b.frameW * level, b.frameH * level, b.frames)};
}

}  // namespace

TEST(PictureSheets, EveryLevelHoldsTheLoadersGridWithArtInTheDrawnFrames) {
  for (const Bank& b : kBanks) {
    int baseWidth = 0;
    for (int level : {1, 2, 4}) {
      SCOPED_TRACE(std::string(b.name) + " level " + std::to_string(level));
      Sheet l = Load(b, level);
      ASSERT_FALSE(l.picture.rgba.empty()) << "missing or undecodable";
      ASSERT_EQ(int(l.frames.size()), b.frames) << "frames fall outside the surface";
      baseWidth = level == 1 ? l.picture.width : baseWidth;
      EXPECT_EQ(l.picture.width, baseWidth * level) << "layout differs between levels";
      EXPECT_TRUE(l.picture.width <= 2048 && l.picture.width % (b.frameW * level) == 0) << "a stray margin";
      EXPECT_EQ(l.picture.height, l.frames.back().y + b.frameH * level) << "rows below the last frame";
      for (int f : b.drawn) {
        FrameStats s = Measure(l.picture, l.frames[f]);
        EXPECT_GT(s.opaque, 0) << "frame " << f << " shows nothing";
        EXPECT_LE(s.borderAlpha, 40) << "frame " << f << " bleeds into its neighbour when filtered";
      }
      for (const std::vector<int>& group : level == 2 ? b.distinct : std::vector<std::vector<int>>()) {
        std::set<std::vector<uint8_t>> seen;
        for (int f : group) EXPECT_TRUE(seen.insert(Pixels(l.picture, l.frames[f])).second) << "frame " << f << " repeats";
      }
    }
  }
}

// Field pictures span their contact boxes; the four players' ships and gems
// differ in shape and, under every kind of colour vision, in main colour.
TEST(PictureSheets, FieldPicturesFillTheirFramesAndPlayersDiffer) {
  for (int level : {1, 2, 4}) {
    Sheet l = Load(kBanks[0], level);
    ASSERT_FALSE(l.picture.rgba.empty());
    // In design units: ships at least 10 of 12, gems about 10, rocks (contact radius 4) about 8.
    const double lowest[5] = {10, 9, 0, 7, 7}, highest[5] = {12, 11, 12, 9, 9};
    for (int f = 0; f < 25; ++f) {
      FrameStats s = Measure(l.picture, l.frames[f]);
      double span = (std::max(s.maxX - s.minX, s.maxY - s.minY) + 1.0) / level;
      int kind = f < 20 ? f % 5 : 3;
      EXPECT_TRUE(span >= lowest[kind] && span <= highest[kind]) << "frame " << f << " level " << level << ": " << span;
    }
    std::vector<uint8_t> mask[8];  // alpha above one half
    assetgen::Color mean[8];        // of those pixels, in linear RGB
    for (int f = 0; f < 8; ++f) {
      std::vector<uint8_t> px = Pixels(l.picture, l.frames[f / 2 * 5 + f % 2]);
      for (size_t i = 0; i < px.size(); i += 4) {
        mask[f].push_back(px[i + 3] > 127);
        auto linear = [&](int k) { return assetgen::SrgbToLinear(px[i + k] / 255.0f); };
        if (px[i + 3] > 127) mean[f] = {mean[f].r + linear(0), mean[f].g + linear(1), mean[f].b + linear(2), mean[f].a + 1};
      }
      mean[f] = mean[f].Scaled(1.0f / std::max(mean[f].a, 1.0f));
    }
    for (int x = 0; x < 8; ++x)
      for (int y = x + 2; y < 8; y += 2) {  // same kind, another player
        SCOPED_TRACE(testing::Message() << "frames " << x / 2 * 5 + x % 2 << ", " << y / 2 * 5 + y % 2 << " level " << level);
        int both = 0, either = 0;
        for (size_t i = 0; i < mask[x].size(); ++i) both += mask[x][i] && mask[y][i], either += mask[x][i] || mask[y][i];
        EXPECT_LE(both, 0.7 * either);
        for (assetgen::Vision v : assetgen::kVisions)
          EXPECT_GE(assetgen::DeltaE2000(assetgen::LinearToLab(assetgen::Simulate(v, mean[x])),
                                         assetgen::LinearToLab(assetgen::Simulate(v, mean[y]))), 20.0)
              << assetgen::VisionName(v);
      }
  }
}

// Every printable character and button glyph has ink, white so the game can
// colour it; letters stay within one line and the widest advance ('w' and
// 'm': 7 + 2 design units).
TEST(Fonts, GameGlyphsHaveInkThatFitsTheirCell) {
  for (int level : {1, 2, 4}) {
    SCOPED_TRACE(level);
    Sheet font = Load(kBanks[6], level);
    const Picture& p = font.picture;
    ASSERT_EQ(font.frames.size(), 128u);
    EXPECT_EQ(Measure(p, font.frames[0]).opaque, 0) << "space must be blank";
    for (int frame = 1; frame <= 126; ++frame) {
      FrameStats s = Measure(p, font.frames[frame]);
      if (frame == 95 || frame == 111) continue;  // unused cells
      EXPECT_GT(s.opaque, 0) << "frame " << frame;
      EXPECT_TRUE(frame > 95 || (s.maxX - s.minX < 9 * level && s.maxY - s.minY < 10 * level)) << char(frame + 32);
    }
    // Controller glyphs at 96..108 differ from the keyboard set sixteen frames on.
    for (int frame = 96; frame <= 108; ++frame) EXPECT_NE(Pixels(p, font.frames[frame]), Pixels(p, font.frames[frame + 16]));
    bool white = false;
    for (size_t i = 0; i < p.rgba.size(); i += 4) white |= std::min({p.rgba[i], p.rgba[i + 1], p.rgba[i + 2]}) > 200 && p.rgba[i + 3] > 127;
    EXPECT_TRUE(white) << "no white ink for the game to colour";
  }
}

TEST(Sounds, EveryEffectIsAnAudible16BitPcmWav) {
  for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 95, 96, 98, 99}) {
    std::string name = "sfx/" + std::to_string(1000 + n).substr(1) + ".wav";
    SCOPED_TRACE(name);
    Sound w = LoadSound(name);
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
    Sound t = LoadSound(std::string("sfx/") + tune.name + ".ogg");
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
