// The renderer in a real GL context: what reaches OpenGL (draw calls and
// why) and what lands in the framebuffer.
#include <GLFW/glfw3.h>

#include "graphics/gl.h"
#include "graphics/window_fixture.h"

namespace {

const Rgb kBlack{0, 0, 0};
const Rgb kWhite{255, 255, 255};

Array<float> Floats(std::initializer_list<float> values) {
  Array<float> a((int)values.size());
  int i = 0;
  for (float v : values) a[i++] = v;
  return a;
}

class RendererTest : public WindowTest {
 protected:
  template <class F>
  const gxtkRenderStats& Frame(F draw) {
    BeginFrame();
    draw();
    EndFrame();
    return gxtkFrameStats();
  }
};

TEST_F(RendererTest, BatchesGoOutOnlyWhenTheyMust) {
  const gxtkRenderStats& s = Frame([] {
    for (int i = 0; i < 300; ++i) renderer->DrawRect(i % 20 * 12, i / 20 * 12, 10, 10);
  });
  EXPECT_EQ(s.indexedDrawCalls, 2);  // 256 quads, then 44
  EXPECT_EQ(s.drawCalls, 2);
  EXPECT_EQ(s.vertices, 1200);
  EXPECT_EQ(s.flushesBy[gxtkFlushFull], 1);
  EXPECT_TRUE(PixelIs(0, 0, kWhite));
  EXPECT_TRUE(PixelIs(19 * 12 + 9, 14 * 12 + 9, kWhite));

  Frame([] {
    renderer->DrawPoint(1, 1);
    renderer->DrawRect(5, 5, 2, 2);
    renderer->DrawPoint(3, 3);
  });
  EXPECT_EQ(s.drawCalls, 3);
  EXPECT_EQ(s.flushesBy[gxtkFlushKind], 2);

  gxtkSurface* a = RgbaSurface(2, 1, {255, 0, 0, 255, 0, 255, 0, 255});
  gxtkSurface* b = RgbaSurface(1, 1, {0, 0, 255, 255});
  Frame([&] {
    renderer->DrawSurface2(a, 10, 10, 0, 0, 1, 1);
    renderer->DrawSurface2(a, 20, 10, 1, 0, 1, 1);
  });
  EXPECT_EQ(s.drawCalls, 1);
  EXPECT_TRUE(PixelIs(10, 10, {255, 0, 0}));
  EXPECT_TRUE(PixelIs(20, 10, {0, 255, 0}));
  Frame([&] {
    renderer->DrawSurface(a, 10, 10);
    renderer->DrawSurface(b, 20, 10);
    renderer->DrawSurface(a, 30, 10);
  });
  EXPECT_EQ(s.flushesBy[gxtkFlushTexture], 2);
  EXPECT_TRUE(PixelIs(31, 10, {0, 255, 0}));

  Frame([] {
    Array<float> tri = Floats({10, 10, 30, 10, 10, 30});
    renderer->DrawPoly(tri);
    renderer->DrawPoly(tri);  // joins the pending triangle batch
    EXPECT_EQ(renderer->vertCount, 6);
    Array<float> pent = Floats({100, 100, 120, 100, 125, 115, 110, 125, 95, 115});
    renderer->DrawPoly(pent);
    renderer->DrawPoly(pent);
    renderer->DrawPoly(Floats({1}));
    renderer->DrawPoly(Array<float>(2 * 1025));
  });
  EXPECT_EQ(s.flushes, 2);
  EXPECT_EQ(s.drawCalls, 3);  // the triangles together, one fan per polygon
  EXPECT_EQ(s.vertices, 16);

  Frame([] {
    renderer->DrawRect(0, 0, 50, 50);
    renderer->Cls(0, 0, 255);
  });
  EXPECT_EQ(s.drawCalls, 0);
  EXPECT_EQ(s.droppedVertices, 4);
  EXPECT_TRUE(PixelIs(10, 10, {0, 0, 255}));

  struct {
    float w, h;
    int segments;
  } ovals[] = {{10, 10, 12}, {30, 30, 28}, {31, 9, 16}, {5000, 5000, 1024}};
  for (auto& o : ovals) {
    EXPECT_EQ(Frame([&] { renderer->DrawOval(0, 0, o.w, o.h); }).vertices, o.segments) << o.w;
    EXPECT_EQ(s.drawCalls, 1);
  }
  Frame([] {
    renderer->SetMatrix(3, 0, 0, 3, 0, 0);
    renderer->DrawOval(0, 0, 10, 10);  // 15 + 15 on screen
    renderer->SetMatrix(1, 0, 0, 1, 0, 0);
  });
  EXPECT_EQ(s.vertices, 28);
}

TEST_F(RendererTest, PrimitivesCoverTheirPixels) {
  renderer->DrawPoint(10, 10);
  renderer->DrawLine(20, 30, 30, 30);
  renderer->DrawRect(40, 40, 3, 2);
  renderer->SetMatrix(0, 1, -1, 0, 100, 100);  // quarter turn, on the CPU
  renderer->DrawRect(0, 0, 8, 2);
  renderer->SetMatrix(1, 0, 0, 1, 0, 0);
  bb_graphics_DrawEllipse(200, 50, 10, 5);
  EndFrame();
  float mv[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, mv);
  EXPECT_EQ(mv[12], 0);

  int lit = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x) lit += Pixel(x, y).r > 0;
  EXPECT_EQ(lit, 1 + 10 + 6);  // point, line without its last pixel, 3x2 rectangle
  EXPECT_TRUE(PixelIs(10, 10, kWhite));
  EXPECT_TRUE(PixelIs(29, 30, kWhite));
  EXPECT_TRUE(PixelIs(42, 41, kWhite));
  EXPECT_TRUE(PixelIs(98, 107, kWhite));
  EXPECT_TRUE(PixelIs(105, 101, kBlack));
  EXPECT_TRUE(PixelIs(191, 50, kWhite));
  EXPECT_TRUE(PixelIs(188, 50, kBlack));
  EXPECT_TRUE(PixelIs(211, 50, kBlack));
  EXPECT_TRUE(PixelIs(200, 43, kBlack));
  EXPECT_TRUE(PixelIs(200, 56, kBlack));
}

