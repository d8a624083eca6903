// The game in a real window (under Xvfb): the whole picture bank loads from
// the generated assets at two resolutions, and the recorded drawing is
// replayed at device scale with the border and blending applied.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <cstdlib>

#include "game/my_app.h"

namespace {

struct Rgb {
  int r, g, b;
};

}  // namespace

class Render : public ::testing::Test {
 protected:
  static BBGlfwGame* host;
  static gxtkGraphics* renderer;
  c_MyApp* app = nullptr;

  static void SetUpTestSuite() {
    gc_init();
    ASSERT_TRUE(glfwInit()) << "no display (run under xvfb-run)";
    host = new BBGlfwGame;
    host->SetSwapInterval(0);
    host->SetGlfwWindow(320, 240, 8, 8, 8, 0, 0, 0, false);
    ASSERT_NE(host->GlfwWindow(), nullptr);
    bbInit();
    renderer = new gxtkGraphics;
    bb_graphics_SetGraphicsDevice(renderer);
    bb_input_SetInputDevice((new c_InputDevice())->m_new());
  }
  // The window and GLFW stay up until the process ends: shutting GLFW down
  // unloads the GL driver, and LeakSanitizer would then report the blocks the
  // driver never frees as leaks of an unknown module.
  static void TearDownTestSuite() { bb_graphics_SetGraphicsDevice(nullptr); }
  void SetUp() override {
    bb_Larkspin_Init();
    Window(320, 240);
    app = new c_MyApp();
  }
  void Window(int w, int h) {
    host->SetGlfwWindow(w, h, 8, 8, 8, 0, 0, 0, false);
    bb_app_ValidateDeviceWindow(false);
  }
  void Update() {
    bb_input_device->p_BeginUpdate();
    app->p_OnUpdate();
    bb_input_device->p_EndUpdate();
  }
  // One render as the framework's delegate does it; no swap, so the back
  // buffer stays readable.
  void Frame() {
    bb_app_ValidateDeviceWindow(false);
    ASSERT_EQ(renderer->BeginRender(), 1);
    bb_graphics_BeginRender();
    app->p_OnRender();
    bb_graphics_EndRender();
    renderer->EndRender();
  }
  Rgb Pixel(int x, int y) {
    Array<int> px(1);
    renderer->ReadPixels(px, x, y, 1, 1, 0, 1);
    return {px[0] >> 16 & 255, px[0] >> 8 & 255, px[0] & 255};
  }
  ::testing::AssertionResult PixelIs(int x, int y, Rgb want) {
    Rgb got = Pixel(x, y);
    if (std::abs(got.r - want.r) <= 2 && std::abs(got.g - want.g) <= 2 && std::abs(got.b - want.b) <= 2)
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << x << "," << y << ") is " << got.r << "," << got.g << "," << got.b;
  }
  void ExpectWholeBank(int frameWidthOfGfx) {
    for (int n : {1, 2, 5, 80, 81, 85, 86, 90, 93, 94, 95, 96, 97, 98, 99})
      EXPECT_NE(app->m_Images[n], nullptr) << "image " << n;
    ASSERT_NE(app->m_Images[1], nullptr);
    EXPECT_EQ(app->m_Images[1]->m_width, frameWidthOfGfx);
    EXPECT_EQ(app->m_Images[1]->m_frames.Length(), 25);
  }
};

BBGlfwGame* Render::host = nullptr;
gxtkGraphics* Render::renderer = nullptr;

TEST_F(Render, PicturesLoadAtTheLevelOfTheWindow) {
  app->p_OnCreate();
  for (int i = 0; i < 22; ++i) {
    Frame();
    Update();
  }
  EXPECT_EQ(app->m_LoadStep, 0);
  EXPECT_EQ(app->m_HDLevel, 1);
  ExpectWholeBank(12);
  // Frames a picture does not have draw nothing (gfx has 25).
  app->p_CLS2D(0, 0, 0, 1);
  app->p_DrawImg(1, 100, 100, 99);
  app->p_DrawImg(1, 100, 100, -2);
  Frame();
  EXPECT_TRUE(PixelIs(50, 50, {0, 0, 0}));

  // A larger window reloads everything at level 4 while the game goes on.
  Window(1280, 720);
  Frame();
  EXPECT_EQ(app->m_LoadStep, 1);
  for (int i = 0; i < 22; ++i) {
    Update();
    Frame();
  }
  EXPECT_EQ(app->m_LoadStep, 0);
  EXPECT_EQ(app->m_HDLevel, 4);
  ExpectWholeBank(48);
  EXPECT_NEAR(bb_Larkspin_jscrh, 360.0f, 1e-3);
}

TEST_F(Render, ReplayScalesShapesToTheDevice) {
  app->p_CLS2D(0, 0, 0, 1);
  app->p_SetCol(255, 0, 0);
  app->p_Rect(100, 100, 40, 40);
  app->p_SetCol(0, 255, 0);
  app->p_Oval(400, 200, 20, 10);
  app->p_SetCol(0, 0, 255);
  app->p_Tri(500, 400, 600, 400, 600, 470);
  app->p_DrawImg(3, 10, 10, 0);  // nothing loaded there: draws nothing
  Frame();                        // the window is half the design size
  EXPECT_TRUE(PixelIs(60, 60, {255, 0, 0}));
  EXPECT_TRUE(PixelIs(48, 48, {0, 0, 0}));
  EXPECT_TRUE(PixelIs(200, 100, {0, 255, 0}));
  EXPECT_TRUE(PixelIs(200, 93, {0, 0, 0}));  // radius y is 5 pixels
  EXPECT_TRUE(PixelIs(295, 210, {0, 0, 255}));
  EXPECT_TRUE(PixelIs(255, 230, {0, 0, 0}));
  EXPECT_TRUE(PixelIs(5, 5, {0, 0, 0}));

  // The list stays and is replayed again by every render.
  Frame();
  EXPECT_TRUE(PixelIs(60, 60, {255, 0, 0}));
}
