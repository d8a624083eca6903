// Asset loading: the resolution level chosen by device size, file names,
// the recorded frame sizes, one step per update with the loading screen, and
// the banks' order.
#include "game_fixture.h"

#include <cmath>

using Loader = GameTest;

TEST_F(Loader, LevelFollowsTheDeviceSize) {
  struct Case {
    int w, h, level;
    const char* file;
  } cases[] = {
      {1280, 720, 4, "gfx-hd2.png"}, {640, 1231, 4, "gfx-hd2.png"}, {640, 480, 2, "gfx-hd.png"},
      {630, 631, 2, "gfx-hd.png"},   {630, 630, 1, "gfx.png"},      {320, 240, 1, "gfx.png"},
  };
  for (const Case& c : cases) {
    Resize(c.w, c.h);
    app->p_ResLevel();
    EXPECT_EQ(app->m_HDLevel, c.level) << c.w << "x" << c.h;
    EXPECT_FLOAT_EQ(app->m_ImgScale, 1.0f / float(c.level));
    EXPECT_EQ(app->p_ImgFile(String("gfx")), String(c.file));
  }
  bb_Larkspin_UseHDImages = 0;
  Resize(1920, 1080);
  app->p_ResLevel();
  EXPECT_EQ(app->m_HDLevel, 1);
  EXPECT_EQ(app->p_ImgFile(String("common/dpad")), String("common/dpad.png"));
}

TEST_F(Loader, FullLoadTakes22UpdatesAndRecordsSizes) {
  Resize(1280, 720);
  app->p_OnCreate();
  app->p_FitScreen(1280, 720);
  EXPECT_EQ(app->m_FontImg, 90);
  EXPECT_EQ(app->m_ImgSize[3 * 93], 1024);  // logo and font before step 1
  EXPECT_EQ(app->m_ImgSize[3 * 90], 7);
  for (int step = 1; step <= 21; ++step) {
    ASSERT_EQ(app->m_LoadStep, step);
    Update();
  }
  EXPECT_EQ(app->m_LoadStep, 22);
  Update();
  EXPECT_EQ(app->m_LoadStep, 0);

  struct Size {
    int n, w, h, frames;
  } sizes[] = {{1, 48, 48, 25},    {2, 48, 48, 25},   {5, 512, 512, 1},    {80, 256, 256, 64},
               {81, 2048, 2048, 1}, {85, 1024, 1024, 4}, {86, 128, 128, 4},  {90, 7, 10, 128},
               {93, 1024, 1024, 1}, {94, 128, 128, 16}, {95, 256, 256, 16}, {96, 16, 16, 256},
               {97, 128, 128, 16},  {98, 1024, 512, 1}, {99, 1024, 1024, 4}};
  for (const Size& s : sizes) {
    EXPECT_EQ(app->m_ImgSize[3 * s.n], s.w) << "image " << s.n;
    EXPECT_EQ(app->m_ImgSize[3 * s.n + 1], s.h) << "image " << s.n;
    EXPECT_EQ(app->m_ImgSize[3 * s.n + 2], s.frames) << "image " << s.n;
  }
  // Missing files leave empty entries and the game goes on.
  EXPECT_EQ(app->m_Images[1], nullptr);
}

TEST_F(Loader, StepsRunInOrderOnePerUpdate) {
  Resize(640, 480);
  app->p_OnCreate();
  app->p_FitScreen(640, 480);
  Update();  // step 1
  EXPECT_EQ(app->m_ImgSize[3 * 97], 64);
  EXPECT_EQ(app->m_ImgSize[3 * 81], 2048);
  EXPECT_EQ(app->m_ImgSize[3 * 95], 0);
  Updates(5);  // steps 2 to 6
  EXPECT_EQ(app->m_ImgSize[3 * 99], 512);
  EXPECT_EQ(app->m_ImgSize[3 * 80], 0);
  Updates(3);  // steps 7 to 9
  EXPECT_EQ(app->m_ImgSize[3 * 1], 24);
  EXPECT_EQ(app->m_ImgSize[3 * 2], 0);
  Updates(11);  // steps 10 to 20
  EXPECT_EQ(app->m_ImgSize[3 * 2], 24);
  EXPECT_EQ(app->m_ImgSize[3 * 5], 0);
}

TEST_F(Loader, LoadingScreenIsDrawnEveryStep) {
  app->p_OnCreate();
  app->p_FitScreen(640, 480);
  app->m_BgR = 80.0f;
  Update();
  EXPECT_FLOAT_EQ(app->m_BgR, 70.0f);  // fades toward black
  EXPECT_EQ(app->m_ClsR, 70.0f);
  EXPECT_EQ(app->m_Spin, 3);
  int ovals = 0, logos = 0, glyphs = 0;
  for (int i = 0; i < Commands(); ++i) {
    if (Cmd(i, 0) == LK_CMD_OVAL) ++ovals;
    if (Cmd(i, 0) == 93.0f) {
      ++logos;
      EXPECT_FLOAT_EQ(Cmd(i, 1), 320.0f);
      EXPECT_FLOAT_EQ(Cmd(i, 2), 480.0f * 0.48f);
      EXPECT_EQ(Cmd(i, 4), 2.0f);
    }
    if (Cmd(i, 0) == 90.0f) ++glyphs;
  }
  EXPECT_EQ(ovals, 33);
  EXPECT_EQ(logos, 1);
  EXPECT_EQ(glyphs, 10);  // "Loading..."
  // The first ring's innermost oval: angle 3 degrees, radius 0.45 of 480,
  // transparent; the outermost of the ring is opaque.
  EXPECT_NEAR(Cmd(0, 1), 320.0f + std::sin(3.0f * 0.0174532924f) * 216.0f, 1e-3);
  EXPECT_EQ(Cmd(0, 7), 0.0f);
  EXPECT_EQ(Cmd(10, 7), 1.0f);
  EXPECT_EQ(Cmd(0, 4), 16.0f);
}
