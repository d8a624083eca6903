// Fonts: the game font's glyphs and button glyphs, and the framework's
// default font strip with its padding.
#include <gtest/gtest.h>

#include <cstring>

#include "assets/asset_support.h"

using namespace assets_test;

namespace {

const int kAdvance = 7;  // the game's glyph advance in design units

// The text renderer's spacing adjustment per character.
int Adjust(char c) {
  if (c == 'w' || c == 'm') return 2;
  if (c == 'W' || c == 'M') return 1;
  if (std::strchr("ifl", c)) return -3;
  if (std::strchr("jskrztn", c)) return -1;
  return 0;
}

struct Font {
  Picture picture;
  std::vector<FrameRect> frames;
  int level = 1;
};

Font LoadFont(int level) {
  Font f;
  f.level = level;
  const char* suffix = level == 4 ? "-hd2" : level == 2 ? "-hd" : "";
  f.picture = LoadPicture(DataPath(std::string("fonts/shadow_editundo") + suffix + ".png"));
  if (f.picture.Loaded()) CutGrid(f.picture.width, f.picture.height, 16 * level, 16 * level, 128, f.frames);
  return f;
}

}  // namespace

TEST(GameFont, PrintableCharactersAndButtonGlyphsHaveInk) {
  for (int level : {1, 2, 4}) {
    Font font = LoadFont(level);
    ASSERT_TRUE(font.picture.Loaded());
    ASSERT_EQ(font.frames.size(), 128u);
    EXPECT_EQ(Measure(font.picture, font.frames[0]).opaque, 0) << "space must be blank";
    for (int code = 33; code < 127; ++code)
      EXPECT_GT(Measure(font.picture, font.frames[code - 32]).opaque, 0) << "character " << code << " level " << level;
    // Controller glyphs at 96..110 and the keyboard set sixteen frames later.
    for (int frame = 96; frame <= 110; ++frame) {
      EXPECT_GT(Measure(font.picture, font.frames[frame]).opaque, 0) << "controller glyph " << frame;
      EXPECT_GT(Measure(font.picture, font.frames[frame + 16]).opaque, 0) << "keyboard glyph " << frame + 16;
    }
  }
}

TEST(GameFont, GlyphsFitTheirAdvanceSoLettersNeverOverlap) {
  Font font = LoadFont(1);
  ASSERT_TRUE(font.picture.Loaded());
  for (int code = 33; code < 127; ++code) {
    FrameStats s = Measure(font.picture, font.frames[code - 32]);
    int width = s.maxX - s.minX + 1;  // ink including the drop shadow
    EXPECT_LE(width, kAdvance + Adjust(static_cast<char>(code))) << "character '" << static_cast<char>(code) << "'";
    // Ten units of line height: the ink must stay within one line.
    EXPECT_LE(s.maxY - s.minY + 1, 10) << "character '" << static_cast<char>(code) << "'";
  }
}

TEST(GameFont, TextHasADropShadowAndTheKeyboardSetDiffers) {
  Font font = LoadFont(2);
  ASSERT_TRUE(font.picture.Loaded());
  const FrameRect& a = font.frames['A' - 32];
  int light = 0, dark = 0;
  for (int y = 0; y < a.h; ++y)
    for (int x = 0; x < a.w; ++x) {
      const uint8_t* p = font.picture.At(a.x + x, a.y + y);
      if (p[3] < 128) continue;
      if (p[0] > 200 && p[1] > 200 && p[2] > 200) ++light;
      if (p[0] < 60 && p[1] < 60 && p[2] < 60) ++dark;
    }
  EXPECT_GT(light, 0) << "glyphs are white so the game can colour them";
  EXPECT_GT(dark, 0) << "no shadow";
  for (int frame = 96; frame <= 108; ++frame)
    EXPECT_FALSE(SamePixels(font.picture, font.frames[frame], font.picture, font.frames[frame + 16]))
        << "controller glyph " << frame << " equals its keyboard glyph";
  // The pressed frames look different from the buttons they stand for.
  EXPECT_FALSE(SamePixels(font.picture, font.frames[109], font.picture, font.frames[96]));
  EXPECT_FALSE(SamePixels(font.picture, font.frames[110], font.picture, font.frames[100]));
  EXPECT_FALSE(SamePixels(font.picture, font.frames[104], font.picture, font.frames[105]));
}

TEST(DefaultFont, OneRowOf96PaddedCells) {
  Picture p = LoadPicture(DataPath("kiln_font.png"));
  ASSERT_TRUE(p.Loaded());
  ASSERT_EQ(p.width % 96, 0);
  int cell = p.width / 96;
  ASSERT_GE(cell, 5);
  for (int i = 0; i < 96; ++i) {
    FrameRect whole{i * cell, 0, cell, p.height};
    FrameStats s = Measure(p, whole);
    // One pixel of padding each side, which the loader cuts away.
    if (s.opaque > 0) {
      EXPECT_GE(s.minX, 1) << "code " << i + 32;
      EXPECT_LE(s.maxX, cell - 2) << "code " << i + 32;
    }
    if (i > 0 && i < 95) {
      EXPECT_GT(s.opaque, 0) << "code " << i + 32 << " is blank";
    }
  }
  EXPECT_EQ(Measure(p, {0, 0, cell, p.height}).opaque, 0) << "space must be blank";
}
