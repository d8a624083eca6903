// Start-up: window system, host object, fatal-signal handlers, locale,
// collector, then the program's own initialiser and application object.
#include "host/quill_game.h"

#include <GLFW/glfw3.h>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "host/entry.h"
#include "host/gamepad_mappings.h"

int BBQuillGame::argc = 0;
const char** BBQuillGame::argv = nullptr;

BBQuillGame::~BBQuillGame() {}

int BBQuillGame::Main(int argc, const char** argv) {
  // Hats are read as hats; the joystick code lays them out as buttons
  // itself, in the order the framework expects.
  glfwInitHint(GLFW_JOYSTICK_HAT_BUTTONS, GLFW_FALSE);
  if (!glfwInit()) {
    fputs("glfwInit failed\n", stdout);
    fflush(stdout);
    exit(-1);
  }
  // Before the first update assigns controllers to player ports.
  BBLoadGamepadMappings(stderr);

  // Lives for the whole run; never deleted.
  BBQuillGame* game = new BBQuillGame();
  BBQuillGame::argc = argc;
  BBQuillGame::argv = argv;

  signal(SIGSEGV, sighandler);
  signal(SIGILL, sighandler);
  signal(SIGFPE, sighandler);

  if (!setlocale(LC_CTYPE, "en_US.UTF-8")) setlocale(LC_CTYPE, "");

  gc_init();

  try {
    bbInit();
    gc_mark();
    bbMain();
    if (game->Delegate()) game->Run();
  } catch (ThrowableObject* ex) {
    glfwTerminate();
    game->Die(ex);
  }
  glfwTerminate();
  return 0;
}
