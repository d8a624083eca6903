// Bitmap text layout: measuring, alignment, spacing, line breaks and the
// button glyphs that follow the player's input style.
#include "game_fixture.h"

#include <vector>

namespace {

struct Glyph {
  int image;
  float x, y;
  int frame;
};

// "¬" followed by the given letters: a button glyph in the game's markup.
String Btn(const char* rest) { return String(Char(0xAC), 1) + String(rest); }

}  // namespace

class TextLayout : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    app->p_Reload();  // font 90: advance 7, line height 10
    app->p_CLS2D();
  }
  std::vector<Glyph> Draw(String text, float x, float y, float ax, float ay, int style = 0) {
    app->p_CLS2D();
    app->p_Text(x, y, text, ax, ay, style);
    std::vector<Glyph> out;
    for (int i = 0; i < Commands(); ++i)
      out.push_back({int(Cmd(i, 0)), Cmd(i, 1), Cmd(i, 2), int(Cmd(i, 6))});
    return out;
  }
};

TEST_F(TextLayout, CentringMeasuresAllButTheLastCharacter) {
  auto g = Draw("AB", 100, 50, 1, 0);
  ASSERT_EQ(g.size(), 2u);
  EXPECT_EQ(g[0].frame, 'A' - 32);
  EXPECT_FLOAT_EQ(g[0].x, 100.0f);  // space + "A" = 14 wide, so "A" starts at x
  EXPECT_FLOAT_EQ(g[0].y, 55.0f);   // alignY 0: glyph tops at y
  EXPECT_FLOAT_EQ(g[1].x, 107.0f);
  EXPECT_EQ(g[0].image, 90);

  // The last letter does not count: a wide "W" at the end changes nothing.
  EXPECT_FLOAT_EQ(Draw("AW", 100, 50, 1, 0)[0].x, 100.0f);
  // Narrow letters pull the following ones closer and shift the centre.
  auto narrow = Draw("iA", 100, 50, 1, 1);
  EXPECT_FLOAT_EQ(narrow[0].x, 101.5f);  // width 7 + 4 = 11, origin 94.5
  EXPECT_FLOAT_EQ(narrow[1].x, 105.5f);
  EXPECT_FLOAT_EQ(narrow[0].y, 50.0f);  // alignY 1: centred on y

  auto right = Draw("AB", 100, 50, 2, 2);
  EXPECT_FLOAT_EQ(right[0].x, 93.0f);
  EXPECT_FLOAT_EQ(right[0].y, 45.0f);
}

TEST_F(TextLayout, SpacingSizeAndSkippedCharacters) {
  app->p_CLS2D();
  app->p_SetSize(2.0f);
  app->p_Text(0, 0, String("A B"), 0, 0, 3);
  ASSERT_EQ(Commands(), 2);  // the space advances but is not drawn
  EXPECT_FLOAT_EQ(Cmd(0, 1), 14.0f);
  EXPECT_FLOAT_EQ(Cmd(1, 1) - Cmd(0, 1), 28.0f);
  EXPECT_EQ(Cmd(0, 0), 93.0f);  // style picks the font image after 90
  EXPECT_EQ(Cmd(0, 4), 2.0f);

  const Char odd[] = {'A', 0, 0x3A9, 'B'};
  app->p_CLS2D();
  app->p_Text(0, 0, String(odd, 4), 0, 0, 0);
  ASSERT_EQ(Commands(), 2);  // code 0 is nothing; frames above 127 only advance
  EXPECT_FLOAT_EQ(Cmd(1, 1) - Cmd(0, 1), 14.0f);
}

TEST_F(TextLayout, LineBreakStartsOneGlyphIn) {
  auto g = Draw("AC\\nB", 40, 40, 0, 0);
  ASSERT_EQ(g.size(), 3u);
  EXPECT_FLOAT_EQ(g[0].x, 47.0f);
  EXPECT_FLOAT_EQ(g[2].x, 47.0f);
  EXPECT_FLOAT_EQ(g[2].y - g[0].y, 10.0f);
  EXPECT_EQ(g[2].frame, 'B' - 32);

  // Lines are not re-aligned: the second line of centred text starts at the
  // same place as an unaligned one would.
  auto centred = Draw("AA\\nB", 40, 40, 1, 0);
  EXPECT_FLOAT_EQ(centred[2].x, centred[0].x);
}

TEST_F(TextLayout, ButtonGlyphsFollowTheInputStyle) {
  app->m_InputStyle = 0;  // keyboard set
  auto g = Draw(Btn("KA"), 0, 0, 0, 0);
  ASSERT_EQ(g.size(), 2u);
  EXPECT_EQ(g[0].frame, 113);
  EXPECT_FLOAT_EQ(g[0].x, 7.0f);
  EXPECT_FLOAT_EQ(g[1].x - g[0].x, 11.0f);  // glyph advance gw + 4

  app->m_InputStyle = 1;  // controller: the pressed frame blinks
  host->millis = 1100;
  EXPECT_EQ(Draw(Btn("K"), 0, 0, 0, 0)[0].frame, 109);
  host->millis = 1300;
  EXPECT_EQ(Draw(Btn("K"), 0, 0, 0, 0)[0].frame, 97);

  app->m_InputStyle = 2;  // touch shows the controller set, never pressed
  auto u = Draw(Btn("UA"), 0, 0, 0, 0);
  EXPECT_EQ(u[0].frame, 100);
  EXPECT_FLOAT_EQ(u[1].x - u[0].x, 13.0f);  // "U" and "O" are wider

  auto other = Draw(Btn("ZA"), 0, 0, 0, 0);
  EXPECT_EQ(other[0].frame, 'Z' - 32);  // not a button: its own letter
  EXPECT_FLOAT_EQ(other[1].x - other[0].x, 11.0f);

  // Measured as one glyph of gw + 2 that swallows its letter.
  auto centred = Draw(Btn("KA"), 100, 0, 1, 0);
  EXPECT_FLOAT_EQ(centred[0].x, 100.0f - 8.0f + 7.0f);
}
