// BBQuillGame: the concrete desktop host and the process's start-up.
#pragma once

#include "host/glfw_game.h"

class BBQuillGame : public BBGlfwGame {
 public:
  ~BBQuillGame() override;

  // Starts GLFW, creates the host, initialises the runtime and the program
  // (bbInit, bbMain) and runs the frame loop. Returns when the window is
  // gone; ends the process itself on failure.
  static int Main(int argc, const char** argv);

  // The process arguments; nothing reads them further.
  static int argc;
  static const char** argv;
};
