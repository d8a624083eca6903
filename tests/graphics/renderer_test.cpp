// The renderer in a real GL context: what reaches OpenGL (draw calls and
// their causes) and what lands in the framebuffer.
#include <GLFW/glfw3.h>

#include "graphics/gl.h"
#include "graphics/window_fixture.h"

namespace {

const Rgb kBlack{0, 0, 0};
const Rgb kWhite{255, 255, 255};

using RendererTest = WindowTest;

TEST_F(RendererTest, QuadsSplitAtTheVertexLimit) {
  renderer->SetColor(255, 255, 0);
  for (int i = 0; i < 300; ++i) renderer->DrawRect(i % 20 * 12, i / 20 * 12, 10, 10);
  EndFrame();
  const gxtkRenderStats& s = gxtkFrameStats();
  EXPECT_EQ(s.drawCalls, 2);
  EXPECT_EQ(s.indexedDrawCalls, 2);
  EXPECT_EQ(s.vertices, 1200);
  EXPECT_EQ(s.flushesBy[gxtkFlushFull], 1);
  EXPECT_EQ(s.flushesBy[gxtkFlushEnd], 1);
  // Rectangles from both batches arrived.
  EXPECT_TRUE(PixelIs(0, 0, {255, 255, 0}));
  EXPECT_TRUE(PixelIs(19 * 12 + 9, 14 * 12 + 9, {255, 255, 0}));
  EXPECT_TRUE(PixelIs(10, 0, kBlack));
}

TEST_F(RendererTest, KindAndTextureChangesSplitBatches) {
  renderer->DrawPoint(1, 1);
  renderer->DrawRect(5, 5, 2, 2);
  renderer->DrawPoint(3, 3);
  EndFrame();
  EXPECT_EQ(gxtkFrameStats().drawCalls, 3);
  EXPECT_EQ(gxtkFrameStats().flushesBy[gxtkFlushKind], 2);

  BeginFrame();
  gxtkSurface* a = RgbaSurface(2, 1, {255, 0, 0, 255, 0, 255, 0, 255});
  gxtkSurface* b = RgbaSurface(1, 1, {0, 0, 255, 255});
  renderer->DrawSurface2(a, 10, 10, 0, 0, 1, 1);
  renderer->DrawSurface2(a, 20, 10, 1, 0, 1, 1);
  EndFrame();
  EXPECT_EQ(gxtkFrameStats().drawCalls, 1);
  EXPECT_TRUE(PixelIs(10, 10, {255, 0, 0}));
  EXPECT_TRUE(PixelIs(20, 10, {0, 255, 0}));

  BeginFrame();
  renderer->DrawSurface(a, 10, 10);
  renderer->DrawSurface(b, 20, 10);
  renderer->DrawSurface(a, 30, 10);
  EndFrame();
  EXPECT_EQ(gxtkFrameStats().drawCalls, 3);
  EXPECT_EQ(gxtkFrameStats().flushesBy[gxtkFlushTexture], 2);
  EXPECT_TRUE(PixelIs(20, 10, {0, 0, 255}));
  EXPECT_TRUE(PixelIs(31, 10, {0, 255, 0}));
}

TEST_F(RendererTest, PolygonsBatchByVertexCount) {
  Array<float> tri(6), tri2(6), pent(10);
  float t[6] = {10, 10, 30, 10, 10, 30}, t2[6] = {40, 10, 60, 10, 40, 30};
  for (int i = 0; i < 6; ++i) {
    tri[i] = t[i];
    tri2[i] = t2[i];
  }
  float p[10] = {100, 100, 120, 100, 125, 115, 110, 125, 95, 115};
  for (int i = 0; i < 10; ++i) pent[i] = p[i];
  renderer->SetColor(0, 255, 0);
  renderer->DrawPoly(tri);
  renderer->DrawPoly(tri2);  // joins the pending triangle batch
  EXPECT_EQ(renderer->primType, 3);
  EXPECT_EQ(renderer->vertCount, 6);
  renderer->DrawPoly(pent);
  renderer->DrawPoly(pent);
  EXPECT_EQ(renderer->primType, 5);
  Array<float> none(1), tooMany(2 * 1025);
  renderer->DrawPoly(none);
  renderer->DrawPoly(tooMany);
  EXPECT_EQ(renderer->vertCount, 10);
  EndFrame();
  const gxtkRenderStats& s = gxtkFrameStats();
  EXPECT_EQ(s.flushes, 2);
  EXPECT_EQ(s.drawCalls, 3);  // one for the triangles, one fan per polygon
  EXPECT_EQ(s.vertices, 16);
  EXPECT_TRUE(PixelIs(12, 12, {0, 255, 0}));
  EXPECT_TRUE(PixelIs(42, 12, {0, 255, 0}));
  EXPECT_TRUE(PixelIs(28, 28, kBlack));
  EXPECT_TRUE(PixelIs(110, 110, {0, 255, 0}));
}

TEST_F(RendererTest, PointsAndLinesSitOnPixelCentres) {
  renderer->DrawPoint(10, 10);
  renderer->DrawLine(20, 30, 30, 30);
  renderer->DrawRect(40, 40, 3, 2);
  EndFrame();
  EXPECT_TRUE(PixelIs(10, 10, kWhite));
  EXPECT_TRUE(PixelIs(11, 10, kBlack));
  EXPECT_TRUE(PixelIs(10, 11, kBlack));
  EXPECT_TRUE(PixelIs(9, 10, kBlack));
  for (int x = 20; x < 30; ++x) EXPECT_TRUE(PixelIs(x, 30, kWhite));
  EXPECT_TRUE(PixelIs(20, 29, kBlack));
  EXPECT_TRUE(PixelIs(20, 31, kBlack));
  int lit = 0;
  for (int y = 38; y < 45; ++y)
    for (int x = 38; x < 46; ++x) lit += Pixel(x, y).r > 0;
  EXPECT_EQ(lit, 6);
  EXPECT_TRUE(PixelIs(42, 41, kWhite));
}

TEST_F(RendererTest, OvalsUseTheirSegmentCount) {
  struct Case {
    float w, h;
    int segments;
  } cases[] = {{10, 10, 12}, {30, 30, 28}, {5000, 5000, 1024}, {31, 9, 16}};
  for (const Case& c : cases) {
    BeginFrame();
    renderer->DrawOval(0, 0, c.w, c.h);
    EXPECT_EQ(renderer->primType, c.segments);
    EndFrame();
    EXPECT_EQ(gxtkFrameStats().vertices, c.segments) << c.w;
    EXPECT_EQ(gxtkFrameStats().drawCalls, 1);
  }
  // Scaled by the matrix, the ellipse gets more segments.
  BeginFrame();
  renderer->SetMatrix(3, 0, 0, 3, 0, 0);
  renderer->DrawOval(0, 0, 10, 10);
  EXPECT_EQ(renderer->vertCount, 28);  // 15 + 15 rounded down
  renderer->SetMatrix(1, 0, 0, 1, 0, 0);
  EndFrame();
}

TEST_F(RendererTest, EllipseFillsItsBox) {
  bb_graphics_DrawEllipse(50, 50, 10, 5);
  float minx = 1e9f, maxx = -1e9f, miny = 1e9f, maxy = -1e9f;
  for (int i = 0; i < renderer->vertCount; ++i) {
    minx = std::min(minx, renderer->vertices[i].x);
    maxx = std::max(maxx, renderer->vertices[i].x);
    miny = std::min(miny, renderer->vertices[i].y);
    maxy = std::max(maxy, renderer->vertices[i].y);
  }
  EXPECT_FLOAT_EQ(minx, 40);
  EXPECT_FLOAT_EQ(maxx, 60);
  EXPECT_NEAR(miny, 45, 1e-4);
  EXPECT_NEAR(maxy, 55, 1e-4);
  EndFrame();
  EXPECT_TRUE(PixelIs(50, 50, kWhite));
  EXPECT_TRUE(PixelIs(41, 50, kWhite));
  EXPECT_TRUE(PixelIs(38, 50, kBlack));
  EXPECT_TRUE(PixelIs(61, 50, kBlack));
  EXPECT_TRUE(PixelIs(50, 43, kBlack));
  EXPECT_TRUE(PixelIs(50, 56, kBlack));
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
  EXPECT_TRUE(PixelIs(9, 20, kBlack));
  EXPECT_TRUE(PixelIs(10, 19, kBlack));
  EXPECT_TRUE(PixelIs(40, 20, kBlack));
  EXPECT_TRUE(PixelIs(10, 60, kBlack));
  EXPECT_TRUE(PixelIs(205, 155, {0, 0, 255}));
}

TEST_F(RendererTest, ColourAndTexelsArePremultiplied) {
  renderer->Cls(255, 255, 255);
  renderer->SetColor(200, 100, 50);
  renderer->SetAlpha(0.5f);
  renderer->DrawRect(0, 0, 4, 4);
  renderer->SetAlpha(1);
  renderer->SetColor(255, 255, 255);
  // Texel (200, 100, 50, 128) is kept as (100, 50, 25, 128).
  gxtkSurface* s = RgbaSurface(2, 1, {200, 100, 50, 128, 0, 0, 255, 255});
  EXPECT_EQ(s->data[0], 100);
  renderer->DrawSurface(s, 10, 0);
  // A grey+alpha picture goes the same way.
  unsigned char* la = (unsigned char*)malloc(2);
  la[0] = 200;
  la[1] = 64;
  gxtkSurface* grey = new gxtkSurface;
  ASSERT_TRUE(grey->SetData(la, 1, 1, 2));
  renderer->DrawSurface(grey, 20, 0);
  EndFrame();
  // src + dst * (1 - srcAlpha)
  EXPECT_TRUE(PixelIs(1, 1, {100 + 128, 50 + 128, 25 + 128}, 1));
  EXPECT_TRUE(PixelIs(10, 0, {100 + 127, 50 + 127, 25 + 127}, 1));
  EXPECT_TRUE(PixelIs(11, 0, {0, 0, 255}));
  EXPECT_TRUE(PixelIs(20, 0, {50 + 191, 50 + 191, 50 + 191}, 1));
}

TEST_F(RendererTest, BlendModesByPixelValue) {
  renderer->SetColor(100, 0, 0);
  renderer->DrawRect(0, 0, 8, 8);
  renderer->SetBlend(1);
  renderer->SetColor(100, 50, 0);
  renderer->DrawRect(0, 0, 8, 8);
  renderer->SetColor(200, 200, 200);
  renderer->DrawRect(0, 0, 4, 4);  // saturates
  renderer->SetBlend(0);
  renderer->SetColor(0, 0, 200);
  renderer->DrawRect(6, 6, 2, 2);  // opaque alpha blending replaces
  renderer->SetAlpha(0.5f);
  renderer->SetBlend(1);
  renderer->SetColor(0, 100, 0);
  renderer->DrawRect(20, 0, 2, 2);  // additive still takes the alpha-scaled colour
  EndFrame();
  EXPECT_EQ(gxtkFrameStats().flushesBy[gxtkFlushBlend], 3);
  EXPECT_TRUE(PixelIs(5, 5, {200, 50, 0}));
  EXPECT_TRUE(PixelIs(1, 1, {255, 250, 200}));
  EXPECT_TRUE(PixelIs(7, 7, {0, 0, 200}));
  EXPECT_TRUE(PixelIs(20, 0, {0, 50, 0}));
}

TEST_F(RendererTest, ClsDropsQueuedPrimitives) {
  renderer->SetColor(255, 0, 0);
  renderer->DrawRect(0, 0, 50, 50);
  renderer->Cls(0, 0, 255);
  EndFrame();
  EXPECT_EQ(gxtkFrameStats().drawCalls, 0);
  EXPECT_EQ(gxtkFrameStats().droppedVertices, 4);
  EXPECT_TRUE(PixelIs(10, 10, {0, 0, 255}));
}

TEST_F(RendererTest, ReadPixelsLaysOutRowsTopDown) {
  renderer->SetColor(255, 0, 0);
  renderer->DrawRect(3, 4, 1, 1);
  renderer->SetColor(0, 255, 0);
  renderer->DrawRect(4, 4, 1, 1);
  renderer->SetColor(0, 0, 255);
  renderer->DrawRect(3, 5, 1, 1);
  Array<int> px(12);
  for (int i = 0; i < 12; ++i) px[i] = -1;
  renderer->ReadPixels(px, 3, 4, 2, 2, 5, 3);  // flushes the pending batch
  EXPECT_EQ((unsigned)px[5], 0xFFFF0000u);
  EXPECT_EQ((unsigned)px[6], 0xFF00FF00u);
  EXPECT_EQ((unsigned)px[8], 0xFF0000FFu);
  EXPECT_EQ((unsigned)px[9], 0xFF000000u);
  for (int i : {0, 4, 7, 10, 11}) EXPECT_EQ(px[i], -1) << i;
  EXPECT_EQ(gxtkFrameStats().flushesBy[gxtkFlushRead], 1);
  // A request that does not fit the array reads nothing and writes nothing.
  renderer->ReadPixels(px, 0, 0, 4, 4, 0, 4);
  renderer->ReadPixels(px, 0, 0, 2, 2, -1, 2);
  EXPECT_EQ(px[0], -1);
  EndFrame();
}

TEST_F(RendererTest, WritePixelsUpdatesTheTexture) {
  gxtkSurface* s = renderer->CreateSurface(4, 3);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->seq, glfwGraphicsSeq);
  EXPECT_EQ(renderer->CreateSurface(0, 5), nullptr);
  EXPECT_EQ(renderer->CreateSurface(100000, 5), nullptr);
  Array<int> src(12);
  for (int i = 0; i < 12; ++i) src[i] = (int)(0xFF000000u | (unsigned)(i * 20) << 16 | (unsigned)(255 - i * 20));
  int uploadsBefore = gxtkFrameStats().textureUploads;
  renderer->WritePixels2(s, src, 0, 0, 4, 3, 0, 4);
  EXPECT_EQ(gxtkFrameStats().textureUploads - uploadsBefore, 1);  // whole rows: one call
  // A narrower rectangle goes up row by row.
  Array<int> white(4);
  for (int i = 0; i < 4; ++i) white[i] = -1;
  renderer->WritePixels2(s, white, 1, 1, 2, 2, 0, 2);
  EXPECT_EQ(gxtkFrameStats().textureUploads - uploadsBefore, 3);
  // Out-of-range source arrays are refused.
  renderer->WritePixels2(s, white, 0, 0, 4, 3, 0, 4);
  EXPECT_EQ(gxtkFrameStats().textureUploads - uploadsBefore, 3);

