// The renderer and the drawing API in a real window (under Xvfb in CTest):
// what reaches OpenGL (draw calls and why they break) and what lands in
// the framebuffer.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <functional>

#include "graphics/gl.h"
#include "graphics/graphics.h"
#include "host/glfw_game.h"

namespace {

struct Rgb {
  int r, g, b;
};
const Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255};
const int kWidth = 256, kHeight = 192;

Array<float> Floats(std::initializer_list<float> values) {
  Array<float> a(int(values.size()));
  std::copy(values.begin(), values.end(), a.Data());
  return a;
}

gxtkSurface* RgbaSurface(int w, int h, const std::vector<unsigned char>& rgba) {
  unsigned char* data = (unsigned char*)malloc(rgba.size());
  std::copy(rgba.begin(), rgba.end(), data);
  gxtkSurface* s = new gxtkSurface;
  EXPECT_TRUE(s->SetData(data, w, h, 4));
  return s;
}

class Render : public ::testing::Test {
 protected:
  // The window and GLFW stay up until the process ends: shutting the GL
  // driver down unloads it, and the sanitizer then reports what the driver
  // keeps for itself as leaks it can no longer attribute.
  static void SetUpTestSuite() {
    if (host) return;
    gc_init();
    ASSERT_TRUE(glfwInit()) << "no display (run under xvfb-run)";
    host = new BBGlfwGame;
    host->SetSwapInterval(0);
    host->SetGlfwWindow(kWidth, kHeight, 8, 8, 8, 0, 0, 0, false);
    bb_graphics_Init();
    bb_graphics_SetGraphicsDevice(renderer = new gxtkGraphics);
  }
  void SetUp() override { BeginFrame(); }
  void TearDown() override { bb_graphics_EndRender(); }
  void BeginFrame() {  // on a black window
    ASSERT_EQ(renderer->BeginRender(), 1);
    bb_graphics_BeginRender();
    renderer->Cls(0, 0, 0);
  }
  void EndFrame() {  // flushes; no swap, so the back buffer stays readable
    bb_graphics_EndRender();
    renderer->EndRender();
  }
  const gxtkRenderStats& Frame(const std::function<void()>& draw) {
    BeginFrame(), draw(), EndFrame();
    return gxtkFrameStats();
  }
  Rgb Pixel(int x, int y) {
    Array<int> px(1);
    renderer->ReadPixels(px, x, y, 1, 1, 0, 1);
    return {px[0] >> 16 & 255, px[0] >> 8 & 255, px[0] & 255};
  }
  ::testing::AssertionResult PixelIs(int x, int y, Rgb want, int tolerance = 0) {
    Rgb got = Pixel(x, y);
    if (abs(got.r - want.r) <= tolerance && abs(got.g - want.g) <= tolerance && abs(got.b - want.b) <= tolerance)
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is (" << got.r << ", " << got.g
                                         << ", " << got.b << ")";
  }
  static inline BBGlfwGame* host = nullptr;
  static inline gxtkGraphics* renderer = nullptr;
};

TEST_F(Render, BatchesGoOutOnlyWhenTheyMust) {
  gxtkSurface* a = RgbaSurface(2, 1, {255, 0, 0, 255, 0, 255, 0, 255});
  gxtkSurface* b = RgbaSurface(1, 1, {0, 0, 255, 255});
  Array<float> tri = Floats({10, 10, 30, 10, 10, 30}), pent = Floats({100, 100, 120, 100, 125, 115, 110, 125, 95, 115});
  const struct {
    const char* what;
    std::function<void()> draw;
    int drawCalls, vertices, cause, byCause;
    int x, y;
    Rgb colour;  // at (x, y)
  } rows[] = {
      {"256 quads, then 44", [] { for (int i = 0; i < 300; ++i) renderer->DrawRect(i % 20 * 12, i / 20 * 12, 10, 10); },
       2, 1200, gxtkFlushFull, 1, 19 * 12 + 9, 14 * 12 + 9, kWhite},
      {"kinds alternate", [] { renderer->DrawPoint(1, 1), renderer->DrawRect(5, 5, 2, 2), renderer->DrawPoint(3, 3); },
       3, 6, gxtkFlushKind, 2, 5, 5, kWhite},
      {"two frames of one texture", [&] { renderer->DrawSurface2(a, 10, 10, 0, 0, 1, 1), renderer->DrawSurface2(a, 20, 10, 1, 0, 1, 1); },
       1, 8, gxtkFlushTexture, 0, 20, 10, kGreen},
      {"textures alternate", [&] { renderer->DrawSurface(a, 10, 10), renderer->DrawSurface(b, 20, 10), renderer->DrawSurface(a, 30, 10); },
       3, 12, gxtkFlushTexture, 2, 31, 10, kGreen},
      // Triangles join one batch, each larger polygon is a fan; a polygon of
      // under three points or over the batch is dropped.
      {"polygons", [&] { renderer->DrawPoly(tri), renderer->DrawPoly(tri), renderer->DrawPoly(pent), renderer->DrawPoly(pent),
                          renderer->DrawPoly(Floats({1})), renderer->DrawPoly(Array<float>(2 * 1025)); },
       3, 16, gxtkFlushKind, 1, 12, 12, kWhite},
      {"cleared before sent", [] { renderer->DrawRect(0, 0, 50, 50), renderer->Cls(0, 0, 255); },
       0, 0, gxtkFlushKind, 0, 10, 10, kBlue},
      // Ovals get segments by their size on screen, at most a batch.
      {"small oval", [] { renderer->DrawOval(0, 0, 10, 10); }, 1, 12, gxtkFlushKind, 0, 5, 5, kWhite},
      {"larger oval", [] { renderer->DrawOval(0, 0, 30, 30); }, 1, 28, gxtkFlushKind, 0, 15, 15, kWhite},
      {"flat oval", [] { renderer->DrawOval(0, 0, 31, 9); }, 1, 16, gxtkFlushKind, 0, 15, 4, kWhite},
      {"huge oval", [] { renderer->DrawOval(0, 0, 5000, 5000); }, 1, 1024, gxtkFlushKind, 0, 0, 0, kBlack},
      {"scaled oval", [] { renderer->SetMatrix(3, 0, 0, 3, 0, 0), renderer->DrawOval(0, 0, 10, 10), renderer->SetMatrix(1, 0, 0, 1, 0, 0); },
       1, 28, gxtkFlushKind, 0, 15, 15, kWhite},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const gxtkRenderStats& s = Frame(row.draw);
    EXPECT_EQ(s.drawCalls, row.drawCalls);
    EXPECT_EQ(s.vertices, row.vertices);
    EXPECT_EQ(s.flushesBy[row.cause], row.byCause);
    EXPECT_TRUE(PixelIs(row.x, row.y, row.colour));
  }
  Frame([] { renderer->DrawRect(0, 0, 50, 50), renderer->Cls(0, 0, 0); });
  EXPECT_EQ(gxtkFrameStats().droppedVertices, 4);
}

TEST_F(Render, PrimitivesCoverTheirPixelsInsideTheScissor) {
  renderer->DrawPoint(10, 10);
  renderer->DrawLine(20, 30, 30, 30);
  renderer->DrawRect(40, 40, 3, 2);
  renderer->SetMatrix(0, 1, -1, 0, 100, 100);  // quarter turn, on the CPU
  renderer->DrawRect(0, 0, 8, 2);
  renderer->SetMatrix(1, 0, 0, 1, 0, 0);
  bb_graphics_DrawEllipse(200, 50, 10, 5);
  renderer->SetScissor(150, 120, 30, 40);  // given top down
  renderer->DrawRect(0, 0, kWidth, kHeight);
  renderer->SetScissor(0, 0, renderer->Width(), renderer->Height());
  EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
  EndFrame();
  int lit = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x) lit += Pixel(x, y).r > 0;
  EXPECT_EQ(lit, 1 + 10 + 6);  // point, line without its last pixel, 3x2 rectangle
  for (auto [x, y] : {std::pair{10, 10}, {29, 30}, {42, 41}, {98, 107}, {191, 50}, {150, 120}, {179, 159}})
    EXPECT_TRUE(PixelIs(x, y, kWhite));
  for (auto [x, y] : {std::pair{105, 101}, {188, 50}, {211, 50}, {200, 43}, {200, 56}, {149, 120}, {150, 119},
                      {180, 120}, {150, 160}})
    EXPECT_TRUE(PixelIs(x, y, kBlack));
}

