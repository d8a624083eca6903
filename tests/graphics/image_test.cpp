// Cutting surfaces into frames, image flags and handles, and the runtime
// errors of image initialisation. No window: textures wait for one.
#include <gtest/gtest.h>

#include <cstdlib>

#include "graphics/graphics.h"
#include "support/child_process.h"

namespace {

gxtkSurface* Blank(int w, int h) {
  gxtkSurface* s = new gxtkSurface;
  s->SetData((unsigned char*)calloc((size_t)w * h, 4), w, h, 4);
  return s;
}

c_Image* Strip(int w, int h, int frames, int flags) {
  return (new c_Image)->m_new()->p_Init(Blank(w, h), frames, flags);
}

c_Image* Grid(int w, int h, int fw, int fh, int frames, int flags = 0) {
  return (new c_Image)->m_new()->p_Init2(Blank(w, h), 0, 0, fw, fh, frames, flags, nullptr, 0,
                                         0, w, h);
}

// Frame positions as "x,y x,y ...".
std::string Frames(c_Image* image) {
  std::string out;
  for (int i = 0; i < image->m_frames.Length(); ++i) {
    out += (i ? " " : "") + std::to_string(image->m_frames[i]->m_x) + "," +
           std::to_string(image->m_frames[i]->m_y);
  }
  return out;
}

class ImageTest : public ::testing::Test {
 protected:
  void SetUp() override { gc_init(); }
};

TEST_F(ImageTest, StripsGridsAndPadding) {
  c_Image* plain = Strip(96, 20, 4, 0);
  EXPECT_EQ(Frames(plain), "0,0 24,0 48,0 72,0");
  EXPECT_EQ(plain->m_width, 24);
  EXPECT_EQ(plain->m_height, 20);
  c_Image* padded = Strip(96, 20, 4, c_Image::XPadding | c_Image::YPadding);
  EXPECT_EQ(Frames(padded), "1,1 25,1 49,1 73,1");
  EXPECT_EQ(padded->m_width, 22);
  EXPECT_EQ(padded->m_height, 18);

  EXPECT_EQ(Frames(Grid(64, 64, 32, 32, 4)), "0,0 32,0 0,32 32,32");
  EXPECT_EQ(Frames(Grid(70, 40, 32, 20, 4)), "0,0 32,0 0,20 32,20");  // spare columns skipped
  c_Image* sheet = Strip(128, 64, 1, 0);
  c_Image* sub = (new c_Image)->m_new()->p_Init2(sheet->m_surface, 0, 0, 16, 16, 3, 0, sheet,
                                                 64, 32, 32, 32);
  EXPECT_EQ(Frames(sub), "64,32 80,32 64,48");
  EXPECT_EQ(sub->m_source, sheet);
}

TEST_F(ImageTest, FullFrameBitAndHandles) {
  EXPECT_EQ(Strip(40, 30, 1, 0)->m_flags, c_Image::FullFrame);
  EXPECT_EQ(Strip(40, 30, 1, c_Image::XPadding)->m_flags, c_Image::XPadding);
  EXPECT_EQ(Strip(40, 30, 1, c_Image::YPadding)->m_flags, c_Image::YPadding);
  EXPECT_EQ(Strip(40, 30, 2, 0)->m_flags, 0);
  EXPECT_EQ(Grid(40, 30, 20, 30, 1)->m_flags, 0);
  EXPECT_EQ(Strip(40, 30, 1, c_Image::MidHandle)->m_flags, c_Image::FullFrame);

  c_Image* mid = Strip(32, 16, 1, c_Image::MidHandle);
  EXPECT_FLOAT_EQ(mid->m_tx, 16);
  EXPECT_FLOAT_EQ(mid->m_ty, 8);
  // The handle is taken after padding narrowed the frame.
  c_Image* padded = Strip(34, 11, 1, c_Image::MidHandle | c_Image::XPadding);
  EXPECT_EQ(padded->m_width, 32);
  EXPECT_FLOAT_EQ(padded->m_tx, 16);
  EXPECT_FLOAT_EQ(padded->m_ty, 5.5f);
  EXPECT_EQ(padded->m_flags, c_Image::XPadding);
  padded->m_flags |= c_Image::MidHandle;
  padded->p_SetHandle(2, 3);
  EXPECT_FLOAT_EQ(padded->m_tx, 2);
  EXPECT_EQ(padded->m_flags, c_Image::XPadding);
}

TEST_F(ImageTest, MisuseEndsWithRuntimeError) {
  ExpectRuntimeError([] { Strip(64, 64, 2, 0)->p_Init(Blank(8, 8), 1, 0); },
                     "Image already initialized");
  ExpectRuntimeError([] { Grid(64, 64, 32, 32, 5); }, "Image frame outside surface");
  ExpectRuntimeError([] { Grid(64, 64, 65, 32, 1); }, "Image frame outside surface");
  ExpectRuntimeError([] { Grid(64, 64, 32, 65, 1); }, "Image frame outside surface");
  ExpectRuntimeError([] { Strip(64, 64, 0, 0); }, "Image frame count must be at least 1");
  ChildResult exactFit = RunInChild([] { Grid(64, 64, 32, 32, 4); });
  EXPECT_EQ(exactFit.status, 100);  // returned normally
  EXPECT_EQ(exactFit.out, "");
}

}  // namespace
