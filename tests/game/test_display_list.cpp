// The display list: command layout, the per-frame cap, the draw state and
// the touch hit tests that menus and buttons rely on.
#include "game_fixture.h"

using DisplayList = GameTest;

TEST_F(DisplayList, ImageCommandCarriesTheWholeDrawState) {
  app->p_CLS2D();
  app->p_SetSize(2.0f, 3.0f);
  app->p_SetRot(45.0f);
  app->p_SetCol(10, 20, 30, 0.5f);
  app->m_Blend = 3;
  app->p_DrawImg(97, 11.0f, 12.0f, 5);
  ASSERT_EQ(Commands(), 1);
  const float expect[15] = {97, 11, 12, -45, 2, 3, 5, 0.5f, 0, 0, 10, 20, 30, 3, 0};
  for (int e = 0; e < 15; ++e) EXPECT_FLOAT_EQ(Cmd(0, e), expect[e]) << "element " << e;

  app->p_Oval(5, 6, 7, 8);
  app->p_Line(1, 2, 3, 4);
  EXPECT_EQ(Cmd(1, 0), LK_CMD_OVAL);
  EXPECT_EQ(Cmd(1, 4), 7.0f);
  EXPECT_EQ(Cmd(1, 5), 8.0f);
  EXPECT_EQ(Cmd(2, 0), LK_CMD_LINE);
  EXPECT_EQ(Cmd(2, 4), 3.0f);
}

TEST_F(DisplayList, TriangleCornersAreReversedWhenTheMiddleIsNotRightmost) {
  app->p_CLS2D();
  app->p_Tri(10, 0, 5, 5, 0, 10);  // first corner right of the second
  app->p_Tri(0, 0, 10, 5, 5, 10);  // second corner rightmost: kept
  app->p_Tri(0, 0, 5, 5, 9, 10);   // third corner right of the second
  const float reversed[6] = {0, 10, 5, 5, 10, 0};
  const float kept[6] = {0, 0, 10, 5, 5, 10};
  const float third[6] = {9, 10, 5, 5, 0, 0};
  for (int e = 0; e < 6; ++e) {
    EXPECT_EQ(Cmd(0, 1 + e), reversed[e]);
    EXPECT_EQ(Cmd(1, 1 + e), kept[e]);
    EXPECT_EQ(Cmd(2, 1 + e), third[e]);
  }
  EXPECT_EQ(Cmd(0, 0), LK_CMD_TRI);
}

TEST_F(DisplayList, FrameHoldsAtMost2499Commands) {
  app->p_CLS2D();
  for (int i = 0; i < 2499; ++i) app->p_Rect(float(i), 0, 1, 1);
  EXPECT_EQ(Commands(), 2499);
  app->p_Rect(-1, -1, 1, 1);
  app->p_DrawImg(1, 0, 0, 0);
  app->p_Text(0, 0, String("dropped"), 0, 0, 0);
  EXPECT_EQ(app->m_DrawCount, 2499 * 15);
  EXPECT_EQ(Cmd(2498, 1), 2498.0f);  // the last one kept is intact
  app->p_CLS2D();
  EXPECT_EQ(app->m_DrawCount, 0);
  app->p_Rect(1, 2, 3, 4);
  EXPECT_EQ(Commands(), 1);
}

TEST_F(DisplayList, PaletteIsScaledAndClamped) {
  app->p_Ink(1, 2.0f);  // red doubled: held at 255
  EXPECT_EQ(app->m_ColR, 255.0f);
  EXPECT_FLOAT_EQ(app->m_ColG, 51.0f);
  app->p_Ink(12, 1.0f);  // outside the palette: grey
  EXPECT_FLOAT_EQ(app->m_ColB, 76.5f);
  app->p_Ink(3, -1.0f);
  EXPECT_EQ(app->m_ColR, 0.0f);
  app->p_CLS2D(10, 20, 30, 0.25f);
  app->p_CLS2D();  // no colour given: the clear colour stays
  EXPECT_EQ(app->m_ClsB, 30.0f);
  EXPECT_EQ(app->m_ClsA, 0.25f);
}

