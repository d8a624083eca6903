// The drawing API in a real window: images drawn at their handles, frames of
// one image batching together, rotation about the handle, the state a frame
// starts with, and the default font.
#include <GLFW/glfw3.h>
#include <unistd.h>

#include "graphics/gl.h"
#include "graphics/window_fixture.h"
#include "host/paths.h"

namespace {

const Rgb kBlack{0, 0, 0};
const Rgb kRed{255, 0, 0};
const Rgb kGreen{0, 255, 0};

using DrawingApiTest = WindowTest;

// A w x h surface whose left half is red and right half green.
gxtkSurface* HalvesSurface(int w, int h) {
  std::vector<unsigned char> px(w * h * 4);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      unsigned char* p = &px[(y * w + x) * 4];
      p[x < w / 2 ? 0 : 1] = 255;
      p[3] = 255;
    }
  unsigned char* data = (unsigned char*)malloc(px.size());
  memcpy(data, px.data(), px.size());
  gxtkSurface* s = new gxtkSurface;
  s->SetData(data, w, h, 4);
  return s;
}

TEST_F(DrawingApiTest, ImagesLandAtTheirHandle) {
  c_Image* image = (new c_Image)->m_new()->p_Init(HalvesSurface(32, 16), 1, c_Image::MidHandle);
  EXPECT_TRUE(image->m_flags & c_Image::FullFrame);
  bb_graphics_DrawImage(image, 100, 100, 0);
  EndFrame();
  EXPECT_TRUE(PixelIs(84, 92, kRed));
  EXPECT_TRUE(PixelIs(83, 92, kBlack));
  EXPECT_TRUE(PixelIs(84, 91, kBlack));
  EXPECT_TRUE(PixelIs(115, 107, kGreen));
  EXPECT_TRUE(PixelIs(116, 107, kBlack));
  EXPECT_TRUE(PixelIs(115, 108, kBlack));
}

TEST_F(DrawingApiTest, FramesOfOneImageGoOutInOneDrawCall) {
  // Four 4x4 frames with one pixel of padding each side: 24 x 4 pixels.
  std::vector<unsigned char> px(24 * 4 * 4);
  const Rgb colours[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 24; ++x) {
      unsigned char* p = &px[(y * 24 + x) * 4];
      bool border = x % 6 == 0 || x % 6 == 5;
      Rgb c = border ? Rgb{255, 255, 255} : colours[x / 6];
      p[0] = c.r;
      p[1] = c.g;
      p[2] = c.b;
      p[3] = 255;
    }
  c_Image* strip = (new c_Image)->m_new()->p_Init(RgbaSurface(24, 4, px), 4, c_Image::XPadding);
  EXPECT_EQ(strip->m_width, 4);
  for (int f = 0; f < 4; ++f) bb_graphics_DrawImage(strip, 10 + f * 10, 10, f);
  EndFrame();
  EXPECT_EQ(gxtkFrameStats().drawCalls, 1);
  for (int f = 0; f < 4; ++f) {
    // Every frame shows its own colour and none of the white padding.
    EXPECT_TRUE(PixelIs(10 + f * 10, 10, colours[f])) << f;
    EXPECT_TRUE(PixelIs(13 + f * 10, 13, colours[f])) << f;
    EXPECT_TRUE(PixelIs(14 + f * 10, 10, kBlack)) << f;
  }
}

TEST_F(DrawingApiTest, RotationAndScaleTurnAboutTheHandle) {
  c_Image* image = (new c_Image)->m_new()->p_Init(HalvesSurface(32, 16), 1, c_Image::MidHandle);
  bb_graphics_DrawImage2(image, 100, 100, 90, 1, 1, 0);
  bb_graphics_DrawImage2(image, 180, 60, 0, 2, 0.5f, 0);
  EXPECT_EQ(bb_graphics_context->m_matrixSp, 0);
  EXPECT_EQ(bb_graphics_context->m_tformed, 0);
  EndFrame();
  // A quarter turn counter-clockwise: the right (green) half points up.
  EXPECT_TRUE(PixelIs(100, 90, kGreen));
  EXPECT_TRUE(PixelIs(100, 110, kRed));
  EXPECT_TRUE(PixelIs(93, 85, kGreen));
  EXPECT_TRUE(PixelIs(106, 114, kRed));
  EXPECT_TRUE(PixelIs(91, 100, kBlack));
  EXPECT_TRUE(PixelIs(100, 83, kBlack));
  EXPECT_TRUE(PixelIs(110, 100, kBlack));
  // Twice as wide, half as high, still centred on the handle.
  EXPECT_TRUE(PixelIs(149, 57, kRed));
  EXPECT_TRUE(PixelIs(210, 63, kGreen));
  EXPECT_TRUE(PixelIs(147, 60, kBlack));
  EXPECT_TRUE(PixelIs(212, 60, kBlack));
  EXPECT_TRUE(PixelIs(180, 55, kBlack));
  EXPECT_TRUE(PixelIs(180, 64, kBlack));
}

