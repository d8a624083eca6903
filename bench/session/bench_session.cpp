// bench_session: the real start-up and frame loop of the game in a window,
// with a host that notes the time of each update and of each buffer swap.
//
//   bench_session startup          launch to the first frame of the main menu
//   bench_session pacing [s]       updates per second and the worst gap over
//                                  s seconds (default 10) of a four-player round
//   bench_session memory WxH [s]   peak memory of a session in a WxH window:
//                                  menu, then s seconds (default 3) of a round
//   bench_session resize [n]       resident memory at the menu before and after
//                                  n (default 300) random window sizes from
//                                  200x150 to 1200x750 set with xdotool, then
//                                  640x480 again: every size reloads the assets
//
// Each prints a human line and a "row" line for scripts/run-benchmarks.
// Needs a display; without DISPLAY it runs itself again under xvfb-run. The
// start-up mirrors BBQuillGame::Main, with the host class swapped for this
// instrumented one.
#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3native.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "common/xvfb.h"
#include "game/my_app.h"
#include "host/entry.h"
#include "host/gamepad_mappings.h"
#include "host/quill_game.h"

namespace {

// Seconds since this process was created, from the kernel's record of its
// start (clock ticks since boot) and the boot-time clock.
double SinceProcessStart() {
  FILE* f = fopen("/proc/self/stat", "r");
  if (!f) return -1;
  char buf[1024];
  size_t n = fread(buf, 1, sizeof buf - 1, f);
  fclose(f);
  buf[n] = 0;
  const char* p = strrchr(buf, ')');  // the command name may hold spaces
  if (!p) return -1;
  unsigned long long start = 0;
  int field = 2;
  for (; *p && field < 22; ++p)
    if (*p == ' ') ++field;
  if (sscanf(p, "%llu", &start) != 1) return -1;
  timespec now;
  clock_gettime(CLOCK_BOOTTIME, &now);
  return double(now.tv_sec) + now.tv_nsec * 1e-9 - double(start) / double(sysconf(_SC_CLK_TCK));
}

// Resident memory now, from /proc, in MiB.
double ResidentMiB() {
  FILE* f = fopen("/proc/self/status", "r");
  if (!f) return -1;
  char line[256];
  double kib = -1;
  while (fgets(line, sizeof line, f))
    if (sscanf(line, "VmRSS: %lf kB", &kib) == 1) break;
  fclose(f);
  return kib / 1024.0;
}

// Asks the X server for a new window size the way a window manager or a
// user's tool does, from outside the game.
void XdotoolResize(unsigned long window, int width, int height) {
  const std::string id = std::to_string(window), w = std::to_string(width),
                    h = std::to_string(height);
  pid_t pid = fork();
  if (pid == 0) {
    execlp("xdotool", "xdotool", "windowsize", id.c_str(), w.c_str(), h.c_str(), (char*)nullptr);
    _exit(127);
  }
  if (pid > 0) waitpid(pid, nullptr, 0);
}

// CPU seconds the main thread has used: steadier than the wall clock when
// other work shares the machine.
double MainThreadCpu() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + t.tv_nsec * 1e-9;
}

enum Mode { kStartup, kPacing, kMemory, kResize };

// Updates shown at each size of the resize run: the loader restarts on every
// new size and gets this far into its 22 steps before the next one, as with
// a window edge being dragged. Settling lets the menu run after a full load.
const int kUpdatesPerSize = 6;
const int kSettleUpdates = 60;
// How far resident memory may stay above its figure before the resizes.
const double kResizeGoalPercent = 15.0;

class SessionHost : public BBQuillGame {
 public:
  Mode mode = kStartup;
  double seconds = 10;
  int width = 640, height = 480;

  double mainAt = -1;        // process age on entering main()
  double firstFrameAt = -1;  // ... at the first buffer swap
  double windowSeconds = -1;  // opening the first window
  double startSeconds = -1;   // renderer, audio, input and the game's OnCreate
  int updatesToMenu = 0;     // updates run before the first menu frame
  double menuAt = -1;        // process age at the first menu frame
  double firstFrameCpu = -1, menuCpu = -1;  // main-thread CPU at those two
  double playFrom = -1;      // host time when the measured play began
  std::vector<double> updates;
  bool done = false;

