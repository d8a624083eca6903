// The game program as it ships (the host's start-up with the game's own
// initialiser and application), for the hostile-data test while the
// installed program's entry still runs its stand-in application.
#include "host/quill_game.h"

int main(int argc, char** argv) {
  BBQuillGame::Main(argc, const_cast<const char**>(argv));
  return 0;
}