  renderer->DrawSurface(s, 50, 50);
  Array<int> back(12);
  renderer->ReadPixels(back, 50, 50, 4, 3, 0, 4);
  for (int i = 0; i < 12; ++i) {
    bool inWhite = (i / 4 >= 1) && (i % 4 == 1 || i % 4 == 2);
    EXPECT_EQ(back[i], inWhite ? -1 : src[i]) << i;
  }
  EndFrame();
}

TEST_F(RendererTest, SurfaceSurvivesWindowReopen) {
  gxtkSurface* s = RgbaSurface(2, 2, {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255});
  renderer->DrawSurface(s, 10, 10);
  EndFrame();
  EXPECT_EQ(gxtkFrameStats().texturesMade, 1);
  EXPECT_TRUE(PixelIs(11, 10, {0, 255, 0}));

  BeginFrame();
  renderer->DrawSurface(s, 10, 10);
  EndFrame();
  EXPECT_EQ(gxtkFrameStats().texturesMade, 0);

  int seq = glfwGraphicsSeq;
  ReopenWindow();
  ASSERT_EQ(glfwGraphicsSeq, seq + 1);
  BeginFrame();
  renderer->DrawSurface(s, 20, 20);
  renderer->DrawSurface(s, 30, 20);
  EndFrame();
  EXPECT_EQ(gxtkFrameStats().texturesMade, 1);  // re-uploaded once
  EXPECT_EQ(s->seq, glfwGraphicsSeq);
  EXPECT_TRUE(PixelIs(20, 20, {255, 0, 0}));
  EXPECT_TRUE(PixelIs(31, 21, {255, 255, 255}));
  EXPECT_TRUE(PixelIs(30, 21, {0, 0, 255}));

  BeginFrame();
  renderer->DrawSurface(s, 20, 20);
  EndFrame();
  EXPECT_EQ(gxtkFrameStats().texturesMade, 0);
  s->Discard();
  EXPECT_EQ(s->seq, -1);
}

TEST_F(RendererTest, MatrixIsAppliedOnTheCpu) {
  renderer->SetMatrix(1, 0, 0, 1, 50, 0);
  renderer->DrawRect(0, 0, 4, 4);
  renderer->SetMatrix(0, 1, -1, 0, 100, 100);  // quarter turn clockwise
  renderer->DrawRect(0, 0, 8, 2);
  renderer->SetMatrix(1, 0, 0, 1, 0, 0);
  EXPECT_FALSE(renderer->tformed);
  EndFrame();
  EXPECT_EQ(gxtkFrameStats().drawCalls, 1);  // matrix changes do not flush
  float mv[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, mv);
  EXPECT_EQ(mv[12], 0);
  EXPECT_EQ(mv[0], 1);
  EXPECT_TRUE(PixelIs(51, 1, kWhite));
  EXPECT_TRUE(PixelIs(1, 1, kBlack));
  EXPECT_TRUE(PixelIs(98, 105, kWhite));
  EXPECT_TRUE(PixelIs(105, 101, kBlack));
}

}  // namespace