TEST_F(Render, BlendingWorksOnPremultipliedColour) {
  renderer->Cls(255, 255, 255);
  renderer->SetColor(200, 100, 50);
  renderer->SetAlpha(0.5f);
  renderer->DrawRect(0, 0, 4, 4);
  renderer->SetAlpha(1);
  renderer->SetColor(255, 255, 255);
  renderer->DrawSurface(RgbaSurface(2, 1, {200, 100, 50, 128, 0, 0, 255, 255}), 10, 0);
  renderer->SetColor(100, 0, 0);
  renderer->DrawRect(20, 0, 8, 8);
  renderer->SetBlend(1);  // additive
  renderer->SetColor(100, 50, 0);
  renderer->DrawRect(20, 0, 8, 8);
  renderer->SetColor(200, 200, 200);
  renderer->DrawRect(20, 0, 4, 4);  // saturates
  renderer->SetAlpha(0.5f);
  renderer->SetColor(0, 100, 0);
  renderer->DrawRect(40, 0, 2, 2);  // adds the alpha-scaled colour
  EndFrame();
  // src + dst * (1 - src alpha), src already multiplied by its alpha
  EXPECT_TRUE(PixelIs(1, 1, {100 + 128, 50 + 128, 25 + 128}, 1));
  EXPECT_TRUE(PixelIs(10, 0, {100 + 127, 50 + 127, 25 + 127}, 1));
  EXPECT_TRUE(PixelIs(11, 0, kBlue));
  EXPECT_TRUE(PixelIs(25, 5, {200, 50, 0}));
  EXPECT_TRUE(PixelIs(21, 1, {255, 250, 200}));
  EXPECT_TRUE(PixelIs(40, 0, {255, 255, 255}));
}

