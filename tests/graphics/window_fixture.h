// A real window (under Xvfb in CTest) opened by the host's window code, with
// a renderer and the drawing API wired to it.
#pragma once

#include <gtest/gtest.h>

#include "graphics/graphics.h"
#include "host/glfw_game.h"

struct Rgb {
  int r, g, b;
};

class WindowTest : public ::testing::Test {
 public:
  static constexpr int kWidth = 256;
  static constexpr int kHeight = 192;

 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override { BeginFrame(); }
  void TearDown() override;

  void BeginFrame();  // on a black window
  void EndFrame();    // flushes; no swap, so the back buffer stays readable
  Rgb Pixel(int x, int y);
  ::testing::AssertionResult PixelIs(int x, int y, Rgb want, int tolerance = 0);
  static gxtkSurface* RgbaSurface(int w, int h, const std::vector<unsigned char>& rgba);

  static BBGlfwGame* host;
  static gxtkGraphics* renderer;
};
