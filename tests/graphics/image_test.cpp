// Without a window: surface pixels and colour packing, picture files (good
// and hostile) through the desktop host, images cut into frames, and the
// runtime errors of misuse. The matrix is checked by where images land.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>

#include "graphics/gl.h"
#include "graphics/graphics.h"
#include "host/glfw_game.h"
#include "png.h"
#include "support/child_process.h"

namespace {

using Bytes = std::vector<unsigned char>;

gxtkSurface* Surface(const Bytes& px, int w, int h, int depth = 4) {
  gxtkSurface* s = new gxtkSurface;
  s->SetData((unsigned char*)memcpy(malloc(px.size()), px.data(), px.size()), w, h, depth);
  return s;
}
Bytes Stored(const gxtkSurface* s) { return s->data ? Bytes(s->data, s->data + s->width * s->height * s->depth) : Bytes(); }
c_Image* Strip(int w, int h, int frames, int flags) {
  return (new c_Image)->m_new()->p_Init(Surface(Bytes(w * h * 4), w, h), frames, flags);
}
c_Image* Grid(int w, int h, int fw, int fh, int frames) {
  return (new c_Image)->m_new()->p_Init2(Surface(Bytes(w * h * 4), w, h), 0, 0, fw, fh, frames, 0, nullptr, 0, 0, w, h);
}
// Frame positions as "x,y x,y ...".
std::string Frames(c_Image* image) {
  std::string out;
  for (int i = 0; i < image->m_frames.Length(); ++i)
    out += (i ? " " : "") + std::to_string(image->m_frames[i]->m_x) + "," + std::to_string(image->m_frames[i]->m_y);
  return out;
}

struct Offscreen : ::testing::Test {
  void SetUp() override { gc_init(), bb_graphics_Init(); }
};

TEST_F(Offscreen, StoredPixelsAndVertexColoursArePremultiplied) {
  EXPECT_EQ(Stored(Surface({200, 100, 50, 128, 255, 255, 255, 0, 9, 8, 7, 255}, 3, 1)),
            (Bytes{100, 50, 25, 128, 0, 0, 0, 0, 9, 8, 7, 255}));
  EXPECT_EQ(Stored(Surface({200, 128, 77, 0}, 2, 1, 2)), (Bytes{100, 128, 0, 0}));
  EXPECT_EQ(Stored(Surface({200, 100, 50}, 1, 1, 3)), (Bytes{200, 100, 50}));
  EXPECT_EQ(Surface({1, 2, 3, 4, 5}, 1, 1, 5)->data, nullptr);  // no such depth
  // Out-of-range input stays inside its own byte (ABGR, premultiplied).
  EXPECT_EQ(gxtkPackColor(200, 100, 50, 0.5f), 0x7F193264u);
  EXPECT_EQ(gxtkPackColor(300, -5, 10.9f, 2), 0xFF1500FFu);
  EXPECT_EQ(gxtkPackColor(NAN, 100, 100, -1), 0u);
  // Non-finite sizes cannot push an oval past the batch.
  EXPECT_EQ(gxtkOvalSegments(INFINITY, 0, true, 1, 1, 1, 1), 1024);
  EXPECT_EQ(gxtkOvalSegments(NAN, 5, false, 1, 0, 0, 1), 12);
}

// Good pictures of every channel count load exactly; hostile ones that ask
// for more memory than a picture can need are refused before or while
// decoding, with the reason on one line.
TEST_F(Offscreen, PictureFilesLoadOrAreRefused) {
  const char* bin = getenv("LARKSPIN_BINARY_DIR");
  const std::string dir = std::string(bin ? bin : ".") + "/test-output-graphics/";
  BBGlfwGame game;
  int w = -7, h = -7, d = -7;
  for (int channels = 1; channels <= 4; ++channels) {
    Bytes px(6 * 5 * channels);
    for (size_t i = 0; i < px.size(); ++i) px[i] = (unsigned char)(i * 7 + channels);
    assetgen::WriteFile(dir + "c.png", assetgen::EncodePng(px, 6, 5, channels));
    unsigned char* data = game.LoadImageData((dir + "c.png").c_str(), &w, &h, &d);
    ASSERT_NE(data, nullptr) << channels;
    EXPECT_EQ(std::vector<int>({w, h, d}), std::vector<int>({6, 5, channels}));
    EXPECT_EQ(Bytes(data, data + px.size()), px);
    free(data);
  }
  // 4096 x 4096 in 16-bit grey: a size allowed in 8 bits, but the decoder
  // would hold 128 MB for it; and one pixel whose stream inflates to 128 MB.
  Bytes deep = assetgen::EncodePng(Bytes(4), 1, 1, 4);
  for (int i : {16, 20}) deep[i + 2] = 0x10, deep[i + 3] = 0;
  deep[24] = 16, deep[25] = 0;
  assetgen::WriteFile(dir + "deep.png", deep);
  Bytes zeros(128u << 20);
  uLongf packedSize = compressBound(zeros.size());
  Bytes packed(packedSize);
  compress2(packed.data(), &packedSize, zeros.data(), zeros.size(), 1), packed.resize(packedSize);
  assetgen::WriteFile(dir + "inflating.png", assetgen::WrapPng(1, 1, 8, 6, packed));
  testing::internal::CaptureStderr();
  for (const char* name : {"deep.png", "inflating.png", "missing.png"})
    EXPECT_EQ(game.LoadImageData((dir + name).c_str(), &w, &h, &d), nullptr) << name;
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Cannot load picture " + dir + "deep.png: picture needs too much memory to decode\n"
            "Cannot load picture " + dir + "inflating.png: outofmem\n");
  EXPECT_EQ(game.LoadImageData("quill://nowhere/x.png", &w, &h, &d), nullptr);
}

