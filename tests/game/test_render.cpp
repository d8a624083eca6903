// The game in a real window (under Xvfb): the whole picture bank loads from
// the generated assets at level 1, a drawing is replayed inside a border of
// 16 (scale (320 - 32) / 640, rows offset by 12), and a larger window
// reloads everything at level 4 while the game goes on.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "game/my_app.h"

TEST(Render, PicturesLoadAtTheLevelOfTheWindowAndTheReplayFitsTheBorder) {
  gc_init();
  // GLFW stays up until the process ends: shutting it down unloads the GL
  // driver, and LeakSanitizer would report the driver's blocks as leaks.
  ASSERT_TRUE(glfwInit()) << "no display (run under xvfb-run)";
  BBGlfwGame* host = new BBGlfwGame;
  host->SetSwapInterval(0);
  bbInit();
  gxtkGraphics* renderer = new gxtkGraphics;
  bb_graphics_SetGraphicsDevice(renderer);
  bb_input_SetInputDevice((new c_InputDevice())->m_new());
  bb_Larkspin_Init();
  c_MyApp* app = new c_MyApp();
  auto frame = [&](bool update) {  // as the framework's delegate does it, without the swap
    if (update) bb_input_device->p_BeginUpdate(), app->p_OnUpdate(), bb_input_device->p_EndUpdate();
    bb_app_ValidateDeviceWindow(false);
    ASSERT_EQ(renderer->BeginRender(), 1);
    bb_graphics_BeginRender();
    app->p_OnRender();
    bb_graphics_EndRender();
    renderer->EndRender();
  };
  auto pixel = [&](int x, int y) {  // as 0xRRGGBB, each channel rounded to 0 or 255
    Array<int> px(1);
    renderer->ReadPixels(px, x, y, 1, 1, 0, 1);
    return (px[0] & 0x808080) / 128 * 255;
  };
  app->p_OnCreate();
  for (int level : {1, 4}) {
    host->SetGlfwWindow(320 * level, 240 * level, 8, 8, 8, 0, 0, 0, false);
    for (int i = 0; i < 23; ++i) frame(true);
    EXPECT_EQ(std::make_pair(app->m_LoadStep, app->m_HDLevel), std::make_pair(0, level));
    for (int n : {1, 2, 5, 80, 81, 85, 86, 90, 93, 94, 95, 96, 97, 98, 99}) ASSERT_NE(app->m_Images[n], nullptr) << n;
    EXPECT_EQ(std::make_pair(app->m_Images[1]->m_width, app->m_Images[1]->m_frames.Length()), std::make_pair(12 * level, 25));
    if (level == 4) break;
    bb_Larkspin_overscan = 16.0f;
    app->p_CLS2D(0, 0, 0, 1);
    app->p_SetCol(255, 0, 0), app->p_Rect(100, 100, 40, 40);
    app->p_SetCol(0, 255, 0), app->p_Oval(400, 200, 20, 10);
    app->p_SetCol(0, 0, 255);
    for (float y = 396; y <= 404; y += 1) app->p_Line(100, y, 600, y);
    for (int n : {-1, 250}) app->p_DrawImg(n, 10, 10, 0);  // no picture there: draws nothing
    app->p_DrawImg(1, 100, 100, 99);                       // nor does a frame it lacks
    frame(false);
    const int probes[][3] = {{70, 66, 0xff0000}, {59, 66, 0}, {196, 102, 0x00ff00}, {196, 96, 0},
                             {275, 192, 0x0000ff}, {290, 192, 0}, {8, 8, 0}};
    for (auto& p : probes) EXPECT_EQ(pixel(p[0], p[1]), p[2]) << p[0] << "," << p[1];
    bb_Larkspin_overscan = 0.0f;
  }
  bb_graphics_SetGraphicsDevice(nullptr);
}