  int resizesAsked = 300;     // resize mode: random sizes in all
  int resizes = 300;          // ... still to set
  int resizeWait = 0;         // updates left before the next step
  double rssBefore = -1, rssAfter = -1;
  std::mt19937 random{2024};

  void SetGlfwWindow(int w, int h, int red, int green, int blue, int alpha, int depth,
                     int stencil, bool fullscreen) override {
    // The first window is the game's 640x480 one; the memory run asks for
    // the size that selects a picture level.
    if (!GlfwWindow()) w = width, h = height;
    const double t0 = SinceProcessStart();
    BBQuillGame::SetGlfwWindow(w, h, red, green, blue, alpha, depth, stencil, fullscreen);
    if (windowSeconds < 0) windowSeconds = SinceProcessStart() - t0;
  }

  void StartGame() override {
    const double t0 = SinceProcessStart();
    BBQuillGame::StartGame();
    startSeconds = SinceProcessStart() - t0;
  }

  void UpdateGame() override {
    BBQuillGame::UpdateGame();
    if (menuAt < 0) ++updatesToMenu;
    if (playFrom >= 0) updates.push_back(Time());
    if (mode == kResize && menuAt >= 0) StepResizes();
  }

  // Settle at the menu, note the memory, then one new size every few
  // updates; after the last, 640x480 again until loading is over and settled.
  void StepResizes() {
    c_MyApp* app = static_cast<c_MyApp*>(bb_app__app);
    if (done) return;
    if (resizeWait > 0) {
      --resizeWait;
      return;
    }
    if (resizes < 0 && app->m_LoadStep != 0) return;  // the last load is still running
    if (rssBefore < 0) rssBefore = ResidentMiB();
    const unsigned long window = glfwGetX11Window(GlfwWindow());
    if (resizes > 0) {
      --resizes;
      XdotoolResize(window, std::uniform_int_distribution<int>(200, 1200)(random),
                    std::uniform_int_distribution<int>(150, 750)(random));
      resizeWait = kUpdatesPerSize;
    } else if (resizes == 0) {
      --resizes;
      XdotoolResize(window, 640, 480);
      resizeWait = kSettleUpdates;
    } else {
      rssAfter = ResidentMiB();
      done = true;
    }
  }

  void SwapBuffers() override {
    BBQuillGame::SwapBuffers();
    if (firstFrameAt < 0) firstFrameAt = SinceProcessStart(), firstFrameCpu = MainThreadCpu();
    c_MyApp* app = static_cast<c_MyApp*>(bb_app__app);
    if (menuAt < 0 && app && app->m_Screen == 1 && app->m_LoadStep == 0) {
      menuAt = SinceProcessStart();
      menuCpu = MainThreadCpu();
      if (mode == kStartup) {
        done = true;
        return;
      }
      if (mode == kResize) {
        resizeWait = kSettleUpdates;
        return;
      }
      // Straight into a Battle-Four round: four computer players.
      app->m_GameMode = 6;
      app->m_Screen = 11;
      playFrom = Time();
    }
    if (playFrom >= 0 && Time() - playFrom >= seconds) done = true;
  }

  bool WindowOpen() override { return !done && BBQuillGame::WindowOpen(); }
};

