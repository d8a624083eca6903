// The renderer and the drawing API in a real window (under Xvfb in CTest):
// what reaches OpenGL (draw calls and why batches break) and what lands in
// the framebuffer.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <functional>

#include "graphics/gl.h"
#include "graphics/graphics.h"
#include "host/glfw_game.h"

namespace {

const int kWidth = 256, kHeight = 192;
const char *kBlack = "0 0 0", *kWhite = "255 255 255", *kRed = "255 0 0", *kGreen = "0 255 0", *kBlue = "0 0 255";
using Points = std::initializer_list<std::pair<int, int>>;

gxtkSurface* RgbaSurface(int w, int h, const std::vector<unsigned char>& rgba) {
  gxtkSurface* s = new gxtkSurface;
  EXPECT_TRUE(s->SetData((unsigned char*)memcpy(malloc(rgba.size()), rgba.data(), rgba.size()), w, h, 4));
  return s;
}

class Render : public ::testing::Test {
 protected:
  // The window and GLFW stay up until the process ends: shutting the GL
  // driver down unloads it, and the sanitizer then reports what the driver
  // keeps for itself as leaks it can no longer attribute.
  static void SetUpTestSuite() {
    gc_init();
    ASSERT_TRUE(glfwInit()) << "no display (run under xvfb-run)";
    (host = new BBGlfwGame)->SetSwapInterval(0);
    host->SetGlfwWindow(kWidth, kHeight, 8, 8, 8, 0, 0, 0, false);
    bb_graphics_Init(), bb_graphics_SetGraphicsDevice(renderer = new gxtkGraphics);
  }
  void SetUp() override { BeginFrame(); }
  void TearDown() override { bb_graphics_EndRender(); }
  void BeginFrame() {  // on a black window
    ASSERT_EQ(renderer->BeginRender(), 1);
    bb_graphics_BeginRender(), renderer->Cls(0, 0, 0);
  }
  // Flushes; no swap, so the back buffer stays readable.
  void EndFrame() { bb_graphics_EndRender(), renderer->EndRender(); }
  const gxtkRenderStats& Frame(const std::function<void()>& draw) {
    BeginFrame(), draw(), EndFrame();
    return gxtkFrameStats();
  }
  // The pixel at (x, y) as "r g b".
  static std::string Px(int x, int y) {
    Array<int> px(1);
    renderer->ReadPixels(px, x, y, 1, 1, 0, 1);
    return std::to_string(px[0] >> 16 & 255) + " " + std::to_string(px[0] >> 8 & 255) + " " + std::to_string(px[0] & 255);
  }
  static void Expect(const char* colour, Points points) {
    for (auto [x, y] : points) EXPECT_EQ(Px(x, y), colour) << "at " << x << ", " << y;
  }
  static inline BBGlfwGame* host = nullptr;
  static inline gxtkGraphics* renderer = nullptr;
};

TEST_F(Render, BatchesGoOutOnlyWhenTheyMust) {
  gxtkSurface* a = RgbaSurface(2, 1, {255, 0, 0, 255, 0, 255, 0, 255});
  gxtkSurface* b = RgbaSurface(1, 1, {0, 0, 255, 255});
  Array<float> tri(6), pent(10), dot(1), huge(2 * 1025);
  const float triangle[] = {10, 10, 30, 10, 10, 30}, pentagon[] = {100, 100, 120, 100, 125, 115, 110, 125, 95, 115};
  std::copy(triangle, triangle + 6, tri.Data()), std::copy(pentagon, pentagon + 10, pent.Data());
  gxtkGraphics* r = renderer;
  const struct {
    const char* what;
    std::function<void()> draw;
    int drawCalls, vertices, cause, byCause, x, y;
    const char* colour;  // at (x, y)
  } rows[] = {
      {"256 quads, then 44", [&] { for (int i = 0; i < 300; ++i) r->DrawRect(i % 20 * 12, i / 20 * 12, 10, 10); },
       2, 1200, gxtkFlushFull, 1, 19 * 12 + 9, 14 * 12 + 9, kWhite},
      {"kinds alternate", [&] { r->DrawPoint(1, 1), r->DrawRect(5, 5, 2, 2), r->DrawPoint(3, 3); },
       3, 6, gxtkFlushKind, 2, 5, 5, kWhite},
      {"frames of one texture", [&] { r->DrawSurface2(a, 10, 10, 0, 0, 1, 1), r->DrawSurface2(a, 20, 10, 1, 0, 1, 1); },
       1, 8, gxtkFlushTexture, 0, 20, 10, kGreen},
      {"textures alternate", [&] { r->DrawSurface(a, 10, 10), r->DrawSurface(b, 20, 10), r->DrawSurface(a, 30, 10); },
       3, 12, gxtkFlushTexture, 2, 31, 10, kGreen},
      // Triangles join one batch, a larger polygon is a fan of its own; one
      // of under three points or over the batch is dropped.
      {"polygons", [&] { r->DrawPoly(tri), r->DrawPoly(tri), r->DrawPoly(pent), r->DrawPoly(pent), r->DrawPoly(dot), r->DrawPoly(huge); },
       3, 16, gxtkFlushKind, 1, 12, 12, kWhite},
      {"cleared before sent", [&] { r->DrawRect(0, 0, 50, 50), r->Cls(0, 0, 255); }, 0, 0, gxtkFlushKind, 0, 10, 10, kBlue},
      // Ovals get segments by their size on screen, at most a batch.
      {"small oval", [&] { r->DrawOval(0, 0, 10, 10); }, 1, 12, gxtkFlushKind, 0, 5, 5, kWhite},
      {"huge oval", [&] { r->DrawOval(0, 0, 5000, 5000); }, 1, 1024, gxtkFlushKind, 0, 0, 0, kBlack},
      {"scaled oval", [&] { r->SetMatrix(3, 0, 0, 3, 0, 0), r->DrawOval(0, 0, 10, 10), r->SetMatrix(1, 0, 0, 1, 0, 0); },
       1, 28, gxtkFlushKind, 0, 15, 15, kWhite},
  };
  for (const auto& row : rows) {
    const gxtkRenderStats& s = Frame(row.draw);
    EXPECT_EQ(std::vector<long long>({s.drawCalls, s.vertices, s.flushesBy[row.cause]}),
              std::vector<long long>({row.drawCalls, row.vertices, row.byCause})) << row.what;
    EXPECT_EQ(Px(row.x, row.y), row.colour) << row.what;
  }
  EXPECT_EQ(Frame([&] { r->DrawRect(0, 0, 50, 50), r->Cls(0, 0, 0); }).droppedVertices, 4);
}

TEST_F(Render, PrimitivesCoverTheirPixelsInsideTheScissor) {
  gxtkGraphics* r = renderer;
  r->DrawPoint(10, 10), r->DrawLine(20, 30, 30, 30), r->DrawRect(40, 40, 3, 2);
  r->SetMatrix(0, 1, -1, 0, 100, 100), r->DrawRect(0, 0, 8, 2), r->SetMatrix(1, 0, 0, 1, 0, 0);  // quarter turn, on the CPU
  bb_graphics_DrawEllipse(200, 50, 10, 5);
  r->SetScissor(150, 120, 30, 40), r->DrawRect(0, 0, kWidth, kHeight);  // scissor given top down
  r->SetScissor(0, 0, r->Width(), r->Height());
  EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
  EndFrame();
  int lit = 0;
  for (int i = 0; i < 60 * 60; ++i) lit += Px(i % 60, i / 60) != kBlack;
  EXPECT_EQ(lit, 1 + 10 + 6);  // point, line without its last pixel, 3x2 rectangle
  Expect(kWhite, {{10, 10}, {29, 30}, {42, 41}, {98, 107}, {191, 50}, {150, 120}, {179, 159}});
  Expect(kBlack, {{105, 101}, {188, 50}, {211, 50}, {200, 43}, {200, 56}, {149, 120}, {150, 119}, {180, 120}, {150, 160}});
}

// Colours are premultiplied: src + dst * (1 - src alpha); additive
// blending adds the alpha-scaled colour and saturates.
TEST_F(Render, BlendingWorksOnPremultipliedColour) {
  gxtkGraphics* r = renderer;
  r->Cls(255, 255, 255), r->SetColor(200, 100, 50), r->SetAlpha(0.5f), r->DrawRect(0, 0, 4, 4);
  r->SetAlpha(1), r->SetColor(255, 255, 255);
  r->DrawSurface(RgbaSurface(2, 1, {200, 100, 50, 128, 0, 0, 255, 255}), 10, 0);
  r->SetColor(0, 0, 0), r->DrawRect(20, 0, 30, 8), r->SetBlend(1);
  r->SetColor(100, 50, 0), r->DrawRect(20, 0, 8, 8), r->DrawRect(20, 0, 8, 8);
  r->SetColor(200, 200, 200), r->DrawRect(20, 0, 4, 4);
  r->SetAlpha(0.5f), r->SetColor(0, 100, 0), r->DrawRect(40, 0, 2, 2);
  EndFrame();
  Expect("228 178 153", {{1, 1}}), Expect("227 177 152", {{10, 0}}), Expect(kBlue, {{11, 0}});
  Expect("200 100 0", {{25, 5}}), Expect("255 255 200", {{21, 1}}), Expect("0 50 0", {{40, 0}});
}

TEST_F(Render, SurfaceSurvivesWindowReopen) {
  gxtkSurface* s = RgbaSurface(2, 2, {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255});
  renderer->DrawSurface(s, 10, 10), EndFrame();
  EXPECT_EQ(gxtkFrameStats().texturesMade, 1);
  host->SetGlfwWindow(kWidth, kHeight, 8, 8, 8, 0, 0, 0, false);  // a new GL context
  for (int made : {1, 0}) {  // re-made once
    EXPECT_EQ(Frame([&] { renderer->DrawSurface(s, 20, 20), renderer->DrawSurface(s, 30, 20); }).texturesMade, made);
    Expect(kRed, {{20, 20}}), Expect(kWhite, {{31, 21}}), Expect(kBlue, {{30, 21}});
  }
  // New pixels for a surface with a texture replace what it shows.
  unsigned oldName = s->texture;
  ASSERT_TRUE(s->SetData((unsigned char*)calloc(4, 4), 2, 2, 4));
  Frame([&] { renderer->DrawSurface(s, 20, 20); });
  Expect(kBlack, {{20, 20}});
  EXPECT_FALSE(glIsTexture(oldName));  // the replaced texture was deleted
  BeginFrame();
}

// Frames of one image go out in one draw call; images land at their
// handles and turn about them; the matrix reaches the renderer with a draw.
TEST_F(Render, ImagesThroughTheDrawingApi) {
  // Four 4x4 frames, each with a white pixel of padding left and right.
  const unsigned char colours[5][4] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 0, 255}, {255, 255, 255, 255}};
  std::vector<unsigned char> px;
  for (int i = 0; i < 24 * 4; ++i) {
    const unsigned char* c = colours[i % 6 == 0 || i % 6 == 5 ? 4 : i % 24 / 6];
    px.insert(px.end(), c, c + 4);
  }
  c_Image* strip = (new c_Image)->m_new()->p_Init(RgbaSurface(24, 4, px), 4, c_Image::XPadding);
  for (int f = 0; f < 4; ++f) bb_graphics_DrawImage(strip, 10 + f * 10, 10, f);
  EndFrame();
  EXPECT_EQ(gxtkFrameStats().drawCalls, 1);
  Expect(kRed, {{10, 10}, {13, 13}}), Expect(kBlue, {{30, 10}, {33, 13}}), Expect(kBlack, {{14, 10}, {44, 10}});
  // 32x16, left half red and right half green, handle in the middle.
  px.assign(32 * 16 * 4, 255);
  for (int i = 0; i < 32 * 16; ++i) px[i * 4 + (i % 32 < 16 ? 1 : 0)] = px[i * 4 + 2] = 0;
  c_Image* halves = (new c_Image)->m_new()->p_Init(RgbaSurface(32, 16, px), 1, c_Image::MidHandle);
  BeginFrame();
  bb_graphics_DrawImage2(halves, 100, 100, 90, 1, 1, 0);  // a quarter turn counter-clockwise
  bb_graphics_DrawImage2(halves, 180, 60, 0, 2, 0.5f, 0);
  bb_graphics_Translate(30, 140), bb_graphics_DrawImage(halves, 70, 20, 0);
  EXPECT_EQ(renderer->tx, 30);
  EndFrame();
  Expect(kRed, {{84, 152}, {100, 106}, {106, 114}, {149, 57}});
  Expect(kGreen, {{115, 167}, {100, 90}, {93, 85}, {210, 63}});
  Expect(kBlack, {{83, 152}, {84, 151}, {116, 167}, {115, 168}, {91, 100}, {100, 83}, {108, 100}, {147, 60}, {212, 60}, {180, 55}, {180, 64}});
}

// State set in one frame (colour, alpha, blend, scissor, matrix) does not
// leak into the next.
TEST_F(Render, EveryFrameStartsFromTheSameState) {
  bb_graphics_SetColor(10, 20, 30), bb_graphics_SetAlpha(0.25f), bb_graphics_SetBlend(1);
  bb_graphics_SetScissor(5.9f, 6.2f, 50.7f, 40);
  int box[4];
  glGetIntegerv(GL_SCISSOR_BOX, box);
  EXPECT_EQ(std::vector<int>(box, box + 4), std::vector<int>({5, kHeight - 6 - 40, 50, 40}));
  bb_graphics_PushMatrix(), bb_graphics_Rotate(45), EndFrame();
  Frame([] { bb_graphics_DrawRect(0, 0, 1, 1), bb_graphics_DrawRect(100, 100, 1, 1); });
  Expect(kWhite, {{0, 0}, {100, 100}});
  EXPECT_EQ(bb_graphics_context->m_matrixSp, 0);
  EXPECT_EQ(bb_graphics_CreateImage(1 << 20, 4, 1 << 12, 0), nullptr);
}

}  // namespace
