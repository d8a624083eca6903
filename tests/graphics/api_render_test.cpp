// The drawing API in a real window: images at their handles, frames of one
// image in one draw call, rotation about the handle, the matrix reaching the
// renderer only with a draw, the state every frame starts from, the font.
#include <GLFW/glfw3.h>
#include <unistd.h>

#include "graphics/gl.h"
#include "graphics/window_fixture.h"
#include "host/paths.h"

namespace {

const Rgb kBlack{0, 0, 0};
const Rgb kWhite{255, 255, 255};
const Rgb kRed{255, 0, 0};
const Rgb kGreen{0, 255, 0};

class DrawingApiTest : public WindowTest {
 protected:
  // A 32x16 image, left half red and right half green, handle in the middle.
  c_Image* Halves() {
    std::vector<unsigned char> px(32 * 16 * 4);
    for (int i = 0; i < 32 * 16; ++i) {
      px[i * 4 + (i % 32 < 16 ? 0 : 1)] = 255;
      px[i * 4 + 3] = 255;
    }
    return (new c_Image)->m_new()->p_Init(RgbaSurface(32, 16, px), 1, c_Image::MidHandle);
  }
};

TEST_F(DrawingApiTest, FramesOfOneImageGoOutInOneDrawCall) {
  // Four 4x4 frames, each with a white pixel of padding left and right.
  const Rgb colours[4] = {kRed, kGreen, {0, 0, 255}, {255, 255, 0}};
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
    EXPECT_TRUE(PixelIs(10 + f * 10, 10, colours[f])) << f;
    EXPECT_TRUE(PixelIs(13 + f * 10, 13, colours[f])) << f;
    EXPECT_TRUE(PixelIs(14 + f * 10, 10, kBlack)) << f;
  }
}

TEST_F(DrawingApiTest, ImagesLandAtTheirHandleAndTurnAboutIt) {
  bb_graphics_DrawImage2(Halves(), 100, 100, 90, 1, 1, 0);
  bb_graphics_DrawImage2(Halves(), 180, 60, 0, 2, 0.5f, 0);
  EXPECT_EQ(bb_graphics_context->m_matrixSp, 0);
  EXPECT_EQ(bb_graphics_context->m_tformed, 0);
  bb_graphics_DrawImage(Halves(), 100, 160, 0);
  EndFrame();
  // Unturned, the handle's pixel is the image's middle, edges exact.
  EXPECT_TRUE(PixelIs(84, 152, kRed));
  EXPECT_TRUE(PixelIs(115, 167, kGreen));
  for (auto [x, y] : {std::pair{83, 152}, {84, 151}, {116, 167}, {115, 168}}) {
    EXPECT_TRUE(PixelIs(x, y, kBlack));
  }
  // A quarter turn counter-clockwise: the right (green) half points up.
  EXPECT_TRUE(PixelIs(100, 90, kGreen));
  EXPECT_TRUE(PixelIs(93, 85, kGreen));
  EXPECT_TRUE(PixelIs(106, 114, kRed));
  // Twice as wide and half as high, still centred on the handle.
  EXPECT_TRUE(PixelIs(149, 57, kRed));
  EXPECT_TRUE(PixelIs(210, 63, kGreen));
  for (auto [x, y] : {std::pair{91, 100}, {100, 83}, {108, 100}, {147, 60}, {212, 60}, {180, 55},
                      {180, 64}}) {
    EXPECT_TRUE(PixelIs(x, y, kBlack));
  }
}

TEST_F(DrawingApiTest, MatrixReachesTheRendererWithTheNextDraw) {
  bb_graphics_Translate(30, 40);
  EXPECT_NE(renderer->tx, 30);
  bb_graphics_DrawRect(0, 0, 2, 2);
  EXPECT_EQ(bb_graphics_context->m_matDirty, 0);
  EXPECT_EQ(renderer->tx, 30);
  bb_graphics_PushMatrix();
  bb_graphics_Scale(2, 2);
  bb_graphics_DrawRect(10, 0, 2, 2);
  bb_graphics_PopMatrix();
  bb_graphics_DrawRect(0, 10, 2, 2);
  EndFrame();
  EXPECT_TRUE(PixelIs(31, 41, kWhite));
  EXPECT_TRUE(PixelIs(53, 43, kWhite));
  EXPECT_TRUE(PixelIs(54, 44, kBlack));
  EXPECT_TRUE(PixelIs(31, 51, kWhite));
}

TEST_F(DrawingApiTest, EveryFrameStartsFromTheSameState) {
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

  BeginFrame();
  c_GraphicsContext* c = bb_graphics_context;
  EXPECT_EQ(c->m_color_r, 255);
  EXPECT_EQ(c->m_alpha, 1);
  EXPECT_EQ(c->m_blend, 0);
  EXPECT_EQ(c->m_matrixSp, 0);
  EXPECT_EQ(c->m_scissor_width, kWidth);
  EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
  EXPECT_EQ(renderer->color, 0xFFFFFFFFu);
  bb_graphics_DrawRect(0, 0, 1, 1);
  EXPECT_FALSE(renderer->tformed);
  EndFrame();
  EXPECT_TRUE(PixelIs(0, 0, kWhite));

  c_Image* image = bb_graphics_CreateImage(8, 4, 3, c_Image::MidHandle);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->m_surface->Width(), 24);
  EXPECT_EQ(bb_graphics_CreateImage(1 << 20, 4, 1 << 12, 0), nullptr);
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
  int cell = c->m_font->m_surface->Width() / 96;
  EXPECT_EQ(c->m_font->m_frames.Length(), 96);
  EXPECT_EQ(c->m_font->m_width, cell - 2);
  EXPECT_EQ(c->m_font->m_frames[1]->m_x, cell + 1);
  c_Image* loaded = c->m_defaultFont;
  c_Image* other = Halves();
  bb_graphics_SetFont(other, 65);
  EXPECT_EQ(c->m_font, other);
  EXPECT_EQ(c->m_firstChar, 65);
  bb_graphics_SetFont(nullptr, 0);
  EXPECT_EQ(c->m_font, loaded);  // loaded once, then reused
}

}  // namespace
