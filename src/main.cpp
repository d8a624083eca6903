// Process entry: the host owns the process from here on. The game's module
// initialiser (bbInit) and application constructor (bbMain) come from the
// game library's entry object.
#include "host/quill_game.h"

int main(int argc, char** argv) {
  return BBQuillGame::Main(argc, const_cast<const char**>(argv));
}
