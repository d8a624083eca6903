// The graphics layer. Without a window: surface pixels and colour packing,
// picture files (good and hostile), images cut into frames, and the runtime
// errors of misuse. In a real window (under Xvfb in CTest): what reaches
// OpenGL (draw calls and why batches break) and what lands in the framebuffer.
#include <gtest/gtest.h>
#include <zlib.h>

#include <GLFW/glfw3.h>

#include <cmath>
#include <functional>

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
c_Image* Strip(int w, int h, int n, int flags) { return (new c_Image)->m_new()->p_Init(Surface(Bytes(w * h * 4), w, h), n, flags); }
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

const int kWidth = 256, kHeight = 192;
const char *kBlack = "0 0 0", *kWhite = "255 255 255", *kRed = "255 0 0", *kGreen = "0 255 0", *kBlue = "0 0 255";
using Points = std::initializer_list<std::pair<int, int>>;

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

struct Render : ::testing::Test {
  // The window and GLFW stay up until the process ends: unloading the GL
  // driver would have the sanitizer report its blocks as leaks.
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
  gxtkSurface* a = Surface({255, 0, 0, 255, 0, 255, 0, 255}, 2, 1);
  gxtkSurface* b = Surface({0, 0, 255, 255}, 1, 1);
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
      {"kinds alternate", [&] { r->DrawPoint(1, 1), r->DrawRect(5, 5, 2, 2), r->DrawPoint(3, 3); }, 3, 6, gxtkFlushKind, 2, 5, 5, kWhite},
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
  r->DrawSurface(Surface({200, 100, 50, 128, 0, 0, 255, 255}, 2, 1), 10, 0);
  r->SetColor(0, 0, 0), r->DrawRect(20, 0, 30, 8), r->SetBlend(1);
  r->SetColor(100, 50, 0), r->DrawRect(20, 0, 8, 8), r->DrawRect(20, 0, 8, 8);
  r->SetColor(200, 200, 200), r->DrawRect(20, 0, 4, 4);
  r->SetAlpha(0.5f), r->SetColor(0, 100, 0), r->DrawRect(40, 0, 2, 2);
  EndFrame();
  Expect("228 178 153", {{1, 1}}), Expect("227 177 152", {{10, 0}}), Expect(kBlue, {{11, 0}});
  Expect("200 100 0", {{25, 5}}), Expect("255 255 200", {{21, 1}}), Expect("0 50 0", {{40, 0}});
}

TEST_F(Render, SurfaceSurvivesWindowReopen) {
  gxtkSurface* s = Surface({255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255}, 2, 2);
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
  Frame([&] { renderer->DrawSurface(s, 20, 20); }), Expect(kBlack, {{20, 20}});
  EXPECT_FALSE(glIsTexture(oldName));  // the replaced texture was deleted
  BeginFrame();
}

// Pixels written into a surface (whole rows, a clipped corner) come back from
// the screen; a range that does not fit its array is refused.
TEST_F(Render, PixelsWrittenAndReadBack) {
  gxtkSurface* s = renderer->CreateSurface(4, 3);
  ASSERT_TRUE(s && !renderer->CreateSurface(0, 5));
  Array<int> src(12), white(4), back(14);
  for (int i = 0; i < 12; ++i) src[i] = int(0xFF000000u | (i * 20u) << 16 | (255 - i * 20u));
  for (int i = 0; i < 14; ++i) back[i] = 7, white[i % 4] = -1;
  renderer->WritePixels2(s, src, 0, 0, 4, 3, 0, 4), renderer->DrawSurface(s, 50, 50);
  renderer->WritePixels2(s, white, 3, 2, 2, 2, 0, 2);  // clipped to the corner pixel
  renderer->WritePixels2(s, src, 0, 0, 4, 1, 0, 4);    // a whole row
  renderer->WritePixels2(s, white, 0, 0, 4, 3, 0, 4);  // source too short
  renderer->DrawSurface(s, 50, 50);
  renderer->ReadPixels(back, 50, 50, 4, 3, 2, 4);
  renderer->ReadPixels(back, 0, 0, 4, 4, 0, 4);  // does not fit
  for (int i = 0; i < 12; ++i) EXPECT_EQ(back[i + 2], i == 11 ? -1 : src[i]) << i;
  EXPECT_EQ(back[0], 7);
  EndFrame();
}

// Frames of one image go out in one draw call; images land at their
// handles and turn about them; the matrix reaches the renderer with a draw.
TEST_F(Render, ImagesThroughTheDrawingApi) {
  // Four 4x4 frames, each with a white pixel of padding left and right.
  const unsigned char colours[5][4] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 0, 255}, {255, 255, 255, 255}};
  Bytes px;
  for (int i = 0; i < 24 * 4; ++i) {
    const unsigned char* c = colours[i % 6 == 0 || i % 6 == 5 ? 4 : i % 24 / 6];
    px.insert(px.end(), c, c + 4);
  }
  c_Image* strip = (new c_Image)->m_new()->p_Init(Surface(px, 24, 4), 4, c_Image::XPadding);
  for (int f = 0; f < 4; ++f) bb_graphics_DrawImage(strip, 10 + f * 10, 10, f);
  EndFrame();
  EXPECT_EQ(gxtkFrameStats().drawCalls, 1);
  Expect(kRed, {{10, 10}, {13, 13}}), Expect(kBlue, {{30, 10}, {33, 13}}), Expect(kBlack, {{14, 10}, {44, 10}});
  // 32x16, left half red and right half green, handle in the middle.
  px.assign(32 * 16 * 4, 255);
  for (int i = 0; i < 32 * 16; ++i) px[i * 4 + (i % 32 < 16 ? 1 : 0)] = px[i * 4 + 2] = 0;
  c_Image* halves = (new c_Image)->m_new()->p_Init(Surface(px, 32, 16), 1, c_Image::MidHandle);
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