TEST_F(DisplayList, RightAlignedNumbers) {
  EXPECT_EQ(app->p_rstr(123, 6, String("0")), String("000123"));
  EXPECT_EQ(app->p_rstr(123, 2, String("0")), String("23"));
  EXPECT_EQ(app->p_rstr(5, 3, String(" ")), String("  5"));
  EXPECT_EQ(app->p_rstr(-42, 11, String(" ")), String("        -42"));
  EXPECT_EQ(app->p_rstr(7, 0, String(" ")).Length(), 0);
}

TEST_F(DisplayList, ButtonBoxesUseTheImageSizeAndStrictEdges) {
  app->m_ImgSize[3 * 97] = 64;  // a level-2 picture: 32 design units
  app->m_ImgSize[3 * 97 + 1] = 64;
  app->m_ImgScale = 0.5f;
  app->p_CLS2D();
  app->p_TouchStep();  // nothing down
  EXPECT_EQ(app->p_Button(100, 100, 3), 0);

  app->m_Touching = 1;
  app->m_TouchDown[4] = 1;
  app->m_TouchX[4] = 115;
  app->m_TouchY[4] = 85;
  EXPECT_EQ(app->p_Button(100, 100, 3), 1);
  EXPECT_EQ(app->m_ButtonHit, 1);
  EXPECT_EQ(Cmd(1, 0), 97.0f);  // the button drew itself
  app->m_TouchX[4] = 116;       // on the edge: outside
  EXPECT_EQ(app->p_Button(100, 100, 3), 0);
  EXPECT_EQ(app->m_ButtonHit, 0);
  app->p_SetSize(2.0f);  // the box grows with the size
  EXPECT_EQ(app->p_Button(100, 100, 3), 1);
  EXPECT_FALSE(app->p_Button0(97, 100, 100, 3));  // slot 0 is up
  app->m_TouchX[0] = 100;
  app->m_TouchY[0] = 100;
  EXPECT_TRUE(app->p_Button0(97, 100, 100, 3));

  // A stray image number has no size and so no box, and reads nothing
  // outside the table.
  EXPECT_EQ(app->p_Button(250, 115, 85, 0), 0);
}

TEST_F(DisplayList, TouchAreasAndPointerTests) {
  app->p_CLS2D();
  app->p_TouchStep();
  app->m_TouchDown[2] = 1;
  app->m_TouchX[2] = 95;
  app->m_TouchY[2] = 120;
  EXPECT_EQ(app->p_Touch(100, 100, 50, 10), 1);  // widened by 6 before, 12 after
  EXPECT_EQ(Cmd(0, 0), LK_CMD_RECT);
  app->m_TouchX[2] = 94;
  EXPECT_EQ(app->p_Touch(100, 100, 50, 10), 0);
  app->m_TouchX[2] = 200;
  app->m_TouchY[2] = 100;
  EXPECT_EQ(app->p_Touch(95, 200), 1);  // the short form starts at x 84, 24 high
  EXPECT_EQ(Cmd(2, 1), 84.0f);
  EXPECT_EQ(Cmd(2, 5), 24.0f);

  const int drawn = Commands();
  app->m_TouchX[2] = 10;
  app->m_TouchY[2] = 10;
  EXPECT_EQ(app->p_MouseIn(0, 0, 20, 20), 1);
  EXPECT_EQ(app->p_MouseIn(10, 0, 20, 20), 0);
  EXPECT_EQ(app->p_MouseIn_Centered(0, 0, 20, 20), 0);
  EXPECT_EQ(app->p_MouseIn_Centered(0, 0, 22, 22), 1);
  EXPECT_EQ(app->p_MouseIn_Radius(13, 14, 2, 2), 0);
  EXPECT_EQ(app->p_MouseIn_Radius(13, 14, 6, 8), 1);  // 3,4,5 on the circle counts
  EXPECT_EQ(Commands(), drawn);                        // hit tests draw nothing
  app->m_TouchDown[2] = 0;
  EXPECT_EQ(app->p_MouseIn(0, 0, 20, 20), 0);
}
