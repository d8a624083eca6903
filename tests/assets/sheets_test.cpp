// Picture sheets: every file the loader reads exists at each resolution
// level with the same layout, is exactly its frame grid, has art inside the
// frames the game draws, and players' pictures differ in shape and colour.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "assetgen/colour.h"
#include "assets/asset_support.h"

using namespace assets_test;
using assetgen::Vision;

namespace {

struct Bank {
  int number;
  const char* name;
  int frameW, frameH, frames;
  std::vector<int> drawn;  // frames the game draws; each must show something
};

std::vector<int> Range(int n) {
  std::vector<int> v;
  for (int i = 0; i < n; ++i) v.push_back(i);
  return v;
}

// The image bank as the game loads it: file base name, design frame size, frame count.
const std::vector<Bank>& Banks() {
  static const std::vector<Bank> banks = {
      {1, "gfx", 12, 12, 25, Range(25)},
      {2, "power", 12, 12, 25, {0, 1, 2}},
      {5, "Icon", 128, 128, 1, {0}},
      {80, "BadgesA", 64, 64, 64, Range(64)},
      {85, "common/circle", 256, 256, 4, Range(4)},
      {86, "common/light", 32, 32, 4, Range(4)},
      {90, "fonts/shadow_editundo", 16, 16, 128, {}},
      {93, "common/FerrowLogo", 256, 256, 1, {0}},
      {94, "common/dpad", 32, 32, 16, {0, 1, 4, 5, 6, 9}},
      {95, "common/Buttons", 64, 64, 16, {0, 1, 2, 4, 5, 6, 8, 9, 10, 12}},
      {96, "parts", 4, 4, 256, Range(256)},
      {97, "common/icons", 32, 32, 16, {0, 1, 3, 6, 7, 11}},
      {98, "logo", 256, 128, 1, {0}},
      {99, "menu", 256, 256, 4, Range(4)},
  };
  return banks;
}

std::string FileFor(const Bank& b, int level) {
  return DataPath(std::string(b.name) + (level == 4 ? "-hd2" : level == 2 ? "-hd" : "") + ".png");
}

struct Loaded {
  Picture picture;
  std::vector<FrameRect> frames;
};

// Each file is decoded once for the whole suite.
const Loaded& Load(const Bank& b, int level) {
  static std::map<std::pair<int, int>, Loaded> cache;
  auto key = std::make_pair(b.number, level);
  auto found = cache.find(key);
  if (found != cache.end()) return found->second;
  Loaded& l = cache[key];
  l.picture = LoadPicture(FileFor(b, level));
  if (l.picture.Loaded())
    CutGrid(l.picture.width, l.picture.height, b.frameW * level, b.frameH * level, b.frames, l.frames);
  return l;
}

}  // namespace

TEST(PictureSheets, EveryLevelDecodesAndHoldsTheLoadersGrid) {
  for (const Bank& b : Banks()) {
    for (int level : {1, 2, 4}) {
      SCOPED_TRACE(FileFor(b, level));
      const Loaded& l = Load(b, level);
      ASSERT_TRUE(l.picture.Loaded()) << "missing or undecodable";
      EXPECT_LE(l.picture.width, 2048);
      EXPECT_LE(l.picture.height, 2048);
      ASSERT_EQ(static_cast<int>(l.frames.size()), b.frames) << "frames fall outside the surface";
      // No stray margin: the sheet is exactly whole frames across and down.
      EXPECT_EQ(l.picture.width % (b.frameW * level), 0);
      EXPECT_EQ(l.picture.height % (b.frameH * level), 0);
      int rows = l.frames.back().y / (b.frameH * level) + 1;
      EXPECT_EQ(l.picture.height, rows * b.frameH * level) << "empty rows below the last frame";
      EXPECT_EQ(l.picture.width, Load(b, 1).picture.width * level) << "layout differs between levels";
    }
  }
}

TEST(PictureSheets, DrawnFramesShowArtThatStaysInsideTheFrame) {
  for (const Bank& b : Banks()) {
    for (int level : {1, 2, 4}) {
      const Loaded& l = Load(b, level);
      ASSERT_TRUE(l.picture.Loaded()) << b.name;
      for (int f : b.drawn) {
        SCOPED_TRACE(std::string(b.name) + " frame " + std::to_string(f) + " level " + std::to_string(level));
        FrameStats s = Measure(l.picture, l.frames[f]);
        EXPECT_GT(s.opaque, 0) << "nothing to see";
        // Art touching the edge would bleed into the neighbour when filtered.
        EXPECT_LE(s.borderAlpha, 40);
      }
    }
  }
}

