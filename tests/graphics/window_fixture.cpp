// The window fixture of the renderer tests.
#include "graphics/window_fixture.h"

#include <GLFW/glfw3.h>

#include <cstdlib>
#include <cstring>

#include "graphics/support.h"

BBGlfwGame* WindowTest::host = nullptr;
gxtkGraphics* WindowTest::renderer = nullptr;

void WindowTest::SetUpTestSuite() {
  InitCollector();
  ASSERT_TRUE(glfwInit()) << "no display (run under xvfb-run)";
  host = new BBGlfwGame;
  host->SetSwapInterval(0);
  ReopenWindow();
  ASSERT_NE(host->GlfwWindow(), nullptr);
  bb_graphics_Init();
  renderer = new gxtkGraphics;
  bb_graphics_SetGraphicsDevice(renderer);
}

void WindowTest::TearDownTestSuite() {
  bb_graphics_SetGraphicsDevice(nullptr);
  delete host;
  host = nullptr;
  glfwTerminate();
}

void WindowTest::ReopenWindow() {
  host->SetGlfwWindow(kWidth, kHeight, 8, 8, 8, 0, 0, 0, false);
}

void WindowTest::SetUp() { BeginFrame(); }

void WindowTest::TearDown() {
  bb_graphics_EndRender();
  if (!HasFailure()) return;
  // Keep what was on screen for diagnosis.
  Array<int> px(kWidth * kHeight);
  renderer->ReadPixels(px, 0, 0, kWidth, kHeight, 0, kWidth);
  std::vector<unsigned char> rgb(kWidth * kHeight * 3);
  for (int i = 0; i < kWidth * kHeight; ++i) {
    unsigned p = px[i];
    rgb[i * 3] = p >> 16 & 255;
    rgb[i * 3 + 1] = p >> 8 & 255;
    rgb[i * 3 + 2] = p & 255;
  }
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string path = TestDir("failures") + "/" + info->test_suite_name() + "." + info->name() + ".png";
  WritePng(path, kWidth, kHeight, 3, rgb);
  printf("actual picture written to %s\n", path.c_str());
}

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
  unsigned p = px[0];
  return {int(p >> 16 & 255), int(p >> 8 & 255), int(p & 255)};
}

::testing::AssertionResult WindowTest::PixelIs(int x, int y, Rgb want, int tolerance) {
  Rgb got = Pixel(x, y);
  if (std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
      std::abs(got.b - want.b) <= tolerance) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "pixel (" << x << ", " << y << ") is (" << got.r << ", " << got.g << ", " << got.b
         << "), expected (" << want.r << ", " << want.g << ", " << want.b << ")";
}

gxtkSurface* WindowTest::RgbaSurface(int w, int h, const std::vector<unsigned char>& rgba) {
  unsigned char* data = (unsigned char*)malloc(rgba.size());
  memcpy(data, rgba.data(), rgba.size());
  gxtkSurface* s = new gxtkSurface;
  EXPECT_TRUE(s->SetData(data, w, h, 4));
  return s;
}
