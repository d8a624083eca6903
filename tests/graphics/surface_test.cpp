// Surface pixel handling, colour packing, decoding picture files (sound,
// damaged and hostile ones) and loading images through the API, all without
// a window.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "graphics/gl.h"
#include "graphics/graphics.h"
#include "graphics/support.h"
#include "host/glfw_game.h"

namespace {

unsigned char* Copy(const std::vector<unsigned char>& v) {
  unsigned char* p = (unsigned char*)malloc(v.size());
  memcpy(p, v.data(), v.size());
  return p;
}

std::vector<unsigned char> Bytes(const gxtkSurface* s) {
  return std::vector<unsigned char>(s->data, s->data + s->width * s->height * s->depth);
}

class SurfaceTest : public ::testing::Test {
 protected:
  void SetUp() override { InitCollector(); }
};

TEST_F(SurfaceTest, SetDataPremultipliesOnlyDepthsWithAlpha) {
  gxtkSurface* rgba = new gxtkSurface;
  ASSERT_TRUE(rgba->SetData(Copy({200, 100, 50, 128, 255, 255, 255, 0, 9, 8, 7, 255}), 3, 1, 4));
  EXPECT_EQ(Bytes(rgba), (std::vector<unsigned char>{100, 50, 25, 128, 0, 0, 0, 0, 9, 8, 7, 255}));
  EXPECT_EQ(rgba->format, GL_RGBA);

  gxtkSurface* la = new gxtkSurface;
  ASSERT_TRUE(la->SetData(Copy({200, 128, 255, 255, 77, 0}), 1, 3, 2));
  EXPECT_EQ(Bytes(la), (std::vector<unsigned char>{100, 128, 255, 255, 0, 0}));
  EXPECT_EQ(la->format, GL_LUMINANCE_ALPHA);

  gxtkSurface* rgb = new gxtkSurface;
  ASSERT_TRUE(rgb->SetData(Copy({200, 100, 50, 1, 2, 3}), 2, 1, 3));
  EXPECT_EQ(Bytes(rgb), (std::vector<unsigned char>{200, 100, 50, 1, 2, 3}));
  EXPECT_EQ(rgb->format, GL_RGB);

  gxtkSurface* grey = new gxtkSurface;
  ASSERT_TRUE(grey->SetData(Copy({17}), 1, 1, 1));
  EXPECT_EQ(grey->format, GL_LUMINANCE);
  EXPECT_EQ(grey->seq, -1);

  gxtkSurface* bad = new gxtkSurface;
  EXPECT_FALSE(bad->SetData(Copy({1, 2, 3, 4, 5}), 1, 1, 5));
  EXPECT_EQ(bad->data, nullptr);
  EXPECT_EQ(bad->format, 0);
}

TEST_F(SurfaceTest, SubDataConvertsArgbAndClipsToTheSurface) {
  gxtkSurface* s = new gxtkSurface;
  s->width = 4;
  s->height = 3;
  s->depth = 4;
  s->format = GL_RGBA;
  // A 3x2 source with a pitch of 5 pixels (2 unused per row).
  std::vector<unsigned> src = {
      0x80C86432u, 0xFF010203u, 0x00FFFFFFu, 0xDEADBEEFu, 0xDEADBEEFu,
      0xFF102030u, 0x40FF0000u, 0xFF0000FFu, 0xDEADBEEFu, 0xDEADBEEFu};
  s->SetSubData(1, 1, 3, 2, src.data(), 5);
  ASSERT_NE(s->data, nullptr);
  auto px = [&](int x, int y) {
    const unsigned char* p = s->data + (y * 4 + x) * 4;
    return std::vector<int>{p[0], p[1], p[2], p[3]};
  };
  EXPECT_EQ(px(1, 1), (std::vector<int>{100, 50, 25, 128}));
  EXPECT_EQ(px(2, 1), (std::vector<int>{1, 2, 3, 255}));
  EXPECT_EQ(px(3, 1), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_EQ(px(1, 2), (std::vector<int>{16, 32, 48, 255}));
  EXPECT_EQ(px(2, 2), (std::vector<int>{64, 0, 0, 64}));
  EXPECT_EQ(px(0, 0), (std::vector<int>{0, 0, 0, 0}));

  // Rectangles reaching outside write only the part that is inside.
  std::vector<unsigned> red(16, 0xFFFF0000u);
  s->SetSubData(-2, 2, 4, 4, red.data(), 4);
  EXPECT_EQ(px(0, 2), (std::vector<int>{255, 0, 0, 255}));
  EXPECT_EQ(px(1, 2), (std::vector<int>{255, 0, 0, 255}));
  EXPECT_EQ(px(2, 2), (std::vector<int>{64, 0, 0, 64}));
  EXPECT_EQ(px(0, 1), (std::vector<int>{0, 0, 0, 0}));
  s->SetSubData(100, 100, 4, 4, red.data(), 4);  // wholly outside: nothing

  // Surfaces that are not RGBA are left alone.
  gxtkSurface* rgb = new gxtkSurface;
  ASSERT_TRUE(rgb->SetData(Copy({1, 2, 3}), 1, 1, 3));
  rgb->SetSubData(0, 0, 1, 1, red.data(), 1);
  EXPECT_EQ(Bytes(rgb), (std::vector<unsigned char>{1, 2, 3}));

  s->Discard();
  EXPECT_EQ(s->data, nullptr);
  EXPECT_EQ(s->seq, -1);
}

TEST_F(SurfaceTest, ColourPackingIsPremultipliedAndSaturates) {
  auto bytes = [](unsigned c) {
    return std::vector<int>{int(c & 255), int(c >> 8 & 255), int(c >> 16 & 255), int(c >> 24)};
  };
  EXPECT_EQ(bytes(gxtkPackColor(200, 100, 50, 0.5f)), (std::vector<int>{100, 50, 25, 127}));
  EXPECT_EQ(bytes(gxtkPackColor(255, 255, 255, 1)), (std::vector<int>{255, 255, 255, 255}));
  EXPECT_EQ(bytes(gxtkPackColor(10.9f, 0, 0, 1)), (std::vector<int>{10, 0, 0, 255}));
  // Out-of-range input stays inside its own byte.
  EXPECT_EQ(bytes(gxtkPackColor(300, -5, 0, 1)), (std::vector<int>{255, 0, 0, 255}));
  EXPECT_EQ(bytes(gxtkPackColor(100, 100, 100, 2)), (std::vector<int>{200, 200, 200, 255}));
  EXPECT_EQ(gxtkPackColor(100, 100, 100, -1), 0u);
  EXPECT_EQ(gxtkPackColor(NAN, 0, 0, 1) & 255, 0u);
}

TEST_F(SurfaceTest, SizesAndRanges) {
  EXPECT_EQ(gxtkPowerOfTwoAbove(0), 1);
  EXPECT_EQ(gxtkPowerOfTwoAbove(1), 1);
  EXPECT_EQ(gxtkPowerOfTwoAbove(100), 128);
  EXPECT_EQ(gxtkPowerOfTwoAbove(60), 64);
  EXPECT_EQ(gxtkPowerOfTwoAbove(64), 64);
  EXPECT_EQ(gxtkPowerOfTwoAbove(65), 128);

  EXPECT_TRUE(gxtkPixelRangeFits(12, 4, 3, 0, 4));
  EXPECT_FALSE(gxtkPixelRangeFits(11, 4, 3, 0, 4));
  EXPECT_TRUE(gxtkPixelRangeFits(20, 2, 2, 10, 8));
  EXPECT_FALSE(gxtkPixelRangeFits(20, 2, 2, 11, 8));
  EXPECT_FALSE(gxtkPixelRangeFits(20, 2, 2, -1, 8));
  EXPECT_FALSE(gxtkPixelRangeFits(20, -2, 2, 0, 8));
  EXPECT_TRUE(gxtkPixelRangeFits(0, 0, 5, 0, 0));
  // A negative pitch walks upwards through the array.
  EXPECT_TRUE(gxtkPixelRangeFits(12, 4, 3, 8, -4));
  EXPECT_FALSE(gxtkPixelRangeFits(12, 4, 3, 4, -4));
  EXPECT_FALSE(gxtkPixelRangeFits(100, 10, 1000000, 0, 1 << 30));
}

TEST_F(SurfaceTest, OvalSegmentCounts) {
  EXPECT_EQ(gxtkOvalSegments(5, 5, false, 1, 0, 0, 1), 12);
  EXPECT_EQ(gxtkOvalSegments(15, 15, false, 1, 0, 0, 1), 28);
  EXPECT_EQ(gxtkOvalSegments(6, 6, false, 1, 0, 0, 1), 12);
  EXPECT_EQ(gxtkOvalSegments(6.9f, 6.9f, false, 1, 0, 0, 1), 12);
  EXPECT_EQ(gxtkOvalSegments(-8, 8, false, 1, 0, 0, 1), 16);
  EXPECT_EQ(gxtkOvalSegments(2500, 2500, false, 1, 0, 0, 1), 1024);
  EXPECT_EQ(gxtkOvalSegments(512, 512, false, 1, 0, 0, 1), 1024);
  EXPECT_EQ(gxtkOvalSegments(1e30f, 1e30f, false, 1, 0, 0, 1), 1024);
  EXPECT_EQ(gxtkOvalSegments(INFINITY, 0, true, 1, 1, 1, 1), 1024);
  EXPECT_EQ(gxtkOvalSegments(NAN, 5, false, 1, 0, 0, 1), 12);
  // Under a matrix the radii are measured along the transformed axes.
  EXPECT_EQ(gxtkOvalSegments(10, 10, true, 2, 0, 0, 2), 40);
  EXPECT_EQ(gxtkOvalSegments(10, 10, true, 0, 3, -3, 0), 60);
  EXPECT_EQ(gxtkOvalSegments(10, 10, true, 0.5f, 0, 0, 0.5f), 12);
}

// Decoding goes through the host's file layer and stb_image.
class ImageFileTest : public SurfaceTest {
 protected:
  void SetUp() override {
    SurfaceTest::SetUp();
    dir = TestDir("image_files");
    game = new BBGlfwGame;
  }
  void TearDown() override { delete game; }
  std::string dir;
  BBGlfwGame* game = nullptr;
};

TEST_F(ImageFileTest, DecodesEveryChannelCount) {
  for (int channels = 1; channels <= 4; ++channels) {
    std::vector<unsigned char> px(6 * 5 * channels);
    for (size_t i = 0; i < px.size(); ++i) px[i] = (unsigned char)(i * 7 + channels);
    std::string path = dir + "/c" + std::to_string(channels) + ".png";
    WritePng(path, 6, 5, channels, px);
    int w = 0, h = 0, d = 0;
    unsigned char* data = game->LoadImageData(path.c_str(), &w, &h, &d);
    ASSERT_NE(data, nullptr) << channels;
    EXPECT_EQ(w, 6);
    EXPECT_EQ(h, 5);
    EXPECT_EQ(d, channels);
    EXPECT_EQ(std::vector<unsigned char>(data, data + px.size()), px);
    free(data);
  }
}

TEST_F(ImageFileTest, MissingDamagedAndHostileFilesGiveNull) {
  int w = -7, h = -7, d = -7;
  EXPECT_EQ(game->LoadImageData((dir + "/missing.png").c_str(), &w, &h, &d), nullptr);
  EXPECT_EQ(game->LoadImageData("quill://nowhere/x.png", &w, &h, &d), nullptr);

  std::vector<unsigned char> px(64 * 64 * 4, 200);
  std::string good = dir + "/good.png";
  WritePng(good, 64, 64, 4, px);
  std::vector<unsigned char> bytes = ReadBytes(good);
  ASSERT_GT(bytes.size(), 40u);

  WriteBytes(dir + "/empty.png", {});
  EXPECT_EQ(game->LoadImageData((dir + "/empty.png").c_str(), &w, &h, &d), nullptr);

  WriteBytes(dir + "/truncated.png", std::vector<unsigned char>(bytes.begin(), bytes.begin() + bytes.size() / 2));
  EXPECT_EQ(game->LoadImageData((dir + "/truncated.png").c_str(), &w, &h, &d), nullptr);

  std::vector<unsigned char> junk(300);
  for (size_t i = 0; i < junk.size(); ++i) junk[i] = (unsigned char)(i * 131 + 17);
  WriteBytes(dir + "/junk.png", junk);
  EXPECT_EQ(game->LoadImageData((dir + "/junk.png").c_str(), &w, &h, &d), nullptr);

  // A header claiming a picture of 60000 x 60000: refused before decoding
  // tries to allocate for it. Width and height sit at bytes 16..23.
  std::vector<unsigned char> huge = bytes;
  for (int i : {16, 20}) {
    huge[i] = 0;
    huge[i + 1] = 0;
    huge[i + 2] = 0xEA;
    huge[i + 3] = 0x60;
  }
  WriteBytes(dir + "/huge.png", huge);
  EXPECT_EQ(game->LoadImageData((dir + "/huge.png").c_str(), &w, &h, &d), nullptr);

  EXPECT_EQ(w, -7);  // failures leave the outputs alone
  EXPECT_EQ(h, -7);
  EXPECT_EQ(d, -7);
}

TEST_F(ImageFileTest, LoadImageThroughTheApi) {
  bb_graphics_Init();
  bb_graphics_SetGraphicsDevice(new gxtkGraphics);
  std::vector<unsigned char> px(96 * 8 * 4);
  for (size_t i = 0; i < px.size(); i += 4) {
    px[i] = 255;
    px[i + 3] = (unsigned char)(i / 4 % 96 < 48 ? 255 : 0);
  }
  std::string path = dir + "/strip.png";
  WritePng(path, 96, 8, 4, px);

  c_Image* image = bb_graphics_LoadImage(path.c_str(), 4, c_Image::XPadding);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->m_surface->Width(), 96);
  EXPECT_EQ(image->m_surface->Height(), 8);
  EXPECT_EQ(image->m_width, 22);
  EXPECT_EQ(image->m_frames[2]->m_x, 49);
  // Transparent texels were premultiplied to black.
  EXPECT_EQ(image->m_surface->data[0], 255);
  EXPECT_EQ(image->m_surface->data[50 * 4], 0);
  // No window yet, so no texture either.
  EXPECT_EQ(image->m_surface->seq, -1);

  c_Image* grid = bb_graphics_LoadImage2(path.c_str(), 32, 8, 3, 0);
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->m_frames[2]->m_x, 64);

  EXPECT_EQ(bb_graphics_LoadImage((dir + "/absent.png").c_str(), 1, 0), nullptr);
  EXPECT_EQ(bb_graphics_LoadImage2((dir + "/absent.png").c_str(), 8, 8, 1, 0), nullptr);
  bb_graphics_SetGraphicsDevice(nullptr);
}

}  // namespace
