// Saves two state strings in turn through the host's real SaveState, as
// fast as it can, until it is killed. Started in the folder whose state
// file it rewrites; prints "ready" once the first save is on disk.
#include <cstdio>

#include "two_states.h"

int main() {
  std::pair<String, String> states = TwoStates();
  if (BBGame::_game->SaveState(states.first) != 0) return 1;
  printf("ready\n");
  fflush(stdout);
  for (unsigned n = 1;; ++n) {
    if (BBGame::_game->SaveState(n & 1 ? states.second : states.first) != 0) return 1;
  }
}
