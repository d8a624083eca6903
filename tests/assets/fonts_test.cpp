// Fonts: every printable character and button glyph of the game font has
// ink within one line and the widest advance, white with a dark shadow; the
// framework's default font strip keeps its padding.
#include <gtest/gtest.h>

#include "assets/asset_support.h"

using namespace assets_test;

TEST(Fonts, GameGlyphsHaveInkThatFitsTheirCell) {
  const int kWidestAdvance = 9, kLineHeight = 10;  // design units: 'w' and 'm' advance 7 + 2
  for (int level : {1, 2, 4}) {
    SCOPED_TRACE(level);
    const char* suffix = level == 4 ? "-hd2" : level == 2 ? "-hd" : "";
    Picture p = LoadPicture(DataPath(std::string("fonts/shadow_editundo") + suffix + ".png"));
    std::vector<FrameRect> f;
    ASSERT_TRUE(p.Loaded() && CutGrid(p.width, p.height, 16 * level, 16 * level, 128, f));
    EXPECT_EQ(Measure(p, f[0]).opaque, 0) << "space must be blank";
    for (int frame = 1; frame <= 126; ++frame) {
      FrameStats s = Measure(p, f[frame]);
      if (frame == 95 || frame == 111) continue;  // unused cells
      EXPECT_GT(s.opaque, 0) << "frame " << frame;
      if (frame >= 95) continue;  // button glyphs are wider than letters
      EXPECT_LE(s.maxX - s.minX + 1, kWidestAdvance * level) << "character " << char(frame + 32);
      EXPECT_LE(s.maxY - s.minY + 1, kLineHeight * level) << "character " << char(frame + 32);
    }
    // Controller glyphs at 96..108 differ from the keyboard set sixteen frames on.
    for (int frame = 96; frame <= 108; ++frame) EXPECT_NE(Pixels(p, f[frame]), Pixels(p, f[frame + 16])) << frame;
    int light = 0, dark = 0;  // white so the game can colour it, with a shadow
    for (size_t i = 0; i < p.rgba.size(); i += 4) {
      if (p.rgba[i + 3] < 128) continue;
      light += p.rgba[i] > 200 && p.rgba[i + 1] > 200 && p.rgba[i + 2] > 200;
      dark += p.rgba[i] < 60 && p.rgba[i + 1] < 60 && p.rgba[i + 2] < 60;
    }
    EXPECT_TRUE(light > 0 && dark > 0);
  }
}

TEST(Fonts, DefaultFontIsOneRowOf96PaddedCells) {
  Picture p = LoadPicture(DataPath("kiln_font.png"));
  ASSERT_TRUE(p.Loaded());
  ASSERT_EQ(p.width % 96, 0);
  int cell = p.width / 96;
  for (int i = 0; i < 96; ++i) {
    FrameStats s = Measure(p, {i * cell, 0, cell, p.height});
    EXPECT_EQ(s.opaque > 0, i > 0) << "code " << i + 32;
    // One pixel of padding each side, which the loader cuts away.
    EXPECT_TRUE(s.opaque == 0 || (s.minX >= 1 && s.maxX <= cell - 2)) << "code " << i + 32;
  }
}
