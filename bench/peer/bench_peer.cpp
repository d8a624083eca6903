// bench_peer: the same sprite workload drawn by our renderer and by SDL2's
// 2D renderer, one after the other in this process on the same display:
// every frame clears and draws N sprites from one 256x256 sheet, each turned,
// scaled and tinted its own way. Prints frames per second of each and their
// ratio (by CPU time, steadier than the wall clock on a shared machine), plus a
// "row" line for scripts/run-benchmarks.
//
// Usage: bench_peer [frames] [sprites]     (defaults: 200 frames, 4000 sprites)
// Needs a display; without DISPLAY it runs itself again under xvfb-run.
#include <GLFW/glfw3.h>
#include <SDL.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "common/xvfb.h"
#include "graphics/gl.h"
#include "graphics/graphics.h"
#include "host/glfw_game.h"

namespace {

const int kWidth = 640, kHeight = 480;
const int kSheet = 256, kCell = 16;

// RGBA pixels of a sheet of 16x16 frames, each a differently coloured disc.
std::vector<unsigned char> SheetPixels() {
  std::vector<unsigned char> px(kSheet * kSheet * 4, 0);
  for (int y = 0; y < kSheet; ++y)
    for (int x = 0; x < kSheet; ++x) {
      int cx = x % kCell - kCell / 2, cy = y % kCell - kCell / 2;
      if (cx * cx + cy * cy > 49) continue;
      int frame = y / kCell * (kSheet / kCell) + x / kCell;
      unsigned char* p = &px[(y * kSheet + x) * 4];
      p[0] = (unsigned char)(200 + frame % 56);
      p[1] = (unsigned char)(255 - frame % 64);
      p[2] = 255;
      p[3] = 255;
    }
  return px;
}

// Where, how turned, how large and what colour sprite i is in frame f: the
// one description both renderers draw.
struct Sprite {
  float x, y, angle, scale;
  unsigned char r, g, b;
  int frame;
};

Sprite Describe(int i, int f) {
  Sprite s;
  s.x = float((i * 37 + f * 3) % kWidth);
  s.y = float((i * 53 + f) % kHeight);
  s.angle = float((i * 7 + f * 2) % 360);
  s.scale = 0.75f + float(i % 5) * 0.25f;
  s.r = (unsigned char)(128 + i * 13 % 128);
  s.g = (unsigned char)(128 + i * 29 % 128);
  s.b = (unsigned char)(128 + i * 41 % 128);
  s.frame = i % 256;
  return s;
}

// CPU time of the whole process, the software rasteriser's threads
// included: unlike the wall clock it does not count other programs' turns on
// a shared machine, and it is what each frame really costs.
double CpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

struct Rate {
  double wall = 0;  // frames per wall-clock second
  double cpu = 0;   // frames per CPU second
};

Rate Measure(std::chrono::steady_clock::time_point t0, double cpu0, int frames) {
  Rate r;
  r.wall = frames / std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  r.cpu = frames / (CpuSeconds() - cpu0);
  return r;
}

Rate RunOurs(int frames, int sprites, double* drawCalls) {
  if (!glfwInit()) return {};
  BBGlfwGame* host = new BBGlfwGame;
  host->SetSwapInterval(0);
  host->SetGlfwWindow(kWidth, kHeight, 8, 8, 8, 0, 0, 0, false);
  if (!host->GlfwWindow()) return {};
  bb_graphics_Init();
  gxtkGraphics* renderer = new gxtkGraphics;
  bb_graphics_SetGraphicsDevice(renderer);
  std::vector<unsigned char> pixels = SheetPixels();
  unsigned char* px = (unsigned char*)malloc(pixels.size());
  std::copy(pixels.begin(), pixels.end(), px);
  gxtkSurface* surface = new gxtkSurface;
  surface->SetData(px, kSheet, kSheet, 4);
  c_Image* sheet = (new c_Image)->m_new()->p_Init2(surface, 0, 0, kCell, kCell, 256,
                                                   c_Image::MidHandle, nullptr, 0, 0, kSheet,
                                                   kSheet);
  auto frame = [&](int f) {
    renderer->BeginRender();
    bb_graphics_BeginRender();
    bb_graphics_Cls(8, 8, 24);
    for (int i = 0; i < sprites; ++i) {
      const Sprite s = Describe(i, f);
      bb_graphics_SetColor(s.r, s.g, s.b);
      bb_graphics_DrawImage2(sheet, s.x, s.y, s.angle, s.scale, s.scale, s.frame);
    }
    bb_graphics_EndRender();
    renderer->EndRender();
    glfwSwapBuffers(host->GlfwWindow());
  };
  frame(0);  // makes the texture
  glFinish();
  const int before = gxtkTotalStats().drawCalls;
  auto t0 = std::chrono::steady_clock::now();
  const double cpu0 = CpuSeconds();
  for (int f = 1; f <= frames; ++f) frame(f);
  glFinish();
  const Rate fps = Measure(t0, cpu0, frames);
  *drawCalls = double(gxtkTotalStats().drawCalls - before) / frames;
  delete host;
  glfwTerminate();
  return fps;
}

Rate RunSdl(int frames, int sprites) {
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return {};
  SDL_Window* window = SDL_CreateWindow("peer", 0, 0, kWidth, kHeight, 0);
  SDL_Renderer* r = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
  if (!r) {
    SDL_Quit();
    return {};
  }
  std::vector<unsigned char> pixels = SheetPixels();
  SDL_Texture* sheet = SDL_CreateTexture(r, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC,
                                         kSheet, kSheet);
  SDL_UpdateTexture(sheet, nullptr, pixels.data(), kSheet * 4);
  SDL_SetTextureBlendMode(sheet, SDL_BLENDMODE_BLEND);
  auto frame = [&](int f) {
    SDL_SetRenderDrawColor(r, 8, 8, 24, 255);
    SDL_RenderClear(r);
    for (int i = 0; i < sprites; ++i) {
      const Sprite s = Describe(i, f);
      SDL_Rect src = {s.frame % 16 * kCell, s.frame / 16 * kCell, kCell, kCell};
      const float size = kCell * s.scale;
      SDL_FRect dst = {s.x - size / 2, s.y - size / 2, size, size};
      SDL_SetTextureColorMod(sheet, s.r, s.g, s.b);
      SDL_RenderCopyExF(r, sheet, &src, &dst, s.angle, nullptr, SDL_FLIP_NONE);
    }
    SDL_RenderPresent(r);
  };
  frame(0);
  SDL_RenderFlush(r);
  auto t0 = std::chrono::steady_clock::now();
  const double cpu0 = CpuSeconds();
  for (int f = 1; f <= frames; ++f) frame(f);
  // Read one pixel back so the last frame has really been drawn.
  Uint32 pixel;
  SDL_Rect one = {0, 0, 1, 1};
  SDL_RenderReadPixels(r, &one, SDL_PIXELFORMAT_ABGR8888, &pixel, 4);
  const Rate fps = Measure(t0, cpu0, frames);
  SDL_RendererInfo info;
  SDL_GetRendererInfo(r, &info);
  printf("SDL2 renderer backend: %s\n", info.name);
  SDL_DestroyTexture(sheet);
  SDL_DestroyRenderer(r);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return fps;
}

}  // namespace

