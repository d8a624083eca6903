// Saves two state strings in turn through the host's real SaveState, as
// fast as it can, until it is killed. Started in the folder whose state
// file it rewrites, with the two states as files; prints "ready" once the
// first save is on disk. Kept small (no game object) so that it starts
// quickly and the kills can be many.
#include <cstdio>

#include "host/glfw_game.h"

namespace {

String ReadState(const char* path) {
  FILE* file = fopen(path, "rb");
  if (!file) return String();
  String text = String::Load(file);
  fclose(file);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  gc_init();
  BBGlfwGame host;
  String states[2] = {ReadState(argv[1]), ReadState(argv[2])};
  if (states[0].Length() == 0 || states[1].Length() == 0) return 2;
  if (host.SaveState(states[0]) != 0) return 1;
  printf("ready\n");
  fflush(stdout);
  for (unsigned n = 1;; ++n) {
    if (host.SaveState(states[n & 1]) != 0) return 1;
  }
}
