// Cutting surfaces into frames, image flags and handles, and the runtime
// errors of image initialisation. No window needed: textures are only made
// once a window exists.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "graphics/graphics.h"
#include "graphics/support.h"

namespace {

gxtkSurface* BlankSurface(int w, int h) {
  gxtkSurface* s = new gxtkSurface;
  unsigned char* px = (unsigned char*)calloc((size_t)w * h, 4);
  EXPECT_TRUE(s->SetData(px, w, h, 4));
  return s;
}

struct FramePos {
  int x, y;
  bool operator==(const FramePos& o) const { return x == o.x && y == o.y; }
};

std::vector<FramePos> Frames(c_Image* image) {
  std::vector<FramePos> out;
  for (int i = 0; i < image->m_frames.Length(); ++i) {
    out.push_back({image->m_frames[i]->m_x, image->m_frames[i]->m_y});
  }
  return out;
}

class ImageTest : public ::testing::Test {
 protected:
  void SetUp() override { InitCollector(); }
  c_Image* Strip(int w, int h, int frames, int flags) {
    return (new c_Image)->m_new()->p_Init(BlankSurface(w, h), frames, flags);
  }
  c_Image* Grid(int w, int h, int fw, int fh, int frames, int flags) {
    return (new c_Image)->m_new()->p_Init2(BlankSurface(w, h), 0, 0, fw, fh,
                                           frames, flags, nullptr, 0, 0, w, h);
  }
};

TEST_F(ImageTest, StripFramesAndHorizontalPadding) {
  c_Image* plain = Strip(96, 20, 4, 0);
  EXPECT_EQ(plain->m_width, 24);
  EXPECT_EQ(plain->m_height, 20);
  EXPECT_EQ(Frames(plain), (std::vector<FramePos>{{0, 0}, {24, 0}, {48, 0}, {72, 0}}));
  EXPECT_EQ(plain->m_flags, 0);

  c_Image* padded = Strip(96, 20, 4, c_Image::XPadding);
  EXPECT_EQ(padded->m_width, 22);
  EXPECT_EQ(padded->m_height, 20);
  EXPECT_EQ(Frames(padded), (std::vector<FramePos>{{1, 0}, {25, 0}, {49, 0}, {73, 0}}));

  c_Image* both = Strip(96, 20, 4, c_Image::XPadding | c_Image::YPadding);
  EXPECT_EQ(both->m_height, 18);
  EXPECT_EQ(Frames(both)[3], (FramePos{73, 1}));
}

TEST_F(ImageTest, FullFrameBitOnlyForOneUnpaddedFrame) {
  EXPECT_EQ(Strip(40, 30, 1, 0)->m_flags, c_Image::FullFrame);
  EXPECT_EQ(Strip(40, 30, 1, c_Image::XPadding)->m_flags, c_Image::XPadding);
  EXPECT_EQ(Strip(40, 30, 1, c_Image::YPadding)->m_flags, c_Image::YPadding);
  EXPECT_EQ(Strip(40, 30, 2, 0)->m_flags, 0);
  // A single grid frame smaller than its surface is not the whole surface.
  EXPECT_EQ(Grid(40, 30, 20, 30, 1, 0)->m_flags, 0);
  // The mid-handle bit is never stored, but does not hide the full frame.
  EXPECT_EQ(Strip(40, 30, 1, c_Image::MidHandle)->m_flags, c_Image::FullFrame);
}

TEST_F(ImageTest, GridWalksRowByRow) {
  c_Image* grid = Grid(64, 64, 32, 32, 4, 0);
  EXPECT_EQ(Frames(grid), (std::vector<FramePos>{{0, 0}, {32, 0}, {0, 32}, {32, 32}}));
  // Leftover columns are skipped, not split.
  c_Image* ragged = Grid(70, 40, 32, 20, 4, 0);
  EXPECT_EQ(Frames(ragged), (std::vector<FramePos>{{0, 0}, {32, 0}, {0, 20}, {32, 20}}));
}

TEST_F(ImageTest, GridInsideSourceRectangleIsOffset) {
  c_Image* sheet = Strip(128, 64, 1, 0);
  c_Image* sub = (new c_Image)->m_new()->p_Init2(sheet->m_surface, 0, 0, 16, 16,
                                                 3, 0, sheet, 64, 32, 32, 32);
  EXPECT_EQ(Frames(sub), (std::vector<FramePos>{{64, 32}, {80, 32}, {64, 48}}));
  EXPECT_EQ(sub->m_source, sheet);
  EXPECT_EQ(sub->m_flags, 0);
}

TEST_F(ImageTest, HandlesFromFlags) {
  c_Image* mid = Strip(32, 16, 1, c_Image::MidHandle);
  EXPECT_FLOAT_EQ(mid->m_tx, 16);
  EXPECT_FLOAT_EQ(mid->m_ty, 8);
  // The handle is taken after padding has narrowed the frame.
  c_Image* padded = Strip(34, 10, 1, c_Image::MidHandle | c_Image::XPadding);
  EXPECT_EQ(padded->m_width, 32);
  EXPECT_FLOAT_EQ(padded->m_tx, 16);
  EXPECT_FLOAT_EQ(padded->m_ty, 5);
  EXPECT_EQ(padded->m_flags, c_Image::XPadding);

  c_Image* odd = Strip(33, 7, 1, c_Image::MidHandle);
  EXPECT_FLOAT_EQ(odd->m_tx, 16.5f);
  EXPECT_FLOAT_EQ(odd->m_ty, 3.5f);
  odd->m_flags |= c_Image::MidHandle;
  odd->p_SetHandle(2, 3);
  EXPECT_FLOAT_EQ(odd->m_tx, 2);
  EXPECT_FLOAT_EQ(odd->m_ty, 3);
  EXPECT_EQ(odd->m_flags & c_Image::MidHandle, 0);
}

TEST_F(ImageTest, MisuseEndsWithRuntimeError) {
  auto expectError = [](const std::function<void()>& fn, const std::string& msg) {
    ChildResult r = RunInChild(fn);
    EXPECT_EQ(r.exitStatus, 255) << msg;
    EXPECT_NE(r.output.find("Quill Runtime Error : " + msg), std::string::npos)
        << r.output;
  };
  expectError([this] {
    c_Image* image = Strip(64, 64, 2, 0);
    image->p_Init(BlankSurface(8, 8), 1, 0);
  }, "Image already initialized");
  expectError([this] {
    c_Image* image = Grid(64, 64, 8, 8, 1, 0);
    image->p_Init2(image->m_surface, 0, 0, 8, 8, 1, 0, nullptr, 0, 0, 64, 64);
  }, "Image already initialized");
  expectError([this] { Grid(64, 64, 32, 32, 5, 0); }, "Image frame outside surface");
  expectError([this] { Grid(64, 64, 65, 32, 1, 0); }, "Image frame outside surface");
  expectError([this] { Grid(64, 64, 32, 65, 1, 0); }, "Image frame outside surface");
  expectError([this] { Strip(64, 64, 0, 0); }, "Image frame count must be at least 1");

  // The exact fit is fine and must not be reported.
  ChildResult ok = RunInChild([this] { Grid(64, 64, 32, 32, 4, 0); });
  EXPECT_EQ(ok.exitStatus, 0);
  EXPECT_EQ(ok.output, "");
}

}  // namespace