TEST_F(RendererTest, ScissorIsGivenTopDown) {
  renderer->SetScissor(10, 20, 30, 40);
  EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
  renderer->DrawRect(0, 0, kWidth, kHeight);
  renderer->SetScissor(0, 0, renderer->Width(), renderer->Height());
  EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
  EXPECT_EQ(gxtkFrameStats().flushesBy[gxtkFlushScissor], 1);
  renderer->SetColor(0, 0, 255);
  renderer->DrawRect(200, 150, 10, 10);
  EndFrame();
  EXPECT_TRUE(PixelIs(10, 20, kWhite));
  EXPECT_TRUE(PixelIs(39, 59, kWhite));
  for (auto [x, y] : {std::pair{9, 20}, {10, 19}, {40, 20}, {10, 60}}) {
    EXPECT_TRUE(PixelIs(x, y, kBlack));
  }
  EXPECT_TRUE(PixelIs(205, 155, {0, 0, 255}));
}

TEST_F(RendererTest, BlendingWorksOnPremultipliedColour) {
  renderer->Cls(255, 255, 255);
  renderer->SetColor(200, 100, 50);
  renderer->SetAlpha(0.5f);
  renderer->DrawRect(0, 0, 4, 4);
  renderer->SetAlpha(1);
  renderer->SetColor(255, 255, 255);
  renderer->DrawSurface(RgbaSurface(2, 1, {200, 100, 50, 128, 0, 0, 255, 255}), 10, 0);
  EndFrame();
  // src + dst * (1 - src alpha), src already multiplied by its alpha
  EXPECT_TRUE(PixelIs(1, 1, {100 + 128, 50 + 128, 25 + 128}, 1));
  EXPECT_TRUE(PixelIs(10, 0, {100 + 127, 50 + 127, 25 + 127}, 1));
  EXPECT_TRUE(PixelIs(11, 0, {0, 0, 255}));

  BeginFrame();
  renderer->SetColor(100, 0, 0);
  renderer->DrawRect(0, 0, 8, 8);
  renderer->SetBlend(1);
  renderer->SetColor(100, 50, 0);
  renderer->DrawRect(0, 0, 8, 8);
  renderer->SetColor(200, 200, 200);
  renderer->DrawRect(0, 0, 4, 4);  // saturates
  renderer->SetBlend(0);
  renderer->SetColor(0, 0, 200);
  renderer->DrawRect(6, 6, 2, 2);  // opaque: replaces
  renderer->SetAlpha(0.5f);
  renderer->SetBlend(1);
  renderer->SetColor(0, 100, 0);
  renderer->DrawRect(20, 0, 2, 2);  // additive adds the alpha-scaled colour
  EndFrame();
  EXPECT_EQ(gxtkFrameStats().flushesBy[gxtkFlushBlend], 3);
  EXPECT_TRUE(PixelIs(5, 5, {200, 50, 0}));
  EXPECT_TRUE(PixelIs(1, 1, {255, 250, 200}));
  EXPECT_TRUE(PixelIs(7, 7, {0, 0, 200}));
  EXPECT_TRUE(PixelIs(20, 0, {0, 50, 0}));
}