TEST_F(Render, ReadAndWritePixels) {
  renderer->SetColor(255, 0, 0);
  renderer->DrawRect(3, 4, 1, 1);
  Array<int> px(12);
  std::fill_n(px.Data(), 12, -1);
  renderer->ReadPixels(px, 3, 4, 2, 2, 5, 3);  // flushes first
  EXPECT_EQ(std::vector<int>(px.Data() + 5, px.Data() + 9), (std::vector<int>{int(0xFFFF0000u), int(0xFF000000u), -1, int(0xFF000000u)}));
  renderer->ReadPixels(px, 0, 0, 4, 4, 0, 4);  // does not fit the array
  renderer->ReadPixels(px, 0, 0, 2, 2, -1, 2);
  EXPECT_EQ(px[0], -1);

  gxtkSurface* s = renderer->CreateSurface(4, 3);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(renderer->CreateSurface(0, 5), nullptr);
  EXPECT_EQ(renderer->CreateSurface(100000, 5), nullptr);
  Array<int> src(12), white(4);
  for (int i = 0; i < 12; ++i) src[i] = int(0xFF000000u | (i * 20u) << 16 | (255 - i * 20u));
  std::fill_n(white.Data(), 4, -1);
  int uploads = gxtkFrameStats().textureUploads;
  renderer->WritePixels2(s, src, 0, 0, 4, 3, 0, 4);
  EXPECT_EQ(gxtkFrameStats().textureUploads - uploads, 1);  // whole rows in one call
  renderer->WritePixels2(s, white, 1, 1, 2, 2, 0, 2);
  EXPECT_EQ(gxtkFrameStats().textureUploads - uploads, 3);  // then row by row
  renderer->WritePixels2(s, white, 0, 0, 4, 3, 0, 4);       // source too short
  EXPECT_EQ(gxtkFrameStats().textureUploads - uploads, 3);
  renderer->SetColor(255, 255, 255);
  renderer->DrawSurface(s, 50, 50);
  Array<int> back(12);
  renderer->ReadPixels(back, 50, 50, 4, 3, 0, 4);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(back[i], i / 4 >= 1 && (i % 4 == 1 || i % 4 == 2) ? -1 : src[i]) << i;
}

TEST_F(Render, SurfaceSurvivesWindowReopen) {
  gxtkSurface* s = RgbaSurface(2, 2, {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255});
  renderer->DrawSurface(s, 10, 10);
  EndFrame();
  EXPECT_EQ(gxtkFrameStats().texturesMade, 1);
  host->SetGlfwWindow(kWidth, kHeight, 8, 8, 8, 0, 0, 0, false);  // a new GL context
  for (int frame = 0; frame < 2; ++frame) {
    EXPECT_EQ(Frame([&] { renderer->DrawSurface(s, 20, 20), renderer->DrawSurface(s, 30, 20); }).texturesMade,
              frame == 0 ? 1 : 0);  // re-made once
    EXPECT_TRUE(PixelIs(20, 20, kRed));
    EXPECT_TRUE(PixelIs(31, 21, kWhite));
    EXPECT_TRUE(PixelIs(30, 21, kBlue));
  }
  // New pixels for a surface with a texture replace what it shows.
  unsigned char* green = (unsigned char*)calloc(4, 4);
  for (int i = 0; i < 4; ++i) green[i * 4 + 1] = green[i * 4 + 3] = 255;
  unsigned oldName = s->texture;
  ASSERT_TRUE(s->SetData(green, 2, 2, 4));
  Frame([&] { renderer->DrawSurface(s, 20, 20); });
  EXPECT_TRUE(PixelIs(20, 20, kGreen));
  EXPECT_FALSE(glIsTexture(oldName));  // the replaced texture was deleted
  BeginFrame();
}

