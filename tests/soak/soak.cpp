// larkspin_soak: hours of play in minutes. Drives the game's update the way
// the framework's delegate does, with a clock that advances 1/60 s per
// update and no window, cycling through all six modes with every ship left
// to the computer, saving and reloading the state string every few rounds.
// Prints the collector heap and the process memory along the way and fails
// (exit status 1) when either keeps growing after the warm-up. Built with
// LeakSanitizer, the process exit is where a leak would be reported.
//
// Usage: larkspin_soak [updates]      (default 1000000)
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "game/my_app.h"
#include "support/fake_host.h"

namespace {

long ResidentKiB() {
  long pages = 0, resident = 0;
  FILE* f = fopen("/proc/self/statm", "r");
  if (!f) return 0;
  if (fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
  fclose(f);
  return resident * 4;
}

struct Sample {
  long long update;
  long long heap;
  long rss;
};

// A round that has not ended by itself after this many updates (a battle
// where the computer players rarely bank) is left, as from the pause menu.
const int kRoundCap = 12000;
const int kRoundsPerSave = 3;

}  // namespace

int main(int argc, char** argv) {
  const long long total = argc > 1 ? atoll(argv[1]) : 1000000;
  if (total < 1000) {
    fprintf(stderr, "larkspin_soak: at least 1000 updates\n");
    return 2;
  }
  gc_init();
  FakeHost* host = new FakeHost();
  bbInit();
  bb_app_ValidateDeviceWindow(false);
  c_InputDevice* input = (new c_InputDevice())->m_new();
  bb_input_SetInputDevice(input);
  c_MyApp* app = (new c_MyApp())->m_new();
  app->p_OnCreate();
  app->p_FitScreen(640, 480);

  std::vector<Sample> curve;
  const long long every = total / 20;
  int rounds = 0, mode = 0, inRound = 0, reloads = 0;
  for (long long update = 0; update < total; ++update) {
    host->millis = int(update * 1000 / 60);
    if (app->m_Screen == 1 && app->m_LoadStep == 0 && app->m_OverTime == 0) {
      // Back at the menu: save, sometimes reload, and start the next mode.
      if (++rounds % kRoundsPerSave == 0) {
        app->p_Save();
        if (app->p_Load() >= 0) ++reloads;
      }
      app->m_GameMode = mode % 6 + 1;
      ++mode;
      app->m_Screen = 11;
      inRound = 0;
    }
    if (app->m_Screen == 10 && ++inRound > kRoundCap && app->m_RoundOver == 0) {
      app->m_Screen = 1;
      app->m_Paused = 0;
    }
    input->p_BeginUpdate();
    app->p_OnUpdate();
    input->p_EndUpdate();
    host->gc_collect();
    if ((update + 1) % every == 0)
      curve.push_back({update + 1, gc_alloced_bytes, ResidentKiB()});
  }

  printf("soak: %lld updates, %d rounds (%d modes cycled), %d saves, %d reloads\n", total, rounds,
         mode, host->saves, reloads);
  printf("%10s %14s %12s\n", "update", "heap bytes", "RSS KiB");
  for (const Sample& s : curve) printf("%10lld %14lld %12ld\n", s.update, s.heap, s.rss);

  // Warm-up: the first quarter (state string, score tables and pictures reach
  // their working sizes). After it both curves must stay flat.
  const Sample& start = curve[curve.size() / 4];
  const Sample& end = curve.back();
  long long heapMax = 0;
  long rssMax = 0;
  for (size_t i = curve.size() / 4; i < curve.size(); ++i) {
    if (curve[i].heap > heapMax) heapMax = curve[i].heap;
    if (curve[i].rss > rssMax) rssMax = curve[i].rss;
  }
  printf("after warm-up: heap %lld -> %lld bytes (peak %lld), RSS %ld -> %ld KiB (peak %ld)\n",
         start.heap, end.heap, heapMax, start.rss, end.rss, rssMax);
  bool ok = true;
  // The pools are allocated whole at start, so the heap has no business
  // growing by more than a few score-table strings.
  if (heapMax > start.heap + 262144) {
    printf("FAIL: collector heap grows after warm-up\n");
    ok = false;
  }
  if (rssMax > start.rss + 8192) {
    printf("FAIL: process memory grows after warm-up\n");
    ok = false;
  }
  if (mode < 6) {
    printf("FAIL: not every mode was played\n");
    ok = false;
  }
  if (ok) printf("soak: ok\n");
  return ok ? 0 : 1;
}
