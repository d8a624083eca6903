// bench_round: the cost of one round update in the busiest case (four
// computer players, every object record in use, 250 particles) and of the
// render replaying what that update recorded, in microseconds and as a
// share of the 16.7 ms frame at 60 updates per second.
//
// Usage: bench_round [iterations]     (default 2000)
// The replay needs a display; without DISPLAY it runs itself again under
// xvfb-run, and when that is impossible it measures the update alone.
#include <GLFW/glfw3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "game/my_app.h"
#include "graphics/gl.h"

namespace {

const char* const kUnderXvfb = "LARKSPIN_BENCH_UNDER_XVFB";
const double kFrameMicros = 1e6 / 60.0;

void RerunUnderXvfb(int argc, char** argv) {
  if (getenv("DISPLAY") || getenv(kUnderXvfb)) return;
  setenv(kUnderXvfb, "1", 1);
  std::vector<char*> args = {(char*)"xvfb-run", (char*)"-a", (char*)"-s",
                             (char*)"-screen 0 1280x1024x24"};
  for (int i = 0; i < argc; ++i) args.push_back(argv[i]);
  args.push_back(nullptr);
  execvp("xvfb-run", args.data());
  fprintf(stderr, "bench_round: no DISPLAY and xvfb-run could not start; update only\n");
}

// A host for the windowless case: a clock and a fixed device size.
class QuietHost : public BBGame {
 public:
  int Millisecs() override { return 1000; }
  int GetDeviceWidth() override { return 640; }
  int GetDeviceHeight() override { return 480; }
};

// Every record of the pool in use: rocks of both sizes, gems of all four
// players and power-ups in the spawn records, shots in the rest, spread
// over the field and drifting.
void FillField(c_MyApp* app) {
  const float w = bb_Larkspin_jscrw, h = bb_Larkspin_jscrh;
  for (int r = 0; r <= 400; ++r) {
    float* o = app->m_Objects.Data() + 10 * r;
    std::memset(o, 0, 10 * sizeof(float));
    const int k = r % 10;
    float kind = k < 5 ? 2.0f : k < 8 ? 1.0f : k == 8 ? float(3 + r % 4) : float(51 + r % 3);
    if (r > 300) kind = float(31 + r % 4);
    o[0] = kind;
    o[1] = std::fmod(float(r) * 37.3f, w);
    o[2] = std::fmod(float(r) * 53.7f, h);
    const float a = float(r * 47 % 360) * 0.0174532924f;
    const float speed = kind > 30.0f && kind < 40.0f ? 5.0f : 0.6f;
    o[3] = -std::sin(a) * speed;
    o[4] = -std::cos(a) * speed;
    o[5] = float(r * 47 % 360);
    o[6] = kind > 30.0f && kind < 40.0f ? 0.0f : 3.0f;
    o[7] = kind > 30.0f && kind < 40.0f ? 40.0f : 3.0f;
    o[9] = 2.0f;
  }
  for (int r = 0; r <= 250; ++r) {
    float* p = app->m_Particles.Data() + 10 * r;
    const float a = float(r * 13 % 360) * 0.0174532924f;
    p[0] = 4.0f;
    p[1] = w / 2;
    p[2] = h / 2;
    p[3] = std::sin(a) * 2.0f;
    p[4] = -std::cos(a) * 2.0f;
    p[6] = 4.0f;
    p[7] = 1.2f;
    p[8] = float(1 + r % 9);
    p[9] = float(r % 256);
  }
}

struct Snapshot {
  std::vector<float> objects, particles, players, trail;
  int seed = 0, frame = 0;
  void Take(c_MyApp* app) {
    objects.assign(app->m_Objects.Data(), app->m_Objects.Data() + app->m_Objects.Length());
    particles.assign(app->m_Particles.Data(), app->m_Particles.Data() + app->m_Particles.Length());
    players.assign(app->m_Players.Data(), app->m_Players.Data() + app->m_Players.Length());
    trail.assign(app->m_Trail.Data(), app->m_Trail.Data() + app->m_Trail.Length());
    seed = bb_random_Seed;
    frame = app->m_Frame;
  }
  void Restore(c_MyApp* app) const {
    std::copy(objects.begin(), objects.end(), app->m_Objects.Data());
    std::copy(particles.begin(), particles.end(), app->m_Particles.Data());
    std::copy(players.begin(), players.end(), app->m_Players.Data());
    std::copy(trail.begin(), trail.end(), app->m_Trail.Data());
    bb_random_Seed = seed;
    app->m_Frame = frame;
  }
};

void Report(const char* what, std::vector<double> micros) {
  std::sort(micros.begin(), micros.end());
  double sum = 0;
  for (double m : micros) sum += m;
  const double mean = sum / double(micros.size());
  const double median = micros[micros.size() / 2];
  const double p99 = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
  printf("%-34s mean %8.1f us  median %8.1f us  p99 %8.1f us  = %5.2f %% of a 16.7 ms frame\n", what,
         mean, median, p99, 100.0 * mean / kFrameMicros);
}

double Since(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
}

// A busy round of Battle-Four, out of its countdown, ready to measure.
c_MyApp* BusyRound() {
  bb_app_ValidateDeviceWindow(false);
  c_MyApp* app = new c_MyApp();
  app->p_FitScreen(bb_app_DeviceWidth(), bb_app_DeviceHeight());
  app->m_GameMode = 6;
  app->p_LoadGame();
  app->m_Players[95] = 0.0f;
  for (int u = 0; u < 30; ++u) app->p_Game();  // trails and targets settle
  FillField(app);
  return app;
}

std::vector<double> TimeUpdates(c_MyApp* app, const Snapshot& start, int iterations) {
  std::vector<double> micros;
  for (int i = 0; i < iterations; ++i) {
    start.Restore(app);
    auto t0 = std::chrono::steady_clock::now();
    app->p_Game();
    micros.push_back(Since(t0));
  }
  return micros;
}

}  // namespace

