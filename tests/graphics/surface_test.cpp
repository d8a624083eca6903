// Surface pixels, colour packing, decoding picture files (good, damaged and
// hostile) and loading images through the API, all without a window.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zlib.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "graphics/gl.h"
#include "graphics/graphics.h"
#include "host/glfw_game.h"
#include "png.h"

namespace {

using Bytes = std::vector<unsigned char>;

gxtkSurface* Surface(const Bytes& px, int w, int h, int depth) {
  unsigned char* data = (unsigned char*)malloc(px.size());
  memcpy(data, px.data(), px.size());
  gxtkSurface* s = new gxtkSurface;
  s->SetData(data, w, h, depth);
  return s;
}

Bytes Stored(const gxtkSurface* s) {
  return s->data ? Bytes(s->data, s->data + s->width * s->height * s->depth) : Bytes();
}

void WritePng(const std::string& path, int w, int h, int channels, const Bytes& pixels) {
  assetgen::WriteFile(path, assetgen::EncodePng(pixels, w, h, channels));
}

class SurfaceTest : public ::testing::Test {
 protected:
  void SetUp() override { gc_init(); }
};

TEST_F(SurfaceTest, StoredPixelsArePremultiplied) {
  gxtkSurface* rgba = Surface({200, 100, 50, 128, 255, 255, 255, 0, 9, 8, 7, 255}, 3, 1, 4);
  EXPECT_EQ(Stored(rgba), (Bytes{100, 50, 25, 128, 0, 0, 0, 0, 9, 8, 7, 255}));
  EXPECT_EQ(rgba->format, GL_RGBA);
  EXPECT_EQ(rgba->seq, -1);
  EXPECT_EQ(Stored(Surface({200, 128, 77, 0}, 2, 1, 2)), (Bytes{100, 128, 0, 0}));
  EXPECT_EQ(Stored(Surface({200, 100, 50}, 1, 1, 3)), (Bytes{200, 100, 50}));
  EXPECT_EQ(Surface({17}, 1, 1, 1)->format, GL_LUMINANCE);
  EXPECT_EQ(Surface({1, 2, 3, 4, 5}, 1, 1, 5)->data, nullptr);  // no such depth

  // Sub-rectangles arrive as ARGB with a pitch and are clipped to the surface.
  gxtkSurface* s = new gxtkSurface;
  s->width = 3;
  s->height = 2;
  s->depth = 4;
  s->format = GL_RGBA;
  const unsigned src[] = {0x80C86432u, 0xFF010203u, 0xDEADBEEFu, 0x40FF0000u, 0xFF0000FFu};
  s->SetSubData(1, 0, 2, 2, src, 3);
  EXPECT_EQ(Stored(s), (Bytes{0, 0, 0, 0, 100, 50, 25, 128, 1, 2, 3, 255,  //
                              0, 0, 0, 0, 64, 0, 0, 64, 0, 0, 255, 255}));
  const unsigned red[16] = {0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u};
  s->SetSubData(-3, 1, 4, 4, red, 0);
  s->SetSubData(50, 50, 4, 4, red, 4);
  EXPECT_EQ(Stored(s), (Bytes{0, 0, 0, 0, 100, 50, 25, 128, 1, 2, 3, 255,  //
                              255, 0, 0, 255, 64, 0, 0, 64, 0, 0, 255, 255}));
  gxtkSurface* rgb = Surface({1, 2, 3}, 1, 1, 3);
  rgb->SetSubData(0, 0, 1, 1, red, 1);  // only RGBA surfaces take sub-data
  EXPECT_EQ(Stored(rgb), (Bytes{1, 2, 3}));
  s->Discard();
  EXPECT_EQ(s->data, nullptr);
  EXPECT_EQ(gxtkPowerOfTwoAbove(100), 128);
  EXPECT_EQ(gxtkPowerOfTwoAbove(64), 64);
  EXPECT_EQ(gxtkPowerOfTwoAbove(0), 1);
}

TEST_F(SurfaceTest, VertexColourIsPremultipliedAndSaturates) {
  auto bytes = [](unsigned c) {
    return Bytes{(unsigned char)c, (unsigned char)(c >> 8), (unsigned char)(c >> 16),
                 (unsigned char)(c >> 24)};
  };
  EXPECT_EQ(bytes(gxtkPackColor(200, 100, 50, 0.5f)), (Bytes{100, 50, 25, 127}));
  EXPECT_EQ(bytes(gxtkPackColor(10.9f, 0, 0, 1)), (Bytes{10, 0, 0, 255}));
  // Out-of-range input stays inside its own byte.
  EXPECT_EQ(bytes(gxtkPackColor(300, -5, 0, 1)), (Bytes{255, 0, 0, 255}));
  EXPECT_EQ(bytes(gxtkPackColor(100, 100, 100, 2)), (Bytes{200, 200, 200, 255}));
  EXPECT_EQ(gxtkPackColor(NAN, 100, 100, -1), 0u);
  // Non-finite sizes cannot push an oval past the batch.
  EXPECT_EQ(gxtkOvalSegments(1e30f, 1e30f, false, 1, 0, 0, 1), 1024);
  EXPECT_EQ(gxtkOvalSegments(INFINITY, 0, true, 1, 1, 1, 1), 1024);
  EXPECT_EQ(gxtkOvalSegments(NAN, 5, false, 1, 0, 0, 1), 12);
}

class ImageFileTest : public SurfaceTest {
 protected:
  void SetUp() override {
    SurfaceTest::SetUp();
    const char* bin = getenv("LARKSPIN_BINARY_DIR");
    dir = std::string(bin ? bin : ".") + "/test-output-graphics";
    mkdir(dir.c_str(), 0755);
  }
  unsigned char* Load(const std::string& name, int* w, int* h, int* d) {
    return game.LoadImageData((dir + "/" + name).c_str(), w, h, d);
  }
  void Write(const std::string& name, const Bytes& bytes) {
    std::ofstream(dir + "/" + name, std::ios::binary).write((const char*)bytes.data(), bytes.size());
  }
  std::string dir;
  BBGlfwGame game;
};

TEST_F(ImageFileTest, DecodesEveryChannelCount) {
  for (int channels = 1; channels <= 4; ++channels) {
    Bytes px(6 * 5 * channels);
    for (size_t i = 0; i < px.size(); ++i) px[i] = (unsigned char)(i * 7 + channels);
    std::string name = "c" + std::to_string(channels) + ".png";
    WritePng(dir + "/" + name, 6, 5, channels, px);
    int w = 0, h = 0, d = 0;
    unsigned char* data = Load(name, &w, &h, &d);
    ASSERT_NE(data, nullptr) << channels;
    EXPECT_EQ(std::vector<int>({w, h, d}), std::vector<int>({6, 5, channels}));
    EXPECT_EQ(Bytes(data, data + px.size()), px);
    free(data);
  }
}

TEST_F(ImageFileTest, MissingDamagedAndHostileFilesGiveNull) {
  WritePng(dir + "/good.png", 64, 64, 4, Bytes(64 * 64 * 4, 200));
  std::ifstream in(dir + "/good.png", std::ios::binary);
  Bytes good((std::istreambuf_iterator<char>(in)), {});
  ASSERT_GT(good.size(), 40u);
  Write("empty.png", {});
  Write("truncated.png", Bytes(good.begin(), good.begin() + good.size() / 2));
  Bytes junk(300);
  for (size_t i = 0; i < junk.size(); ++i) junk[i] = (unsigned char)(i * 131 + 17);
  Write("junk.png", junk);
  // Width and height (bytes 16..23) claiming 60000 x 60000: refused before
  // the decoder allocates for it.
  Bytes huge = good;
  for (int i : {16, 20}) huge[i + 2] = 0xEA, huge[i + 3] = 0x60;
  Write("huge.png", huge);
  // 4096 x 4096 in 16-bit grey: a size allowed in 8 bits, but the decoder
  // would hold 128 MB for it.
  Bytes deep = good;
  for (int i : {16, 20}) deep[i + 2] = 0x10, deep[i + 3] = 0;
  deep[24] = 16, deep[25] = 0;
  Write("deep.png", deep);
  Write("jpeg.png", {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
  // One pixel whose stream inflates to 128 MB: only the decoder's memory
  // ceiling can stop it.
  Bytes zeros(128u << 20);
  uLongf packedSize = compressBound(zeros.size());
  Bytes packed(packedSize);
  compress2(packed.data(), &packedSize, zeros.data(), zeros.size(), 1);
  packed.resize(packedSize);
  Write("inflating.png", assetgen::WrapPng(1, 1, 8, 6, packed));

  int w = -7, h = -7, d = -7;
  testing::internal::CaptureStderr();
  for (const char* name :
       {"missing.png", "empty.png", "truncated.png", "junk.png", "huge.png", "deep.png", "jpeg.png", "inflating.png"}) {
    EXPECT_EQ(Load(name, &w, &h, &d), nullptr) << name;
  }
  std::string refusals = testing::internal::GetCapturedStderr();
  for (const char* line : {"jpeg.png: not a PNG file", "deep.png: picture needs too much memory", "inflating.png: outofmem"})
    EXPECT_NE(refusals.find(line), std::string::npos) << line << " not in:\n" << refusals;
  EXPECT_EQ(game.LoadImageData("quill://nowhere/x.png", &w, &h, &d), nullptr);
  EXPECT_EQ(std::vector<int>({w, h, d}), std::vector<int>({-7, -7, -7}));
}

TEST_F(ImageFileTest, LoadImageThroughTheApi) {
  bb_graphics_Init();
  bb_graphics_SetGraphicsDevice(new gxtkGraphics);
  Bytes px(96 * 8 * 4);
  for (size_t i = 0; i < px.size(); i += 4) px[i] = 255, px[i + 3] = i / 4 % 96 < 48 ? 255 : 0;
  std::string path = dir + "/strip.png";
  WritePng(path, 96, 8, 4, px);

  c_Image* image = bb_graphics_LoadImage(path.c_str(), 4, c_Image::XPadding);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->m_surface->Width(), 96);
  EXPECT_EQ(image->m_width, 22);
  EXPECT_EQ(image->m_frames[2]->m_x, 49);
  EXPECT_EQ(image->m_surface->data[0], 255);
  EXPECT_EQ(image->m_surface->data[50 * 4], 0);  // transparent red became black
  c_Image* grid = bb_graphics_LoadImage2(path.c_str(), 32, 8, 3, 0);
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->m_frames[2]->m_x, 64);
  EXPECT_EQ(bb_graphics_LoadImage((dir + "/absent.png").c_str(), 1, 0), nullptr);
  EXPECT_EQ(bb_graphics_LoadImage2((dir + "/absent.png").c_str(), 8, 8, 1, 0), nullptr);
  bb_graphics_SetGraphicsDevice(nullptr);
}

}  // namespace
