// Reads or writes the state file ./.quillstate through the game's own saved
// data code, so the tests judge a play's file the way the next launch will:
// "show" prints the load messages, the settings and both lists of every
// mode; "seed" writes a state with recognisable record tables.
#include <cstdio>
#include <cstring>

#include "game/my_app.h"
#include "host/entry.h"

namespace {

// Last-ten entries planted by "seed": a new result pushes them down.
const int kPlanted = 4242;

void printList(c_MyApp* app, const char* label, int mode, int first) {
  std::printf("mode %d %s:", mode, label);
  for (int k = 0; k < 10; ++k) std::printf(" %d", app->m_HiScores[first + k]);
  std::printf("\n");
}

int show(c_MyApp* app) {
  app->p_Load();
  std::printf("settings:");
  for (int i = 0; i < 25; ++i) std::printf(" %d", app->m_Settings[i]);
  std::printf("\n");
  for (int mode = 1; mode <= 6; ++mode) {
    const int b = 10 * (mode - 1);
    printList(app, "first", mode, b);
    printList(app, "second", mode, b + 60);
  }
  return 0;
}

int seed(c_MyApp* app) {
  app->m_Settings[5] = 1;
  for (int mode = 1; mode <= 3; ++mode)
    for (int k = 0; k < 10; ++k) app->m_HiScores[10 * (mode - 1) + 60 + k] = kPlanted;
  return app->p_Save();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || (std::strcmp(argv[1], "show") != 0 && std::strcmp(argv[1], "seed") != 0)) {
    std::fprintf(stderr, "usage: state_tool show|seed\n");
    return 2;
  }
  gc_init();
  new BBGame();
  bbInit();
  c_MyApp* app = new c_MyApp();
  int rc = std::strcmp(argv[1], "show") == 0 ? show(app) : seed(app);
  std::fflush(stdout);
  return rc;
}