TEST_F(Offscreen, FramesFlagsAndHandles) {
  c_Image* padded = Strip(96, 20, 4, c_Image::XPadding | c_Image::YPadding);
  EXPECT_EQ(Frames(padded), "1,1 25,1 49,1 73,1");
  EXPECT_EQ(std::make_pair(padded->m_width, padded->m_height), std::make_pair(22, 18));
  EXPECT_EQ(Frames(Grid(70, 40, 32, 20, 4)), "0,0 32,0 0,20 32,20");  // spare columns skipped
  c_Image* sheet = Strip(128, 64, 1, 0);
  c_Image* sub = (new c_Image)->m_new()->p_Init2(sheet->m_surface, 0, 0, 16, 16, 3, 0, sheet, 64, 32, 32, 32);
  EXPECT_EQ(Frames(sub), "64,32 80,32 64,48");
  EXPECT_EQ(Strip(40, 30, 1, c_Image::MidHandle)->m_flags, c_Image::FullFrame);
  EXPECT_EQ(Strip(40, 30, 1, c_Image::YPadding)->m_flags, c_Image::YPadding);
  EXPECT_EQ(Strip(40, 30, 2, 0)->m_flags, 0);
  // The handle is taken after padding narrowed the frame.
  c_Image* mid = Strip(34, 11, 1, c_Image::MidHandle | c_Image::XPadding);
  EXPECT_EQ(std::make_pair(mid->m_tx, mid->m_ty), std::make_pair(16.0f, 5.5f));
  ExpectRuntimeError([] { Strip(64, 64, 2, 0)->p_Init(Surface(Bytes(4), 1, 1), 1, 0); }, "Image already initialized");
  ExpectRuntimeError([] { Grid(64, 64, 32, 32, 5); }, "Image frame outside surface");
  ExpectRuntimeError([] { Grid(64, 64, 65, 32, 1); }, "Image frame outside surface");
  ExpectRuntimeError([] { Strip(64, 64, 0, 0); }, "Image frame count must be at least 1");
  EXPECT_EQ(RunInChild([] { Grid(64, 64, 32, 32, 4); }).status, 100);  // an exact fit returns normally
  ExpectRuntimeError([] { bb_graphics_PopMatrix(); }, "Matrix stack underflow");
  ExpectRuntimeError([] { bb_graphics_SetColor(1, 2, 3); }, "Drawing is only possible while a frame is being rendered");
}

}  // namespace