TEST_F(DrawingApiTest, MatrixReachesTheRendererOnlyWhenDrawing) {
  bb_graphics_Translate(30, 40);
  EXPECT_EQ(bb_graphics_context->m_matDirty, 1);
  EXPECT_NE(renderer->tx, 30);  // not sent yet
  bb_graphics_DrawRect(0, 0, 2, 2);
  EXPECT_EQ(bb_graphics_context->m_matDirty, 0);
  EXPECT_TRUE(renderer->tformed);
  EXPECT_EQ(renderer->tx, 30);
  bb_graphics_PushMatrix();
  bb_graphics_Scale(2, 2);
  bb_graphics_DrawRect(10, 0, 2, 2);
  bb_graphics_PopMatrix();
  bb_graphics_DrawRect(0, 10, 2, 2);
  EndFrame();
  EXPECT_TRUE(PixelIs(31, 41, {255, 255, 255}));
  EXPECT_TRUE(PixelIs(53, 43, {255, 255, 255}));
  EXPECT_TRUE(PixelIs(54, 44, kBlack));
  EXPECT_TRUE(PixelIs(31, 51, {255, 255, 255}));
}

TEST_F(DrawingApiTest, EveryFrameStartsFromTheSameState) {
  bb_graphics_SetColor(10, 20, 30);
  bb_graphics_SetAlpha(0.25f);
  bb_graphics_SetBlend(1);
  bb_graphics_SetScissor(5.9f, 6.2f, 50.7f, 40);
  EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
  int box[4];
  glGetIntegerv(GL_SCISSOR_BOX, box);
  EXPECT_EQ(box[0], 5);
  EXPECT_EQ(box[1], kHeight - 6 - 40);
  EXPECT_EQ(box[2], 50);
  bb_graphics_PushMatrix();
  bb_graphics_Rotate(45);
  EndFrame();

  BeginFrame();
  c_GraphicsContext* c = bb_graphics_context;
  EXPECT_EQ(c->m_color_r, 255);
  EXPECT_EQ(c->m_alpha, 1);
  EXPECT_EQ(c->m_blend, 0);
  EXPECT_EQ(c->m_matrixSp, 0);
  EXPECT_EQ(c->m_tformed, 0);
  EXPECT_EQ(c->m_scissor_width, kWidth);
  EXPECT_EQ(c->m_scissor_height, kHeight);
  EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
  EXPECT_EQ(renderer->color, 0xFFFFFFFFu);
  bb_graphics_DrawRect(0, 0, 1, 1);
  EXPECT_FALSE(renderer->tformed);
  EndFrame();
  EXPECT_TRUE(PixelIs(0, 0, {255, 255, 255}));
}

TEST_F(DrawingApiTest, CreateImageMakesAnEmptyDrawableStrip) {
  c_Image* image = bb_graphics_CreateImage(8, 4, 3, c_Image::MidHandle);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->m_surface->Width(), 24);
  EXPECT_EQ(image->m_frames[2]->m_x, 16);
  EXPECT_FLOAT_EQ(image->m_tx, 4);
  EXPECT_EQ(bb_graphics_CreateImage(8, 4, 0, 0), nullptr);
  EXPECT_EQ(bb_graphics_CreateImage(1 << 20, 4, 1 << 12, 0), nullptr);
  EXPECT_EQ(bb_graphics_CreateImage(8, -4, 1, 0), nullptr);
  EndFrame();
}

TEST_F(DrawingApiTest, DefaultFontComesFromTheDataFolder) {
  String file = host->PathToFilePath(bb_data_FixDataPath("kiln_font.png"));
  bool present = access(file.ToUtf8().c_str(), R_OK) == 0;
  c_GraphicsContext* c = bb_graphics_context;
  bb_graphics_SetFont(nullptr, 99);
  EXPECT_EQ(c->m_firstChar, 32);
  if (!present) {
    EXPECT_EQ(c->m_font, nullptr);
    GTEST_SKIP() << file.ToUtf8() << " has not been generated";
  }
  ASSERT_NE(c->m_font, nullptr);
  EXPECT_EQ(c->m_font, c->m_defaultFont);
  EXPECT_EQ(c->m_font->m_frames.Length(), 96);
  EXPECT_EQ(c->m_font->m_width, c->m_font->m_surface->Width() / 96 - 2);
  EXPECT_EQ(c->m_font->m_frames[1]->m_x, c->m_font->m_surface->Width() / 96 + 1);
  // Loaded once, then reused.
  c_Image* first = c->m_defaultFont;
  c_Image* other = (new c_Image)->m_new()->p_Init(HalvesSurface(4, 4), 1, 0);
  bb_graphics_SetFont(other, 65);
  EXPECT_EQ(c->m_font, other);
  EXPECT_EQ(c->m_firstChar, 65);
  bb_graphics_SetFont(nullptr, 0);
  EXPECT_EQ(c->m_font, first);
  EndFrame();
}

}  // namespace
