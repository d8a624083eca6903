// Reads or writes the state file ./.quillstate through the game's own saved
// data code, so the tests judge a play's file the way the next launch will:
// "show" prints the load messages, the settings and both lists of every
// mode; "seed" writes a state with recognisable record tables.
#include <cstdio>
#include <cstring>

#include "game/my_app.h"
#include "host/entry.h"

namespace {

const int kPlanted = 4242;  // last-ten entries planted by "seed": a new result pushes them down

void print(const char* label, Array<int>& values, int first, int count) {
  std::printf("%s:", label);
  for (int k = first; k < first + count; ++k) std::printf(" %d", values[k]);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const bool show = argc == 2 && std::strcmp(argv[1], "show") == 0;
  if (argc != 2 || (!show && std::strcmp(argv[1], "seed") != 0)) {
    std::fprintf(stderr, "usage: state_tool show|seed\n");
    return 2;
  }
  gc_init();
  new BBGame();
  bbInit();
  c_MyApp* app = new c_MyApp();
  if (!show) {
    app->m_Settings[5] = 1;
    for (int k = 60; k < 90; ++k) app->m_HiScores[k] = kPlanted;  // modes 1..3's second lists
    return app->p_Save();
  }
  app->p_Load();
  print("settings", app->m_Settings, 0, 25);
  char label[32];
  for (int mode = 1; mode <= 6; ++mode)
    for (int second = 0; second < 2; ++second) {
      std::snprintf(label, sizeof label, "mode %d %s", mode, second ? "second" : "first");
      print(label, app->m_HiScores, 10 * (mode - 1) + 60 * second, 10);
    }
  std::fflush(stdout);
  return 0;
}
