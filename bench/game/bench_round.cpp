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
#include <ctime>
#include <vector>

#include "common/xvfb.h"
#include "game/my_app.h"
#include "graphics/gl.h"

namespace {

const double kFrameMicros = 1e6 / 60.0;

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

double Since(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
}

// This thread's CPU time: on a busy machine the wall clock also counts the
// time slices other processes take, which swamps a 100 us update.
double CpuMicros() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e6 + double(t.tv_nsec) * 1e-3;
}

double Report(const char* what, std::vector<double> micros) {
  std::sort(micros.begin(), micros.end());
  double sum = 0;
  for (double m : micros) sum += m;
  const double mean = sum / double(micros.size());
  const double median = micros[micros.size() / 2];
  const double p99 = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
  printf("%-34s mean %8.1f us  median %8.1f us  p99 %8.1f us  = %5.2f %% of a 16.7 ms frame\n", what,
         mean, median, p99, 100.0 * mean / kFrameMicros);
  return mean;
}

// How often the recorded drawing switches texture (a picture sheet, or none
// for the primitives) or blend mode: the draw calls a frame cannot avoid.
int StateChanges(c_MyApp* app) {
  const float* list = app->m_DrawList.Data();
  const void* texture = nullptr;
  float blend = -1.0f;
  int changes = 0;
  for (int at = 0; at + LK_CMD_FLOATS <= app->m_DrawCount; at += LK_CMD_FLOATS) {
    const float* c = list + at;
    const void* t = nullptr;
    if (c[0] > -1.0f && c[0] < 100.0f && app->m_Images[int(c[0])])
      t = app->m_Images[int(c[0])]->m_surface;
    const float b = c[13] == 3.0f ? 1.0f : 0.0f;
    if (at == 0 || t != texture || b != blend) ++changes;
    texture = t;
    blend = b;
  }
  return changes;
}

// The round's commands repeated until the list holds as many as it can.
void FillDrawList(c_MyApp* app) {
  const int used = app->m_DrawCount / LK_CMD_FLOATS * LK_CMD_FLOATS;
  float* list = app->m_DrawList.Data();
  int at = used;
  for (; used > 0 && at + LK_CMD_FLOATS <= LK_DRAWLIST_LAST + 1; at += LK_CMD_FLOATS)
    std::copy(list + at - used, list + at - used + LK_CMD_FLOATS, list + at);
  app->m_DrawCount = at;
}

struct Replay {
  double cpuMicros = 0;   // this thread's CPU time submitting the frame
  double allMicros = 0;   // wall time until OpenGL has drawn it
  int drawCalls = 0;
};

Replay TimeReplay(gxtkGraphics* renderer, c_MyApp* app, int iterations) {
  std::vector<double> cpu, all;
  for (int i = 0; i < iterations + 20; ++i) {
    auto t0 = std::chrono::steady_clock::now();
    const double cpu0 = CpuMicros();
    renderer->BeginRender();
    bb_graphics_BeginRender();
    app->p_OnRender();
    bb_graphics_EndRender();
    renderer->EndRender();
    const double submitted = CpuMicros() - cpu0;
    glFinish();
    if (i >= 20) {
      cpu.push_back(submitted);
      all.push_back(Since(t0));
    }
  }
  Replay r;
  for (double m : cpu) r.cpuMicros += m / double(cpu.size());
  for (double m : all) r.allMicros += m / double(all.size());
  r.drawCalls = gxtkFrameStats().drawCalls;
  return r;
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
    const double t0 = CpuMicros();
    app->p_Game();
    micros.push_back(CpuMicros() - t0);
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
  const double mean = Report("p_Game update (CPU time)", update);
  printf("row\tround update, busiest case\t%.1f us = %.2f %% of frame\t< 2 %%\t%s\n", mean,
         100.0 * mean / kFrameMicros, 100.0 * mean / kFrameMicros < 2.0 ? "met" : "missed");

  if (!window) {
    printf("replay: not measured (no display)\n");
    return 0;
  }
  // The frame a round draws, then the same mix filling the whole list.
  const int roundCommands = app->m_DrawCount / LK_CMD_FLOATS;
  const int roundChanges = StateChanges(app);
  const int replays = std::min(iterations, 200);  // a full list takes milliseconds
  const Replay round = TimeReplay(renderer, app, replays);
  printf("replay of the round frame: %d commands, %d texture/blend changes, %d draw calls, "
         "%.1f us CPU to submit, %.1f us until drawn\n", roundCommands, roundChanges, round.drawCalls,
         round.cpuMicros, round.allMicros);
  FillDrawList(app);
  const int fullCommands = app->m_DrawCount / LK_CMD_FLOATS;
  const int fullChanges = StateChanges(app);
  const Replay full = TimeReplay(renderer, app, replays);
  printf("replay of a full list: %d commands, %d texture/blend changes, %d draw calls, "
         "%.1f us CPU to submit, %.1f us until drawn\n", fullCommands, fullChanges, full.drawCalls,
         full.cpuMicros, full.allMicros);
  printf("row\treplay of a full list (%d commands)\t%.1f us CPU, %d draw calls\t-\t-\n",
         fullCommands, full.cpuMicros, full.drawCalls);
  // The render's own full-window rectangle comes before the list: one spare.
  printf("row\tdraw calls of a round frame\t%d calls, %d texture/blend changes\tcalls <= "
         "changes\t%s\n", round.drawCalls, roundChanges,
         round.drawCalls <= roundChanges + 1 ? "met" : "missed");
  return 0;
}
