// Asset loading: the resolution level chosen by device size, file names,
// and a full load of one step per update recording the pictures' sizes.
#include "game_fixture.h"

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
  } sizes[] = {{1, 48, 48, 25}, {80, 256, 256, 64}, {90, 7, 10, 128}, {96, 16, 16, 256}, {98, 1024, 512, 1}};
  for (const Size& s : sizes) {
    EXPECT_EQ(app->m_ImgSize[3 * s.n], s.w) << "image " << s.n;
    EXPECT_EQ(app->m_ImgSize[3 * s.n + 1], s.h) << "image " << s.n;
    EXPECT_EQ(app->m_ImgSize[3 * s.n + 2], s.frames) << "image " << s.n;
  }
  // Missing files leave empty entries and the game goes on.
  EXPECT_EQ(app->m_Images[1], nullptr);
}