// Images land at their handles, turn about them, and frames of one image
// go out in one draw call; the matrix reaches the renderer with a draw.
TEST_F(Render, ImagesThroughTheDrawingApi) {
  // Four 4x4 frames, each with a white pixel of padding left and right.
  const Rgb colours[4] = {kRed, kGreen, kBlue, {255, 255, 0}};
  std::vector<unsigned char> px;
  for (int i = 0; i < 24 * 4; ++i) {
    Rgb c = i % 6 == 0 || i % 6 == 5 ? kWhite : colours[i % 24 / 6];
    px.insert(px.end(), {(unsigned char)c.r, (unsigned char)c.g, (unsigned char)c.b, 255});
  }
  c_Image* strip = (new c_Image)->m_new()->p_Init(RgbaSurface(24, 4, px), 4, c_Image::XPadding);
  for (int f = 0; f < 4; ++f) bb_graphics_DrawImage(strip, 10 + f * 10, 10, f);
  EndFrame();
  EXPECT_EQ(gxtkFrameStats().drawCalls, 1);
  for (int f = 0; f < 4; ++f) {
    EXPECT_TRUE(PixelIs(10 + f * 10, 10, colours[f]) && PixelIs(13 + f * 10, 13, colours[f])) << f;
    EXPECT_TRUE(PixelIs(14 + f * 10, 10, kBlack)) << f;
  }
  // 32x16, left half red and right half green, handle in the middle.
  px.assign(32 * 16 * 4, 255);
  for (int i = 0; i < 32 * 16; ++i) px[i * 4 + (i % 32 < 16 ? 1 : 0)] = px[i * 4 + 2] = 0;
  c_Image* halves = (new c_Image)->m_new()->p_Init(RgbaSurface(32, 16, px), 1, c_Image::MidHandle);
  BeginFrame();
  bb_graphics_DrawImage2(halves, 100, 100, 90, 1, 1, 0);
  bb_graphics_DrawImage2(halves, 180, 60, 0, 2, 0.5f, 0);
  bb_graphics_Translate(30, 140);
  bb_graphics_DrawImage(halves, 70, 20, 0);
  EXPECT_EQ(renderer->tx, 30);
  EndFrame();
  // Unturned, the handle's pixel is the image's middle, edges exact.
  for (auto [x, y] : {std::pair{84, 152}, {100, 106}, {106, 114}, {149, 57}}) EXPECT_TRUE(PixelIs(x, y, kRed));
  // A quarter turn counter-clockwise: the right (green) half points up.
  for (auto [x, y] : {std::pair{115, 167}, {100, 90}, {93, 85}, {210, 63}}) EXPECT_TRUE(PixelIs(x, y, kGreen));
  // Twice as wide and half as high, still centred on the handle.
  for (auto [x, y] : {std::pair{83, 152}, {84, 151}, {116, 167}, {115, 168}, {91, 100}, {100, 83}, {108, 100},
                      {147, 60}, {212, 60}, {180, 55}, {180, 64}})
    EXPECT_TRUE(PixelIs(x, y, kBlack));
}

// State set in one frame (colour, alpha, blend, scissor, matrix) does not
// leak into the next.
TEST_F(Render, EveryFrameStartsFromTheSameState) {
  bb_graphics_SetColor(10, 20, 30);
  bb_graphics_SetAlpha(0.25f);
  bb_graphics_SetBlend(1);
  bb_graphics_SetScissor(5.9f, 6.2f, 50.7f, 40);
  int box[4];
  glGetIntegerv(GL_SCISSOR_BOX, box);
  EXPECT_EQ(std::vector<int>(box, box + 4), std::vector<int>({5, kHeight - 6 - 40, 50, 40}));
  bb_graphics_PushMatrix();
  bb_graphics_Rotate(45);
  EndFrame();
  Frame([] { bb_graphics_DrawRect(0, 0, 1, 1), bb_graphics_DrawRect(100, 100, 1, 1); });
  EXPECT_TRUE(PixelIs(0, 0, kWhite));
  EXPECT_TRUE(PixelIs(100, 100, kWhite));
  EXPECT_EQ(bb_graphics_context->m_matrixSp, 0);
  EXPECT_EQ(bb_graphics_CreateImage(1 << 20, 4, 1 << 12, 0), nullptr);
}

}  // namespace