const Bank& BankNumber(int number) {
  for (const Bank& b : Banks())
    if (b.number == number) return b;
  return Banks()[0];
}

TEST(PictureSheets, FramesTheGameTellsApartAreAllDifferent) {
  // The field's ships, gems, shots and thirteen rocks; badges, sparks, buttons and icons.
  const struct { int bank; std::vector<int> frames; } groups[] = {
      {1, {0, 5, 10, 15}}, {1, {1, 6, 11, 16}}, {1, {2, 7, 12, 17}},
      {1, {3, 4, 8, 9, 13, 14, 18, 19, 20, 21, 22, 23, 24}}, {80, Range(64)}, {96, Range(256)},
      {95, {0, 1, 2, 4, 5, 6, 8, 9, 10}}, {97, {0, 1, 3, 6, 7, 11}}, {94, {0, 1, 4, 5, 6, 9}}};
  for (const auto& g : groups) {
    const Loaded& l = Load(BankNumber(g.bank), 2);
    ASSERT_TRUE(l.picture.Loaded()) << g.bank;
    std::set<std::vector<uint8_t>> seen;
    for (int f : g.frames)
      EXPECT_TRUE(seen.insert(Pixels(l.picture, l.frames[f])).second) << "bank " << g.bank << " frame " << f << " repeats";
  }
}

// A player's picture: the mask of its pixels with alpha above one half, and
// its main colour, the mean of those pixels in linear RGB.
struct Look {
  std::vector<bool> mask;
  assetgen::Color mean;
};

Look LookOf(const Loaded& l, int frame) {
  const FrameRect& r = l.frames[frame];
  Look look;
  for (int y = 0; y < r.h; ++y)
    for (int x = 0; x < r.w; ++x) {
      const uint8_t* p = l.picture.At(r.x + x, r.y + y);
      look.mask.push_back(p[3] > 127);
      // Alpha counts the pixels until the division.
      auto linear = [&](int k) { return assetgen::SrgbToLinear(p[k] / 255.0f); };
      if (p[3] > 127) look.mean = {look.mean.r + linear(0), look.mean.g + linear(1), look.mean.b + linear(2), look.mean.a + 1};
    }
  look.mean = look.mean.Scaled(1.0f / std::max(look.mean.a, 1.0f));
  return look;
}

TEST(PictureSheets, FieldPicturesFillTheirFramesAndPlayersDifferInShapeAndColour) {
  const Bank& field = Banks()[0];
  double worstOverlap = 0, worstDelta = 1e9;
  std::string worstPair;
  for (int level : {1, 2, 4}) {
    const Loaded& l = Load(field, level);
    ASSERT_TRUE(l.picture.Loaded());
    // Span in design units, as the contact boxes: ships at least 10 of 12,
    // gems about 10, rocks (contact radius 4) about 8.
    for (int f = 0; f < field.frames; ++f) {
      FrameStats s = Measure(l.picture, l.frames[f]);
      double span = (std::max(s.maxX - s.minX, s.maxY - s.minY) + 1.0) / level;
      int kind = f < 20 ? f % 5 : 3;
      const double lowest[5] = {10, 9, 0, 7, 7}, highest[5] = {12, 11, 12, 9, 9};
      EXPECT_TRUE(span >= lowest[kind] && span <= highest[kind]) << "frame " << f << " level " << level << ": " << span;
    }
    for (int kind : {0, 1}) {  // ships, gems
      for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b) {
          Look x = LookOf(l, a * 5 + kind), y = LookOf(l, b * 5 + kind);
          std::string pair = std::string(kind ? "gems" : "ships") + " of players " + std::to_string(a + 1) + ", " +
                             std::to_string(b + 1) + " at level " + std::to_string(level);
          int both = 0, either = 0;
          for (size_t i = 0; i < x.mask.size(); ++i) both += x.mask[i] && y.mask[i], either += x.mask[i] || y.mask[i];
          EXPECT_LE(both, 0.7 * either) << pair;
          worstOverlap = std::max(worstOverlap, static_cast<double>(both) / either);
          for (Vision v : assetgen::kVisions) {
            double delta = assetgen::DeltaE2000(assetgen::LinearToLab(assetgen::Simulate(v, x.mean)),
                                                assetgen::LinearToLab(assetgen::Simulate(v, y.mean)));
            EXPECT_GE(delta, 20.0) << pair << " under " << assetgen::VisionName(v);
            if (delta < worstDelta) worstDelta = delta, worstPair = pair + " under " + assetgen::VisionName(v);
          }
        }
    }
  }
  std::printf("largest overlap %.2f; smallest colour difference %.1f (%s)\n", worstOverlap, worstDelta, worstPair.c_str());
}
