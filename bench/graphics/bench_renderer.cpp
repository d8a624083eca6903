// bench_renderer: frames per second, draw calls per frame and vertices per
// second of the batched renderer, drawing N sprites from one sheet plus a
// mix of rectangles, lines, points, ovals and polygons every frame.
//
// Usage: bench_renderer [frames] [N ...]     (defaults: 100 frames; N = 100 1000 4000)
// Needs a display; without DISPLAY it runs itself again under xvfb-run.
#include <GLFW/glfw3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/xvfb.h"
#include "graphics/gl.h"
#include "graphics/graphics.h"
#include "host/glfw_game.h"

namespace {

const int kWidth = 640;
const int kHeight = 480;

// A 256x256 sheet of 16x16 sprite frames, each a different coloured disc.
c_Image* MakeSheet() {
  const int size = 256, cell = 16;
  unsigned char* px = (unsigned char*)calloc(size * size, 4);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      int cx = x % cell - cell / 2, cy = y % cell - cell / 2;
      if (cx * cx + cy * cy > 49) continue;
      int frame = y / cell * (size / cell) + x / cell;
      unsigned char* p = px + (y * size + x) * 4;
      p[0] = (unsigned char)(frame * 37);
      p[1] = (unsigned char)(frame * 91);
      p[2] = (unsigned char)(255 - frame);
      p[3] = 255;
    }
  gxtkSurface* surface = new gxtkSurface;
  surface->SetData(px, size, size, 4);
  return (new c_Image)->m_new()->p_Init2(surface, 0, 0, cell, cell, 256, c_Image::MidHandle,
                                         nullptr, 0, 0, size, size);
}

// What a busy game frame looks like: sprites in runs (one sheet, so they
// batch), a few turned and scaled, then the odd primitive of another kind.
void DrawFrame(c_Image* sheet, int sprites, int frameNo, Array<float> poly) {
  bb_graphics_Cls(8, 8, 24);
  for (int i = 0; i < sprites; ++i) {
    float x = (float)((i * 37 + frameNo * 3) % kWidth);
    float y = (float)((i * 53 + frameNo) % kHeight);
    if (i % 8 == 0) {
      bb_graphics_DrawImage2(sheet, x, y, (float)(i + frameNo), 1.5f, 1.5f, i % 256);
    } else {
      bb_graphics_DrawImage(sheet, x, y, i % 256);
    }
  }
  bb_graphics_SetAlpha(0.5f);
  for (int i = 0; i < 20; ++i) {
    bb_graphics_SetColor((float)(i * 12), 100, 200);
    bb_graphics_DrawRect((float)(i * 30), 10, 20, 20);
    bb_graphics_DrawLine(0, (float)(i * 20), kWidth, (float)(i * 24));
    bb_graphics_DrawEllipse((float)(i * 30 + 10), 400, 12, 8);
  }
  bb_graphics_SetBlend(1);
  for (int i = 0; i < 50; ++i) bb_graphics_DrawPoint((float)(i * 11), (float)(i * 7));
  bb_graphics_DrawPoly(poly);
  bb_graphics_SetBlend(0);
  bb_graphics_SetAlpha(1);
  bb_graphics_SetColor(255, 255, 255);
}

void Run(BBGlfwGame* host, gxtkGraphics* renderer, c_Image* sheet, int frames, int sprites) {
  Array<float> poly(12);
  const float hex[12] = {300, 200, 340, 200, 360, 235, 340, 270, 300, 270, 280, 235};
  for (int i = 0; i < 12; ++i) poly[i] = hex[i];

  // One untimed frame makes the texture and warms the driver up.
  renderer->BeginRender();
  bb_graphics_BeginRender();
  DrawFrame(sheet, sprites, 0, poly);
  bb_graphics_EndRender();
  renderer->EndRender();
  glFinish();

  gxtkRenderStats before = gxtkTotalStats();
  auto start = std::chrono::steady_clock::now();
  for (int f = 0; f < frames; ++f) {
    renderer->BeginRender();
    bb_graphics_BeginRender();
    DrawFrame(sheet, sprites, f, poly);
    bb_graphics_EndRender();
    renderer->EndRender();
    glfwSwapBuffers(host->GlfwWindow());
  }
  glFinish();
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const gxtkRenderStats& after = gxtkTotalStats();

  double draws = (double)(after.drawCalls - before.drawCalls) / frames;
  double verts = (double)(after.vertices - before.vertices);
  int full = after.flushesBy[gxtkFlushFull] - before.flushesBy[gxtkFlushFull];
  int kind = after.flushesBy[gxtkFlushKind] - before.flushesBy[gxtkFlushKind];
  printf("%6d sprites  %8.1f frames/s  %7.1f draw calls/frame  %6.2f M vertices/s"
         "  (per frame: %.1f full-batch, %.1f kind-change flushes)\n",
         sprites, frames / seconds, draws, verts / seconds / 1e6, (double)full / frames,
         (double)kind / frames);
  printf("row\trenderer mix, %d sprites/frame\t%.0f fps, %.1f draw calls\t-\t-\n", sprites,
         frames / seconds, draws);
}

}  // namespace

int main(int argc, char** argv) {
  RerunUnderXvfb(argc, argv);
  if (!HaveDisplay()) return 1;
  int frames = argc > 1 ? atoi(argv[1]) : 100;
  std::vector<int> counts;
  for (int i = 2; i < argc; ++i) counts.push_back(atoi(argv[i]));
  if (counts.empty()) counts = {100, 1000, 4000};
  if (frames < 1) frames = 1;

  gc_init();
  if (!glfwInit()) {
    fprintf(stderr, "bench_renderer: glfwInit failed (no display?)\n");
    return 1;
  }
  BBGlfwGame* host = new BBGlfwGame;
  host->SetSwapInterval(0);
  host->SetGlfwWindow(kWidth, kHeight, 8, 8, 8, 0, 0, 0, false);
  if (!host->GlfwWindow()) {
    fprintf(stderr, "bench_renderer: no window\n");
    return 1;
  }
  bb_graphics_Init();
  gxtkGraphics* renderer = new gxtkGraphics;
  bb_graphics_SetGraphicsDevice(renderer);
  c_Image* sheet = MakeSheet();

  printf("renderer: %s, %dx%d window, %d frames per run\n",
         (const char*)glGetString(GL_RENDERER), kWidth, kHeight, frames);
  for (int n : counts) Run(host, renderer, sheet, frames, n);

  delete host;
  glfwTerminate();
  return 0;
}