int main(int argc, char** argv) {
  RerunUnderXvfb(argc, argv);
  if (!HaveDisplay()) return 1;
  const int frames = argc > 1 && atoi(argv[1]) > 0 ? atoi(argv[1]) : 200;
  const int sprites = argc > 2 && atoi(argv[2]) > 0 ? atoi(argv[2]) : 4000;
  gc_init();
  double draws = 0;
  const Rate ours = RunOurs(frames, sprites, &draws);
  const Rate sdl = RunSdl(frames, sprites);
  printf("%d rotated, scaled, tinted sprites from one sheet, %d frames:\n", sprites, frames);
  printf("  ours %8.1f frames/s wall, %8.1f frames per CPU second (%.1f draw calls/frame)\n",
         ours.wall, ours.cpu, draws);
  printf("  SDL2 %8.1f frames/s wall, %8.1f frames per CPU second\n", sdl.wall, sdl.cpu);
  if (ours.cpu <= 0 || sdl.cpu <= 0) {
    printf("row\tsprites vs SDL2 (%d/frame)\tnot measured\tours >= SDL2\tmissed\n", sprites);
    return 1;
  }
  printf("row\tsprites vs SDL2 (%d/frame, per CPU s)\tours %.0f fps, SDL2 %.0f fps, x%.2f\tours >= "
         "SDL2\t%s\n", sprites, ours.cpu, sdl.cpu, ours.cpu / sdl.cpu,
         ours.cpu >= sdl.cpu ? "met" : "missed");
  return 0;
}