int Report(SessionHost* host) {
  if (host->mode == kStartup) {
    printf("startup: main() at %.3f s, first frame at %.3f s, first menu frame at %.3f s "
           "after %d updates (window %.3f s, game start %.3f s; main thread CPU %.3f s and "
           "%.3f s)\n", host->mainAt, host->firstFrameAt, host->menuAt, host->updatesToMenu,
           host->windowSeconds, host->startSeconds, host->firstFrameCpu, host->menuCpu);
    printf("row\tstartup to first menu frame\t%.3f s\t< 0.6 s\t%s\n", host->menuAt,
           host->menuAt >= 0 && host->menuAt < 0.6 ? "met" : "missed");
    return host->menuAt >= 0 ? 0 : 1;
  }
  if (host->mode == kPacing) {
    const std::vector<double>& u = host->updates;
    if (u.size() < 2) return 1;
    double worst = 0;
    for (size_t i = 1; i < u.size(); ++i) worst = std::max(worst, u[i] - u[i - 1]);
    const double rate = double(u.size() - 1) / (u.back() - u.front());
    printf("pacing: %zu updates over %.2f s = %.2f updates/s, worst gap %.1f ms\n", u.size(),
           u.back() - u.front(), rate, worst * 1000);
    printf("row\tupdates per second (%g s of play)\t%.2f /s\t60.0 +- 0.5\t%s\n", host->seconds,
           rate, rate >= 59.5 && rate <= 60.5 ? "met" : "missed");
    printf("row\tworst gap between updates\t%.1f ms\t-\t-\n", worst * 1000);
    return 0;
  }
  if (host->mode == kResize) {
    const double change = (host->rssAfter / host->rssBefore - 1.0) * 100.0;
    printf("resize: resident %.1f MiB at the menu, %.1f MiB after %d window sizes and back "
           "to 640x480 (%+.1f %%)\n", host->rssBefore, host->rssAfter, host->resizesAsked,
           change);
    printf("row\tresident memory after %d resizes\t%+.1f %% (%.0f -> %.0f MiB)\t"
           "within %g %%\t%s\n", host->resizesAsked, change, host->rssBefore, host->rssAfter,
           kResizeGoalPercent, host->rssAfter > 0 && change <= kResizeGoalPercent ? "met" : "missed");
    return host->rssAfter > 0 ? 0 : 1;
  }
  rusage use;
  getrusage(RUSAGE_SELF, &use);
  c_MyApp* app = static_cast<c_MyApp*>(bb_app__app);
  const int level = app ? app->m_HDLevel : 0;
  printf("memory: %dx%d window, picture level %d, peak RSS %.1f MiB\n", host->width,
         host->height, level, use.ru_maxrss / 1024.0);
  printf("row\tpeak memory, level %d (%dx%d)\t%.1f MiB\t-\t-\n", level, host->width, host->height,
         use.ru_maxrss / 1024.0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Large enough for the window that selects the 4x pictures.
  RerunUnderXvfb(argc, argv, "1920x1400x24");
  if (!HaveDisplay()) return 1;
  // No sound hardware under Xvfb; the null device keeps OpenAL from probing.
  setenv("ALSOFT_DRIVERS", "null", 0);

  glfwInitHint(GLFW_JOYSTICK_HAT_BUTTONS, GLFW_FALSE);
  if (!glfwInit()) {
    fprintf(stderr, "bench_session: glfwInit failed\n");
    return 1;
  }
  BBLoadGamepadMappings(stderr);
  const double mainAt = SinceProcessStart();
  SessionHost* host = new SessionHost();
  host->mainAt = mainAt;
  const char* what = argc > 1 ? argv[1] : "startup";
  if (!strcmp(what, "pacing")) {
    host->mode = kPacing;
    host->seconds = argc > 2 ? atof(argv[2]) : 10;
  } else if (!strcmp(what, "memory")) {
    host->mode = kMemory;
    if (argc < 3 || sscanf(argv[2], "%dx%d", &host->width, &host->height) != 2) {
      fprintf(stderr, "bench_session: memory WxH [seconds]\n");
      return 2;
    }
    host->seconds = argc > 3 ? atof(argv[3]) : 3;
  } else if (!strcmp(what, "resize")) {
    host->mode = kResize;
    host->resizesAsked = host->resizes = argc > 2 ? atoi(argv[2]) : 300;
  } else if (strcmp(what, "startup")) {
    fprintf(stderr, "bench_session: startup | pacing [s] | memory WxH [s] | resize [n]\n");
    return 2;
  }
  BBQuillGame::argc = argc;
  BBQuillGame::argv = const_cast<const char**>(argv);
  signal(SIGSEGV, sighandler);
  signal(SIGILL, sighandler);
  signal(SIGFPE, sighandler);
  if (!setlocale(LC_CTYPE, "en_US.UTF-8")) setlocale(LC_CTYPE, "");
  gc_init();
  bbInit();
  gc_mark();
  bbMain();
  if (host->Delegate()) host->Run();
  const int status = Report(host);
  glfwTerminate();
  return status;
}