int main(int argc, char** argv) {
  RerunUnderXvfb(argc, argv);
  int iterations = argc > 1 ? atoi(argv[1]) : 2000;
  if (iterations < 1) iterations = 1;

  gc_init();
  const bool window = glfwInit() == GLFW_TRUE;
  BBGlfwGame* host = nullptr;
  if (window) {
    host = new BBGlfwGame;
    host->SetSwapInterval(0);
    host->SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
  } else {
    new QuietHost;
  }
  bbInit();
  gxtkGraphics* renderer = nullptr;
  if (window) {
    renderer = new gxtkGraphics;
    bb_graphics_SetGraphicsDevice(renderer);
  }
  bb_input_SetInputDevice((new c_InputDevice())->m_new());

  c_MyApp* app = BusyRound();
  if (window) {
    // The real picture bank, so the replay draws what a round draws.
    app->p_Reload();
    while (app->m_LoadStep > 0) app->p_Loader();
    app->p_FitScreen(bb_app_DeviceWidth(), bb_app_DeviceHeight());
  }
  Snapshot start;
  start.Take(app);

  TimeUpdates(app, start, 50);  // warm-up
  std::vector<double> update = TimeUpdates(app, start, iterations);
  start.Restore(app);
  app->p_Game();
  int objects = 0, particles = 0;
  for (int r = 0; r < 510; ++r) objects += app->m_Objects[10 * r] != 0.0f;
  for (int r = 0; r < 510; ++r) particles += app->m_Particles[10 * r] != 0.0f;
  printf("busiest round: 4 computer players, %d objects, %d particles, %d draw commands\n", objects,
         particles, app->m_DrawCount / LK_CMD_FLOATS);
  Report("p_Game update", update);

  if (!window) {
    printf("replay: not measured (no display)\n");
    return 0;
  }
  std::vector<double> replay;
  for (int i = 0; i < iterations + 20; ++i) {
    auto t0 = std::chrono::steady_clock::now();
    renderer->BeginRender();
    bb_graphics_BeginRender();
    app->p_OnRender();
    bb_graphics_EndRender();
    renderer->EndRender();
    glFinish();  // count the drawing itself, not only its submission
    if (i >= 20) replay.push_back(Since(t0));
  }
  Report("replay of that update's drawing", replay);
  return 0;
}
