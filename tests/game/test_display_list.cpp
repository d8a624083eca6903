// The display list the game draws into: the per-frame cap, button hit boxes,
// bitmap text where a player sees it (alignment, line breaks, button glyphs
// per input style) and the round's lives row and game-over bars.
#include <vector>

#include "game/round_records.h"
#include "game_fixture.h"

using DisplayList = GameTest;

TEST_F(DisplayList, CapAndButtonBoxes) {
  app->p_CLS2D();
  for (int i = 0; i < 2600; ++i) app->p_Rect(float(i), 0, 1, 1);
  app->p_Text(0, 0, String("dropped"), 0, 0, 0);
  EXPECT_EQ(std::make_pair(Commands(), Cmd(2498, 1)), std::make_pair(2499, 2498.0f));  // the last one kept is intact

  app->m_ImgSize[3 * 97] = app->m_ImgSize[3 * 97 + 1] = 64;  // 32 design units at level 2
  app->m_ImgScale = 0.5f;
  app->p_CLS2D();
  app->m_Touching = 1;
  const int touches[][3] = {{115, 85, 1}, {116, 85, 0}, {100, 116, 0}};  // on an edge is outside
  for (auto& t : touches) {
    app->m_TouchX[4] = t[0];
    app->m_TouchY[4] = t[1];
    EXPECT_EQ(app->p_Button(100, 100, 3) + app->m_ButtonHit, 2 * t[2]);
  }
  app->p_SetSize(2.0f);  // the box grows with the size
  EXPECT_EQ(app->p_Button(100, 100, 3), 1);
  EXPECT_EQ(app->p_Button(250, 115, 85, 0), 0);  // a stray image has no box
}

TEST_F(DisplayList, TextAlignmentLineBreaksAndButtonGlyphs) {
  app->p_Reload();  // the font: advance 7, line height 10
  const float aligned[][4] = {{0, 0, 107, 55}, {1, 1, 100, 50}, {2, 2, 93, 45}};
  for (auto& a : aligned)
    for (const char* text : {"AB", "AW"}) {  // the last glyph is not measured
      app->p_CLS2D();
      app->p_Text(100, 50, String(text), a[0], a[1], 0);
      EXPECT_EQ(std::make_pair(Cmd(0, 1), Cmd(0, 2)), std::make_pair(a[2], a[3])) << text << a[0];
    }
  app->p_CLS2D();
  app->p_Text(40, 40, String("AC\\nB A"), 1, 0, 0);
  EXPECT_EQ(Row(45.0f) + "/" + Row(55.0f), "AC/BA");
  EXPECT_EQ(Cmd(2, 1), Cmd(0, 1));  // the next line starts where the first did

  const int glyphs[][4] = {{0, 0, 'K', 113}, {1, 1100, 'K', 109}, {1, 1300, 'K', 97}, {1, 1100, 'W', 104},
                           {1, 1100, 'E', 103}, {2, 1100, 'U', 100}, {0, 0, 'Z', 'Z' - 32}};
  for (auto& g : glyphs) {  // input style, clock, the letter after "¬", the frame drawn
    app->m_InputStyle = g[0];
    host->millis = g[1];
    app->p_CLS2D();
    app->p_Text(0, 0, String(Char(0xAC), 1) + String(Char(g[2]), 1) + String("A"), 0, 0, 0);
    EXPECT_EQ(Commands(), 2);
    EXPECT_EQ(Cmd(0, 6), g[3]) << char(g[2]);
  }
}

TEST_F(DisplayList, LivesRowAndGameOverBars) {
  app->m_GameMode = 2;
  for (float lives : {3.0f, 0.5f}) {
    app->m_Players[lk_round::kLives] = lives;
    app->p_CLS2D();
    app->p_ScoreDisplay();
    std::vector<float> xs;
    for (int i = 0; i < Commands(); ++i)
      if (Cmd(i, 0) == 97.0f && Cmd(i, 6) == 11.0f) xs.push_back(Cmd(i, 1));
    EXPECT_EQ(xs, lives > 1 ? std::vector<float>({304, 320, 336}) : std::vector<float>()) << lives;
  }
  app->m_OverTime = 5;  // the two bars grow from opposite edges, the same length
  app->p_CLS2D();
  app->p_GameOver();
  float yellow = 0, orange = 0;
  for (int i = 0; i < Commands(); ++i) {
    if (Cmd(i, 0) == LK_CMD_RECT && Cmd(i, 2) == 480 * 0.45f - 8.0f) yellow = Cmd(i, 1) + Cmd(i, 4);
    if (Cmd(i, 0) == LK_CMD_RECT && Cmd(i, 2) == 480 * 0.55f - 8.0f) orange = 640.0f - Cmd(i, 1);
  }
  EXPECT_EQ(std::make_pair(yellow, orange), std::make_pair(119.0f, 120.0f));  // 24 a frame; the yellow one starts off screen
}