TEST_F(RendererTest, ReadAndWritePixels) {
  renderer->SetColor(255, 0, 0);
  renderer->DrawRect(3, 4, 1, 1);
  renderer->SetColor(0, 0, 255);
  renderer->DrawRect(3, 5, 1, 1);
  Array<int> px(12);
  for (int i = 0; i < 12; ++i) px[i] = -1;
  renderer->ReadPixels(px, 3, 4, 2, 2, 5, 3);  // flushes first
  EXPECT_EQ((unsigned)px[5], 0xFFFF0000u);
  EXPECT_EQ((unsigned)px[6], 0xFF000000u);
  EXPECT_EQ((unsigned)px[8], 0xFF0000FFu);
  EXPECT_EQ(px[7], -1);
  renderer->ReadPixels(px, 0, 0, 4, 4, 0, 4);  // does not fit the array
  renderer->ReadPixels(px, 0, 0, 2, 2, -1, 2);
  EXPECT_EQ(px[0], -1);

  gxtkSurface* s = renderer->CreateSurface(4, 3);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(renderer->CreateSurface(0, 5), nullptr);
  EXPECT_EQ(renderer->CreateSurface(100000, 5), nullptr);
  Array<int> src(12);
  for (int i = 0; i < 12; ++i) src[i] = (int)(0xFF000000u | (i * 20u) << 16 | (255 - i * 20u));
  int uploads = gxtkFrameStats().textureUploads;
  renderer->WritePixels2(s, src, 0, 0, 4, 3, 0, 4);
  EXPECT_EQ(gxtkFrameStats().textureUploads - uploads, 1);  // whole rows in one call
  Array<int> white(4);
  for (int i = 0; i < 4; ++i) white[i] = -1;
  renderer->WritePixels2(s, white, 1, 1, 2, 2, 0, 2);
  EXPECT_EQ(gxtkFrameStats().textureUploads - uploads, 3);  // then row by row
  renderer->WritePixels2(s, white, 0, 0, 4, 3, 0, 4);       // source too short
  EXPECT_EQ(gxtkFrameStats().textureUploads - uploads, 3);
  renderer->SetColor(255, 255, 255);
  renderer->DrawSurface(s, 50, 50);
  Array<int> back(12);
  renderer->ReadPixels(back, 50, 50, 4, 3, 0, 4);
  for (int i = 0; i < 12; ++i) {
    bool overwritten = i / 4 >= 1 && (i % 4 == 1 || i % 4 == 2);
    EXPECT_EQ(back[i], overwritten ? -1 : src[i]) << i;
  }
  EndFrame();
}

TEST_F(RendererTest, SurfaceSurvivesWindowReopen) {
  gxtkSurface* s = RgbaSurface(2, 2, {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255});
  renderer->DrawSurface(s, 10, 10);
  EndFrame();
  EXPECT_EQ(gxtkFrameStats().texturesMade, 1);

  int seq = glfwGraphicsSeq;
  host->SetGlfwWindow(kWidth, kHeight, 8, 8, 8, 0, 0, 0, false);  // a new GL context
  ASSERT_EQ(glfwGraphicsSeq, seq + 1);
  for (int frame = 0; frame < 2; ++frame) {
    BeginFrame();
    renderer->DrawSurface(s, 20, 20);
    renderer->DrawSurface(s, 30, 20);
    EndFrame();
    EXPECT_EQ(gxtkFrameStats().texturesMade, frame == 0 ? 1 : 0);  // re-made once
    EXPECT_TRUE(PixelIs(20, 20, {255, 0, 0}));
    EXPECT_TRUE(PixelIs(31, 21, kWhite));
    EXPECT_TRUE(PixelIs(30, 21, {0, 0, 255}));
  }
  // New pixels for a surface with a texture replace what it shows.
  unsigned char* green = (unsigned char*)calloc(4, 4);
  for (int i = 0; i < 4; ++i) green[i * 4 + 1] = green[i * 4 + 3] = 255;
  unsigned oldName = s->texture;
  EXPECT_TRUE(glIsTexture(oldName));
  ASSERT_TRUE(s->SetData(green, 2, 2, 4));
  BeginFrame();
  renderer->DrawSurface(s, 20, 20);
  EndFrame();
  EXPECT_TRUE(PixelIs(20, 20, {0, 255, 0}));
  EXPECT_FALSE(glIsTexture(oldName));  // the replaced texture was deleted
  s->Discard();
  EXPECT_EQ(s->seq, -1);
}

}  // namespace
