// The display list: command layout, the per-frame cap, right-aligned
// numbers and the button hit boxes that menus rely on.
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
