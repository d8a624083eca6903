// A real window (under Xvfb in CTest) with the host's window code, a renderer
// and the drawing API wired to it, plus pixel read-back helpers. A failing
// test leaves its picture in test-output/graphics/ for a look.
#pragma once

#include <gtest/gtest.h>

#include <string>

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
  void SetUp() override;
  void TearDown() override;

  // Starts a frame on a black window.
  void BeginFrame();
  // Ends the frame (flushing the batch) without swapping, so the back buffer
  // can still be read.
  void EndFrame();
  // Re-opens the window: a new GL context, as a full-screen switch does.
  static void ReopenWindow();

  Rgb Pixel(int x, int y);
  // Compares within `tolerance` per channel; reports the position on failure.
  ::testing::AssertionResult PixelIs(int x, int y, Rgb want, int tolerance = 0);
  // An RGBA surface from raw RGBA bytes (premultiplied on the way in).
  static gxtkSurface* RgbaSurface(int w, int h, const std::vector<unsigned char>& rgba);

  static BBGlfwGame* host;
  static gxtkGraphics* renderer;
};
