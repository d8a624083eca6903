// The window fixture of the renderer tests.
#include "graphics/window_fixture.h"

#include <GLFW/glfw3.h>

#include <cstdlib>
#include <cstring>


BBGlfwGame* WindowTest::host = nullptr;
gxtkGraphics* WindowTest::renderer = nullptr;

void WindowTest::SetUpTestSuite() {
  if (!host) {
    gc_init();
    ASSERT_TRUE(glfwInit()) << "no display (run under xvfb-run)";
    host = new BBGlfwGame;
    host->SetSwapInterval(0);
    host->SetGlfwWindow(kWidth, kHeight, 8, 8, 8, 0, 0, 0, false);
    ASSERT_NE(host->GlfwWindow(), nullptr);
    bb_graphics_Init();
    renderer = new gxtkGraphics;
  }
  bb_graphics_SetGraphicsDevice(renderer);
}

// The window and GLFW stay up until the process ends: shutting the GL
// driver down unloads it, and the sanitizer then reports what the driver
// keeps for itself as leaks it can no longer attribute.
void WindowTest::TearDownTestSuite() { bb_graphics_SetGraphicsDevice(nullptr); }

void WindowTest::TearDown() { bb_graphics_EndRender(); }

void WindowTest::BeginFrame() {
  ASSERT_EQ(renderer->BeginRender(), 1);
  bb_graphics_BeginRender();
  renderer->Cls(0, 0, 0);
}

void WindowTest::EndFrame() {
  bb_graphics_EndRender();
  renderer->EndRender();
}

Rgb WindowTest::Pixel(int x, int y) {
  Array<int> px(1);
  renderer->ReadPixels(px, x, y, 1, 1, 0, 1);
  return {px[0] >> 16 & 255, px[0] >> 8 & 255, px[0] & 255};
}

::testing::AssertionResult WindowTest::PixelIs(int x, int y, Rgb want, int tolerance) {
  Rgb got = Pixel(x, y);
  if (std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
      std::abs(got.b - want.b) <= tolerance) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is (" << got.r
                                       << ", " << got.g << ", " << got.b << "), expected ("
                                       << want.r << ", " << want.g << ", " << want.b << ")";
}

gxtkSurface* WindowTest::RgbaSurface(int w, int h, const std::vector<unsigned char>& rgba) {
  unsigned char* data = (unsigned char*)malloc(rgba.size());
  memcpy(data, rgba.data(), rgba.size());
  gxtkSurface* s = new gxtkSurface;
  EXPECT_TRUE(s->SetData(data, w, h, 4));
  return s;
}
