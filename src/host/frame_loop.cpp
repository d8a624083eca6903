// The frame loop: render once per pass, sleep until the next update is due,
// follow focus with suspend/resume, then catch up on at most four updates.
#include "host/glfw_game.h"

void BBGlfwGame::Run() {
  SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
  StartGame();
  while (WindowOpen()) {
    RenderGame();
    SwapBuffers();

    if (_nextUpdate != 0) {
      double wait = _nextUpdate - Time();
      if (wait > 0) Sleep(wait);
    }

    // A suspended game has nothing to do until the window system says so.
    if (_suspended) {
      WaitEvents();
    } else {
      PollEvents();
    }

    if (WindowActive()) {
      if (_suspended) {
        ResumeGame();
        _nextUpdate = 0;
      }
    } else if (!_suspended) {
      SuspendGame();
      _nextUpdate = 0;
    }
    if (_suspended) continue;

    // Rate 0: the buffer swap alone paces the game.
    if (_updateRate == 0) {
      UpdateGame();
      continue;
    }
    if (_nextUpdate == 0) _nextUpdate = Time();
    RunScheduledUpdates();
  }
}

void BBGlfwGame::RunScheduledUpdates() {
  for (int i = 0; i < 4; ++i) {
    UpdateGame();
    // The update changed the rate: the new schedule starts next pass.
    if (_nextUpdate == 0) return;
    _nextUpdate += _updatePeriod;
    if (_nextUpdate > Time()) return;
  }
  // Still behind after four: forget the backlog rather than spiral.
  _nextUpdate = 0;
}
