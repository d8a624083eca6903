// The game in a real window (under Xvfb): the whole picture bank loads from
// the generated assets at two resolutions, and the recorded drawing is
// replayed at device scale with the border applied.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "game/my_app.h"

class Render : public ::testing::Test {
 protected:
  static BBGlfwGame* host;
  static gxtkGraphics* renderer;
  c_MyApp* app = nullptr;

  // The window and GLFW stay up until the process ends: shutting GLFW down
  // unloads the GL driver, and LeakSanitizer would then report the blocks the
  // driver never frees as leaks of an unknown module.
  static void SetUpTestSuite() {
    gc_init();
    ASSERT_TRUE(glfwInit()) << "no display (run under xvfb-run)";
    host = new BBGlfwGame;
    host->SetSwapInterval(0);
    bbInit();
    renderer = new gxtkGraphics;
    bb_graphics_SetGraphicsDevice(renderer);
    bb_input_SetInputDevice((new c_InputDevice())->m_new());
  }
  void SetUp() override {
    bb_Larkspin_Init();
    Window(320, 240);
    app = new c_MyApp();
  }
  void Window(int w, int h) {
    host->SetGlfwWindow(w, h, 8, 8, 8, 0, 0, 0, false);
    bb_app_ValidateDeviceWindow(false);
  }
  // A render as the framework's delegate does it, after an update if asked;
  // no swap, so the back buffer stays readable.
  void Frame(bool update) {
    if (update) {
      bb_input_device->p_BeginUpdate();
      app->p_OnUpdate();
      bb_input_device->p_EndUpdate();
    }
    bb_app_ValidateDeviceWindow(false);
    ASSERT_EQ(renderer->BeginRender(), 1);
    bb_graphics_BeginRender();
    app->p_OnRender();
    bb_graphics_EndRender();
    renderer->EndRender();
  }
  // The colour at a pixel as 0xRRGGBB, each channel rounded to 0 or 255.
  int Pixel(int x, int y) {
    Array<int> px(1);
    renderer->ReadPixels(px, x, y, 1, 1, 0, 1);
    int rgb = 0;
    for (int shift : {16, 8, 0}) rgb |= ((px[0] >> shift & 255) > 127 ? 255 : 0) << shift;
    return rgb;
  }
};

BBGlfwGame* Render::host = nullptr;
gxtkGraphics* Render::renderer = nullptr;

TEST_F(Render, PicturesLoadAtTheLevelOfTheWindow) {
  app->p_OnCreate();
  for (int level : {1, 4}) {
    if (level == 4) Window(1280, 720);  // reloads everything while the game goes on
    for (int i = 0; i < 23; ++i) Frame(true);
    EXPECT_EQ(app->m_LoadStep, 0);
    EXPECT_EQ(app->m_HDLevel, level);
    for (int n : {1, 2, 5, 80, 81, 85, 86, 90, 93, 94, 95, 96, 97, 98, 99})
      EXPECT_NE(app->m_Images[n], nullptr) << "image " << n;
    ASSERT_NE(app->m_Images[1], nullptr);
    EXPECT_EQ(app->m_Images[1]->m_width, 12 * level);
    EXPECT_EQ(app->m_Images[1]->m_frames.Length(), 25);
  }
}

TEST_F(Render, ReplayScalesShapesToTheDeviceInsideTheBorder) {
  bb_Larkspin_overscan = 16.0f;  // scale (320 - 32) / 640, rows offset by 12
  app->p_CLS2D(0, 0, 0, 1);
  app->p_SetCol(255, 0, 0);
  app->p_Rect(100, 100, 40, 40);
  app->p_SetCol(0, 255, 0);
  app->p_Oval(400, 200, 20, 10);
  app->p_SetCol(0, 0, 255);
  for (float y = 396; y <= 404; y += 1) app->p_Line(100, y, 600, y);
  for (int n : {-1, 3, 250}) app->p_DrawImg(n, 10, 10, 0);  // nothing loaded there: draws nothing
  app->p_DrawImg(1, 100, 100, 99);                          // nor does a frame it lacks
  Frame(false);
  const int probes[][3] = {{70, 66, 0xff0000}, {59, 66, 0}, {196, 102, 0x00ff00}, {196, 96, 0},
                           {275, 192, 0x0000ff}, {290, 192, 0}, {8, 8, 0}};
  for (auto& p : probes) EXPECT_EQ(Pixel(p[0], p[1]), p[2]) << p[0] << "," << p[1];
}
